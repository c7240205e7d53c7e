// The text exports of the curve on screen: plain columns, the Regressi
// exchange file and the Synchronie exchange file. Builds the bytes only; the
// caller asks for the file name and writes the files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rovanel::app {

// What the writers need from the window, copied or viewed at the moment the
// command is chosen.
struct ExportInput {
  bool michelson = false, fft = false, spectro = false;  // mi, fft, spectro button states
  std::span<const std::uint8_t> miSerie;  // the series (the spectrum levels while fft is down)
  std::span<const std::uint8_t> curve;    // last curve on screen, 2048 pixels
  std::span<const float> lambda;          // wavelength of each pixel, nm (2048)
  std::int32_t miNbPoints = 0, miLevel = 0, miDuration = 0, profNbPoints = 2048;
  std::string m5, m12, m13;  // translated label texts: points, sensitivity, duration (UTF-8)
};

enum class ExportKind { Text, Regressi, Synchronie };

// bytes: Windows-1252 text, every line ended by CR LF.
struct ExportFile {
  std::string path;
  std::string bytes;
};

// Fills `files` with what the export of `kind` to the chosen name writes: one
// file, or two for the plain text of a spectrum profile (the wavelengths go to
// the same name with "_" in front of its last component).
//
// The extension decides first: ExportExtension(kind), in any case. Any other
// gives no file and no error, and returns true (the window says why first).
//
// Returns false with a sentence in `error` and no file when the export cannot
// be made whole: a Michelson level outside the 16 integration times (0..15),
// a profile of more than 2048 points, or fewer samples than the count needs.
// The extension the export of `kind` writes (upper case, with the dot).
std::string_view ExportExtension(ExportKind kind);

bool BuildExport(ExportKind kind, const std::string& chosen, const ExportInput& in,
                 std::vector<ExportFile>& files, std::string& error);

}  // namespace rovanel::app
