#include "optics/lamp_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <system_error>

#include "base/read_file.h"

namespace rovanel::optics {
namespace {

constexpr double kVisibleFirstNm = 380.0;
constexpr double kVisibleLastNm = 780.0;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits, optionally one '.' with digits on both sides: no sign, exponent,
// "inf" or surrounding blanks, which from_chars alone would let through.
bool IsPlainDecimal(std::string_view t) {
  const std::size_t dot = t.find('.');
  const std::string_view whole = t.substr(0, dot);
  const std::string_view frac = dot == std::string_view::npos ? "0" : t.substr(dot + 1);
  const auto digits = [](std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); };
  return digits(whole) && digits(frac);
}

// Parses one data line; returns the fault, or an empty text.
std::string ParseLine(std::string_view text, LampLine& out) {
  const std::size_t c1 = text.find(',');
  if (c1 == std::string_view::npos) return "expected 3 fields, found 1";
  const std::size_t c2 = text.find(',', c1 + 1);
  if (c2 == std::string_view::npos) return "expected 3 fields, found 2";
  if (text.find(',', c2 + 1) != std::string_view::npos) return "expected 3 fields, found more";

  const std::string_view lamp = text.substr(0, c1);
  const std::string_view nm = text.substr(c1 + 1, c2 - c1 - 1);
  const std::string_view label = text.substr(c2 + 1);
  if (lamp.empty() || !std::all_of(lamp.begin(), lamp.end(), IsLetter)) {
    return "lamp \"" + std::string(lamp) + "\" is not a name of letters";
  }
  double v = 0.0;
  const auto [end, ec] = std::from_chars(nm.data(), nm.data() + nm.size(), v);
  if (!IsPlainDecimal(nm) || ec != std::errc() || end != nm.data() + nm.size() ||
      !std::isfinite(v) || v <= 0.0) {
    return "wavelength \"" + std::string(nm) + "\" is not a positive number";
  }
  out = LampLine{std::string(lamp), v, std::string(label)};
  return {};
}

}  // namespace

std::optional<std::vector<LampLine>> LoadLampLines(const std::string& path, std::string& error) {
  // A line library is a few kilobytes: never more than a megabyte is read.
  std::vector<std::uint8_t> bytes;
  if (const ReadOutcome got = ReadRegularFile(path, 1u << 20, bytes); !got) {
    error = "cannot open " + path;
    return std::nullopt;
  }
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::vector<LampLine> lines;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text.front() == '#') continue;
    LampLine line;
    const std::string fault = ParseLine(text, line);
    if (!fault.empty()) {
      error = path + ": line " + std::to_string(number) + ": " + fault;
      return std::nullopt;
    }
    lines.push_back(std::move(line));
  }
  if (in.bad()) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  if (lines.empty()) {
    error = path + ": no lines";
    return std::nullopt;
  }
  error.clear();
  return lines;
}

std::vector<LampLine> VisibleLines(const std::vector<LampLine>& lines, std::string_view lamp) {
  std::vector<LampLine> out;
  for (const LampLine& l : lines) {
    if (l.lamp == lamp && l.wavelengthNm >= kVisibleFirstNm && l.wavelengthNm <= kVisibleLastNm) {
      out.push_back(l);
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const LampLine& x, const LampLine& y) {
    return x.wavelengthNm < y.wavelengthNm;
  });
  return out;
}

}  // namespace rovanel::optics
