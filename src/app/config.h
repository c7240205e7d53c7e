// The configuration file: what the first start learns (delay-loop
// calibration, language, kind of box), a 312-byte little-endian record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rovanel::app {

inline constexpr std::size_t kConfigSize = 312;
// A configuration file larger than this is read as an empty record.
inline constexpr std::size_t kMaxConfigFileSize = 64u << 10;
inline constexpr std::string_view kConfigFile = "rovanel.cfg";

struct ConfigRec {
  double CfgSlope = 0;    // delay loop: iterations per millisecond
  double CfgOffset = 0;
  std::uint8_t CfgPortBox = 0;  // 0 the USB box, 1 the parallel-port box
  std::int32_t CfgLanguage = 0;  // 1 French, 2 English, 3 German
  // The CSV style last chosen (a CsvStyle: 0 none yet, 1 point and comma,
  // 2 comma and semicolon), in the first reserved byte after the language:
  // older files hold 0 there, which reads as "none yet".
  std::uint8_t CfgCsvStyle = 0;
};

// Slope at 0, offset at 8, port box at 41, language at 48, CSV style at 52;
// the rest is 0.
std::array<std::uint8_t, kConfigSize> EncodeConfig(const ConfigRec& rec);
// A shorter input fills only the start of the record (the rest reads as 0);
// past 312 bytes the input is ignored.
ConfigRec DecodeConfig(std::span<const std::uint8_t> bytes);

// dir ends with '/'. A file of exactly 43 or 299 bytes is deleted (such files
// come from older layouts); true when one was.
bool DeleteStaleConfig(const std::string& dir);
// False when there is no file, or something else than a regular file in its
// place. Otherwise true, with what its first 312 bytes give: a file that
// cannot be read gives a record of zeros.
bool ReadConfig(const std::string& dir, ConfigRec& rec);
// Writes a temporary file in dir and renames it over the file, so that a
// failure never leaves a partial one. On failure error is the reason.
bool WriteConfig(const std::string& dir, const ConfigRec& rec, std::string& error);

// The folder the program writes to, ending with '/': ROVANEL_HOME when set and
// not empty (created if missing), else programDir when it is writable, else
// $XDG_DATA_HOME/rovanel or $HOME/.local/share/rovanel (created).
std::string UserDir(const std::string& programDir);

// name/value pairs of the record, doubles with all their digits.
std::vector<std::pair<std::string, std::string>> ConfigFields(const ConfigRec& rec);

}  // namespace rovanel::app
