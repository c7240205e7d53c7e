// Plain text, Regressi and Synchronie exports of the curve on screen.
#include "app/files/exports.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/cp1252.h"

namespace rovanel::app {

namespace {

constexpr std::int32_t kPixels = 2048;
constexpr std::int32_t kLevels = 16;        // entries of the integration-time table
constexpr std::int32_t kPixelMicrons = 14;  // pixel pitch
constexpr double kSensorMicrons = 28672.0;  // 2048 pixels x 14 µm
constexpr char kFirstLine[] = "EVARISTE REGRESSI WINDOWS 1.0";

// Integration time of a level, which is also the sampling period of a series, ms.
double Period(std::int32_t level) {
  return 10.0 + 2.5 * level;
}

// Fixed notation with 2 decimals, `sep` as the decimal separator, whatever the
// process locale. Halves go away from zero (3.125 gives 3.13), as a written
// number is rounded; any other value is rounded to the nearest.
std::string Fixed2(double v, char sep) {
  // A double lies exactly halfway between two hundredths only when 8 v is an odd integer.
  const double eighths = v * 8;
  const bool tie =
      std::isfinite(eighths) && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) != 0;
  char buf[400];
  const auto end =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, tie ? 3 : 2).ptr;
  std::string s(buf, end);
  if (tie) {
    // The exact value ends in 125, 375, 625 or 875 thousandths: dropping the 5
    // and raising the hundredth (2 or 7) never carries.
    s.pop_back();
    ++s.back();
  }
  std::replace(s.begin(), s.end(), '.', sep);
  return s;
}

std::string Padded(std::string s, std::size_t width) {
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return s;
}

std::string Str(std::int32_t v) {
  return std::to_string(v);
}

// What is plotted, in the order the buttons decide it.
enum class Case { MiTime, MiFreq, ProfPos, ProfFreq, ProfLambda };

Case ChooseCase(const ExportInput& in) {
  if (in.michelson) return in.fft ? Case::MiFreq : Case::MiTime;
  if (in.spectro) return Case::ProfLambda;
  return in.fft ? Case::ProfFreq : Case::ProfPos;
}

struct CaseText {
  const char* x;
  const char* y;
  const char* unit;      // of the abscissa; the ordinate is always in "bit"
  const char* equation;  // second line of the Synchronie file
};

// Indexed by Case.
constexpr CaseText kTexts[] = {
    {"Temps", "Eclairement", "ms", "E = f(t)"},       {"Fréquence", "Niveau", "Hz", "N = h(f)"},
    {"Position", "Eclairement", "µm", "E = f(x)"},    {"Fréquence", "Niveau", "m-1", "N = h(f)"},
    {"Lambda", "Eclairement", "nm", "E = f(lambda)"},
};

std::int32_t Count(Case c, const ExportInput& in) {
  switch (c) {
    case Case::MiTime:
      return std::max(0, in.miNbPoints);
    case Case::MiFreq:
      return std::max(0, in.miNbPoints / 2);
    case Case::ProfFreq:
      return std::max(0, in.profNbPoints / 2);
    default:
      return std::max(0, in.profNbPoints);
  }
}

std::string Abscissa(Case c, std::int32_t i, const ExportInput& in, char sep) {
  switch (c) {
    case Case::MiTime:
      return Fixed2(i * Period(in.miLevel), sep);
    case Case::MiFreq:
      return Fixed2(i * 1000.0 / (in.miNbPoints * Period(in.miLevel)), sep);
    case Case::ProfPos:
      return Str(kPixelMicrons * i);
    case Case::ProfFreq:
      return Fixed2(i * 1000000.0 / kSensorMicrons, sep);
    case Case::ProfLambda:
      return Fixed2(in.lambda[i], sep);
  }
  return {};
}

std::string Ordinate(std::int32_t i, const ExportInput& in) {
  return Str(in.michelson ? in.miSerie[i] : in.curve[i]);
}

// Why the export cannot be made whole, or "" when it can. `count` is the
// number of samples read; `needLambda` when wavelengths are written too.
std::string Refusal(const ExportInput& in, std::int32_t count, bool needLambda) {
  const std::string tail = ": nothing was exported.";
  if (in.michelson) {
    if (in.miLevel < 0 || in.miLevel >= kLevels)
      return "The sensitivity level " + Str(in.miLevel) +
             " has no integration time (levels 0 to 15)" + tail;
    if (in.miSerie.size() < static_cast<std::size_t>(count))
      return "The series holds fewer than " + Str(count) + " samples" + tail;
    return {};
  }
  if (in.profNbPoints > kPixels)
    return "The profile counts " + Str(in.profNbPoints) + " points, more than the " + Str(kPixels) +
           " pixels of the sensor" + tail;
  if (in.curve.size() < static_cast<std::size_t>(count) ||
      (needLambda && in.lambda.size() < static_cast<std::size_t>(count)))
    return "The profile holds fewer than " + Str(count) + " pixels" + tail;
  return {};
}

