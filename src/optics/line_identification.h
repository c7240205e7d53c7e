// The lines of a lamp found in its spectrum: the strong peaks of a frame
// (their pixels, left to right) matched to the lamp's known wavelengths by
// their order and their spacing, so that a student gets the reference lines
// proposed instead of looking each one up.
#pragma once

#include <span>
#include <vector>

namespace rovanel::optics {

struct SpectrumPeak {
  double pixel = 0;     // the peak's centre
  double strength = 0;  // how much it stands out (any unit; larger = stronger)
};

struct IdentifiedLine {
  double pixel = 0;
  double nm = 0;
};

// Dispersions (nm per pixel) a spectrometer of 2048 pixels may have: from
// 40 nm to 2000 nm across the sensor.
inline constexpr double kMinDispersion = 0.02, kMaxDispersion = 1.0;

// Tries every pair of peaks against every pair of lines as a first straight
// dispersion, rising with the pixel; keeps the peaks that then fall near a
// line, fits the dispersion again through them (a parabola once four or
// more agree) and matches again, closer; the hypothesis matching the most
// peaks wins, the smaller spread breaking ties. Each line and each peak is
// used once. Returns the matches by rising pixel, at most `most` of them
// (the first and last, then the strongest), or nothing when fewer than
// three peaks agree: two could match any lamp.
std::vector<IdentifiedLine> IdentifyLines(std::span<const SpectrumPeak> peaks,
                                          std::span<const double> linesNm, std::size_t most = 6);

}  // namespace rovanel::optics
