#include "app/config.h"

#include "base/read_file.h"
#include "base/replace_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace rovanel::app {
namespace {

constexpr std::size_t kSlopeAt = 0, kOffsetAt = 8, kPortBoxAt = 41, kLanguageAt = 48,
                      kCsvStyleAt = 52;

template <typename U>
void Put(std::array<std::uint8_t, kConfigSize>& out, std::size_t at, U value) {
  for (std::size_t i = 0; i < sizeof(U); ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <typename U>
U Get(const std::array<std::uint8_t, kConfigSize>& in, std::size_t at) {
  U value = 0;
  for (std::size_t i = 0; i < sizeof(U); ++i) value |= static_cast<U>(U{in[at + i]} << (8 * i));
  return value;
}

std::string Slash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

std::string Format(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

}  // namespace

std::array<std::uint8_t, kConfigSize> EncodeConfig(const ConfigRec& rec) {
  std::array<std::uint8_t, kConfigSize> out{};
  Put(out, kSlopeAt, std::bit_cast<std::uint64_t>(rec.CfgSlope));
  Put(out, kOffsetAt, std::bit_cast<std::uint64_t>(rec.CfgOffset));
  out[kPortBoxAt] = rec.CfgPortBox;
  Put(out, kLanguageAt, static_cast<std::uint32_t>(rec.CfgLanguage));
  out[kCsvStyleAt] = rec.CfgCsvStyle;
  return out;
}

ConfigRec DecodeConfig(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, kConfigSize> in{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), kConfigSize), in.begin());
  ConfigRec rec;
  rec.CfgSlope = std::bit_cast<double>(Get<std::uint64_t>(in, kSlopeAt));
  rec.CfgOffset = std::bit_cast<double>(Get<std::uint64_t>(in, kOffsetAt));
  rec.CfgPortBox = in[kPortBoxAt];
  rec.CfgLanguage = static_cast<std::int32_t>(Get<std::uint32_t>(in, kLanguageAt));
  // Anything but a known style reads as none chosen yet.
  rec.CfgCsvStyle = in[kCsvStyleAt] <= 2 ? in[kCsvStyleAt] : 0;
  return rec;
}

bool DeleteStaleConfig(const std::string& dir) {
  namespace fs = std::filesystem;
  const fs::path file = dir + std::string(kConfigFile);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return false;
  const auto size = fs::file_size(file, ec);
  if (ec || (size != 43 && size != 299)) return false;
  return fs::remove(file, ec);
}

bool ReadConfig(const std::string& dir, ConfigRec& rec) {
  const std::string file = dir + std::string(kConfigFile);
  // Only a regular file is read, never blocking on a FIFO; its first 312
  // bytes are the record (a longer file is read no further than that).
  std::vector<std::uint8_t> bytes;
  const ReadOutcome got = ReadRegularFile(file, kMaxConfigFileSize, bytes);
  if (got.fault == ReadFault::Missing) return false;
  if (got.fault == ReadFault::NotRegular) return false;
  rec = DecodeConfig(std::span(bytes.data(), got ? bytes.size() : 0));
  return true;
}

bool WriteConfig(const std::string& dir, const ConfigRec& rec, std::string& error) {
  const std::string target = dir + std::string(kConfigFile);
  const auto bytes = EncodeConfig(rec);
  return WriteFileReplacing(target, bytes, error);
}

std::string UserDir(const std::string& programDir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (const std::string home = Env("ROVANEL_HOME"); !home.empty()) {
    fs::create_directories(home, ec);
    return Slash(home);
  }
  if (!programDir.empty() && ::access(programDir.c_str(), W_OK) == 0) return Slash(programDir);

  std::string base = Env("XDG_DATA_HOME");
  if (base.empty() || base.front() != '/') {  // a relative value is to be ignored
    std::string home = Env("HOME");
    if (home.empty())
      if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr)
        home = pw->pw_dir;
    base = Slash(home) + ".local/share";
  }
  const std::string dir = Slash(base) + "rovanel";
  fs::create_directories(dir, ec);
  return Slash(dir);
}

std::vector<std::pair<std::string, std::string>> ConfigFields(const ConfigRec& rec) {
  return {{"CfgSlope", Format(rec.CfgSlope)},
          {"CfgOffset", Format(rec.CfgOffset)},
          {"CfgPortBox", std::to_string(rec.CfgPortBox)},
          {"CfgLanguage", std::to_string(rec.CfgLanguage)},
          {"CfgCsvStyle", std::to_string(rec.CfgCsvStyle)}};
}

}  // namespace rovanel::app