// Lines in UTF-8, each ended by CR LF; Bytes() gives the Windows-1252 text.
struct Lines {
  std::string text;
  void Add(const std::string& line) {
    text += line;
    text += "\r\n";
  }
  std::string Bytes() const { return Utf8ToCp1252(text); }
};

std::string Extension(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::string Upper(std::string s) {
  for (char& ch : s)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return s;
}

// "_" in front of the last path component.
std::string UnderscoreName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string out = path;
  out.insert(slash == std::string::npos ? 0 : slash + 1, "_");
  return out;
}

std::string SensitivityText(const ExportInput& in) {
  return in.m12 + ": " + Str(in.miLevel) + " (" + Padded(Fixed2(Period(in.miLevel), '.'), 5) +
         " ms)";
}

void BuildText(const std::string& path, const ExportInput& in, std::vector<ExportFile>& files) {
  Lines out;
  if (in.michelson) {
    const std::int32_t n = Count(in.fft ? Case::MiFreq : Case::MiTime, in);
    for (std::int32_t i = 0; i < n; ++i) out.Add(Str(in.miSerie[i]));
    out.Add("");
    out.Add(in.m5 + ": " + Str(in.miNbPoints));
    out.Add(SensitivityText(in));
    out.Add(in.m13 + ": " + Str(in.miDuration) + " s.");
    files.push_back({path, out.Bytes()});
    return;
  }
  const std::int32_t n = Count(Case::ProfPos, in);  // the fft state makes no difference
  for (std::int32_t i = 0; i < n; ++i) out.Add(Str(in.curve[i]));
  files.push_back({path, out.Bytes()});
  if (!in.spectro) return;
  Lines wavelengths;
  for (std::int32_t i = 0; i < n; ++i) wavelengths.Add(Fixed2(in.lambda[i], '.'));
  files.push_back({UnderscoreName(path), wavelengths.Bytes()});
}

void BuildRegressi(const std::string& path, Case c, const ExportInput& in,
                   std::vector<ExportFile>& files) {
  const CaseText& t = kTexts[static_cast<int>(c)];
  const std::int32_t n = Count(c, in);
  Lines out;
  for (const char* line : {kFirstLine, "£2 NOM VAR", t.x, t.y, "£2 UNITE VAR", t.unit, "bit",
                           "£0 GRAPHE VAR", "&1 X", t.x, "&1 Y", t.y, "£1 PAGE COMMENT"})
    out.Add(line);
  if (in.michelson)
    out.Add(in.m5 + ": " + Str(in.miNbPoints) + ";" + SensitivityText(in) + ";" + in.m13 + ": " +
            Str(in.miDuration) + " s");
  else
    out.Add("Acquisition de " + Str(in.profNbPoints) + " " + in.m5);
  out.Add("&" + Str(n) + " VALEUR VAR");
  for (std::int32_t i = 0; i < n; ++i) out.Add(Abscissa(c, i, in, '.') + " " + Ordinate(i, in));
  files.push_back({path, out.Bytes()});
}

void BuildSynchronie(const std::string& path, Case c, const ExportInput& in,
                     std::vector<ExportFile>& files) {
  const CaseText& t = kTexts[static_cast<int>(c)];
  const std::int32_t n = Count(c, in);
  Lines out;
  out.Add(kFirstLine);
  out.Add(t.equation);
  out.Add(std::string(t.x) + ";" + t.y);
  out.Add(std::string(t.unit) + ";bit");
  for (std::int32_t i = 0; i < n; ++i) out.Add(Abscissa(c, i, in, ',') + ";" + Ordinate(i, in));
  files.push_back({path, out.Bytes()});
}

}  // namespace

std::string_view ExportExtension(ExportKind kind) {
  return kind == ExportKind::Regressi ? ".RW3" : ".TXT";
}

bool BuildExport(ExportKind kind, const std::string& chosen, const ExportInput& in,
                 std::vector<ExportFile>& files, std::string& error) {
  files.clear();
  error.clear();
  // The extension in any case ("name.txt" is the usual choice on Linux).
  if (Upper(Extension(chosen)) != ExportExtension(kind)) return true;

  // The plain text reads the same samples whatever the fft state in the
  // profile modes, and the wavelengths when spectro is down.
  const Case c = ChooseCase(in);
  const bool plainProfile = kind == ExportKind::Text && !in.michelson;
  const std::int32_t count = plainProfile ? Count(Case::ProfPos, in) : Count(c, in);
  const bool needLambda = plainProfile ? in.spectro : c == Case::ProfLambda;
  error = Refusal(in, count, needLambda);
  if (!error.empty()) return false;

  switch (kind) {
    case ExportKind::Text:
      BuildText(chosen, in, files);
      break;
    case ExportKind::Regressi:
      BuildRegressi(chosen, c, in, files);
      break;
    case ExportKind::Synchronie:
      BuildSynchronie(chosen, c, in, files);
      break;
  }
  return true;
}

}  // namespace rovanel::app
