// JCAMP-DX 4.24 writer for the spectra.
#include "app/files/jcamp.h"

#include <algorithm>
#include <charconv>
#include <cmath>


namespace rovanel::app {

namespace {

// Levels of the resampled form are written as integers of thousandths.
constexpr double kResampledYFactor = 0.001;
constexpr std::size_t kValuesPerLine = 10;

std::string Shortest(float v) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr;
  return {buf, end};
}

std::string Number(double v) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return {buf, end};
}

// A label's value on one line, ASCII only (JCAMP-DX files are ASCII).
std::string OneLine(const std::string& text) {
  std::string out;
  for (char ch : text) {
    const auto u = static_cast<unsigned char>(ch);
    out += (u < 0x20 || u > 0x7E) ? '?' : ch;
  }
  return out;
}

constexpr std::size_t kLineWidth = 80;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

struct Out {
  std::string text;
  // Lines stay within 80 characters: a long value goes on at the next
  // line, broken at a space.
  void Label(const std::string& name, const std::string& value) {
    std::string line = "##" + name + "=";
    for (const std::string& word : Words(OneLine(value))) {
      if (line.size() + word.size() + 1 > kLineWidth && line.find('=') + 1 < line.size()) {
        Line(line);
        line.clear();
      }
      if (!line.empty() && line.back() != '=') line += ' ';
      line += word;
    }
    Line(line);
  }
  void Line(const std::string& line) { text += line + "\r\n"; }
};

void Header(Out& out, const JcampInput& in) {
  out.Label("TITLE", in.title.empty() ? "Spectrum" : in.title);
  out.Label("JCAMP-DX", "4.24");
  out.Label("DATA TYPE", "UV/VIS SPECTRUM");
  out.Label("ORIGIN", "Rovanel");
  out.Label("OWNER", "");
  out.Label("LONG DATE", in.date);
  for (const auto& [name, value] : in.privateLabels) out.Label("$" + name, value);
  out.Label("XUNITS", "NANOMETERS");
  out.Label("YUNITS", "ARBITRARY UNITS");
}

}  // namespace

std::vector<std::pair<int, double>> ResampleToNanometres(std::span<const float> lambda,
                                                         std::span<const std::uint8_t> levels) {
  const std::size_t n = std::min(lambda.size(), levels.size());
  std::vector<std::pair<int, double>> out;
  if (n < 2) return out;
  const bool rising = lambda[1] > lambda[0];
  for (std::size_t i = 1; i < n; ++i)
    if (!(rising ? lambda[i] > lambda[i - 1] : lambda[i] < lambda[i - 1])) return out;
  const double lo = std::min(lambda[0], lambda[n - 1]);
  const double hi = std::max(lambda[0], lambda[n - 1]);
  // Walk the pixels in rising wavelength.
  auto at = [&](std::size_t k) { return rising ? k : n - 1 - k; };
  std::size_t k = 0;
  for (double nm = std::ceil(lo); nm <= hi; nm += 1.0) {
    while (k + 2 < n && lambda[at(k + 1)] < nm) ++k;
    const double x0 = lambda[at(k)], x1 = lambda[at(k + 1)];
    const double y0 = levels[at(k)], y1 = levels[at(k + 1)];
    const double t = (nm - x0) / (x1 - x0);
    out.emplace_back(static_cast<int>(nm), y0 + t * (y1 - y0));
  }
  return out;
}

bool JcampText(const JcampInput& in, std::string& text, std::string& error) {
  text.clear();
  error.clear();
  const std::size_t n = std::min(in.lambda.size(), in.levels.size());
  if (n == 0) {
    error = "The spectrum holds no pixel: nothing was exported.";
    return false;
  }
  for (std::size_t i = 0; i < n; ++i)
    if (!std::isfinite(in.lambda[i])) {
      error = "The wavelength of pixel " + std::to_string(i) + " is not a number: nothing was exported.";
      return false;
    }
  Out out;
  Header(out, in);
  if (!in.resample) {
    // After a spline calibration the wavelengths are not evenly spaced, so
    // X++(Y..Y) (which rebuilds each X from FIRSTX and a constant step)
    // would move them: every pair is written with its own X instead.
    const auto [minY, maxY] = std::minmax_element(in.levels.begin(), in.levels.begin() + n);
    out.Label("FIRSTX", Shortest(in.lambda[0]));
    out.Label("LASTX", Shortest(in.lambda[n - 1]));
    out.Label("FIRSTY", std::to_string(in.levels[0]));
    out.Label("MINY", std::to_string(*minY));
    out.Label("MAXY", std::to_string(*maxY));
    out.Label("XFACTOR", "1");
    out.Label("YFACTOR", "1");
    out.Label("NPOINTS", std::to_string(n));
    out.Label("XYPOINTS", "(XY..XY)");
    for (std::size_t i = 0; i < n; ++i)
      out.Line(Shortest(in.lambda[i]) + ", " + std::to_string(in.levels[i]));
  } else {
    const auto grid = ResampleToNanometres(in.lambda.first(n), in.levels.first(n));
    if (grid.empty()) {
      error = "The wavelengths do not rise or fall steadily over whole nanometres, so the spectrum "
              "cannot be resampled: nothing was exported.";
      return false;
    }
    std::vector<long> y;
    y.reserve(grid.size());
    for (const auto& p : grid) y.push_back(std::lround(p.second / kResampledYFactor));
    const auto [minY, maxY] = std::minmax_element(y.begin(), y.end());
    // On an even 1 nm grid X++(Y..Y) is exact: each line starts with the X
    // of its first Y, the next ones following 1 nm apart.
    out.Label("RESOLUTION", "1");
    out.Label("FIRSTX", std::to_string(grid.front().first));
    out.Label("LASTX", std::to_string(grid.back().first));
    out.Label("DELTAX", "1");
    out.Label("FIRSTY", Number(static_cast<double>(y.front()) * kResampledYFactor));
    out.Label("MINY", Number(static_cast<double>(*minY) * kResampledYFactor));
    out.Label("MAXY", Number(static_cast<double>(*maxY) * kResampledYFactor));
    out.Label("XFACTOR", "1");
    out.Label("YFACTOR", Number(kResampledYFactor));
    out.Label("NPOINTS", std::to_string(grid.size()));
    out.Label("XYDATA", "(X++(Y..Y))");
    for (std::size_t i = 0; i < grid.size(); i += kValuesPerLine) {
      std::string line = std::to_string(grid[i].first);
      for (std::size_t j = i; j < std::min(grid.size(), i + kValuesPerLine); ++j)
        line += " " + std::to_string(y[j]);
      out.Line(line);
    }
  }
  out.Label("END", "");
  text = std::move(out.text);
  return true;
}

}  // namespace rovanel::app
