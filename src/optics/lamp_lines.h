// The reference lines of the usual spectral lamps, offered when the
// spectrometer is calibrated: which wavelength a bright line of a mercury,
// sodium, hydrogen, helium or neon lamp has.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rovanel::optics {

// One line of the library file: "element,wavelength_nm,note".
struct LampLine {
  std::string lamp;     // element symbol of the lamp ("Hg", "Na", ...)
  double wavelengthNm;  // in air
  std::string label;    // may be empty ("D2", "violet", ...)
};

// Reads the library. Lines starting with '#' are comments and empty lines
// are skipped; every other line must be exactly three comma-separated
// fields: a lamp of letters only, a positive finite wavelength written as a
// plain decimal number, and a label. The first bad line refuses the whole
// file: nullopt, and `error` names the line number and the fault. A file
// that cannot be read or holds no line refuses too.
std::optional<std::vector<LampLine>> LoadLampLines(const std::string& path, std::string& error);

// The lines of `lamp` from 380 to 780 nm inclusive, by rising wavelength.
std::vector<LampLine> VisibleLines(const std::vector<LampLine>& lines, std::string_view lamp);

}  // namespace rovanel::optics
