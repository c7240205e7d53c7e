// A spectrum as a JCAMP-DX 4.24 file (UV/VIS), as it is on screen or
// resampled on a 1 nm grid.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace rovanel::app {

struct JcampInput {
  std::string title;
  std::string date;  // "YYYY/MM/DD HH:MM:SS"
  std::span<const float> lambda;           // wavelength of each pixel, nm
  std::span<const std::uint8_t> levels;    // the spectrum, one level per pixel
  // ##$NAME=value lines: the box, the calibration.
  std::vector<std::pair<std::string, std::string>> privateLabels;
  bool resample = false;  // on the whole nanometres the wavelengths cover
};

// The file's text (ASCII, lines ended by CR LF). False with a sentence in
// `error` when there is nothing to write: no pixels, a wavelength that is
// not a number, or for the resampled form wavelengths that do not rise or
// fall steadily, or that cover no whole nanometre.
bool JcampText(const JcampInput& in, std::string& text, std::string& error);

// The spectrum on the whole nanometres from the first to the last the
// wavelengths cover, each level interpolated linearly between the two pixels
// around it. Empty when the wavelengths are not strictly monotonic.
std::vector<std::pair<int, double>> ResampleToNanometres(std::span<const float> lambda,
                                                         std::span<const std::uint8_t> levels);

}  // namespace rovanel::app
