// The simulation notebook and the calibration panel of the parameters
// dialog: the edits' texts, their key rule and focus chains, reading the
// page shown, and the wavelength table with its interpolation choice.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/dialogs/mi_calc.h"
#include "app/dialogs/paraint.h"

namespace rovanel::app {

namespace {

using E = Control Tparaint::*;

struct EditInfo {
  E edit;
  const char* name;
  const char* start;
  const char* what;  // the quantity, as a message names it
};

// Every parameter and uncertainty edit, page by page in focus order.
const std::vector<std::vector<EditInfo>>& Pages() {
  using T = Tparaint;
  static const std::vector<std::vector<EditInfo>> pages = {
      {{&T::unla, "unla", "100.00", "a (µm)"},
       {&T::unlain, "unlain", "0000.00", "Δa (µm)"},
       {&T::undi, "undi", "20.00", "L (cm)"},
       {&T::undiin, "undiin", "0000.00", "ΔL (cm)"},
       {&T::unlo, "unlo", "632.80", "λ (nm)"},
       {&T::unloin, "unloin", "0000.00", "Δλ (nm)"}},
      {{&T::dela, "dela", "100.00", "a (µm)"},
       {&T::delain, "delain", "0000.00", "Δa (µm)"},
       {&T::dedi, "dedi", "20.00", "L (cm)"},
       {&T::dediin, "dediin", "0000.00", "ΔL (cm)"},
       {&T::dein, "dein", "0.600", "d (mm)"},
       {&T::deinin, "deinin", "0000.00", "Δd (mm)"},
       {&T::delo, "delo", "632.80", "λ (nm)"},
       {&T::deloin, "deloin", "0000.00", "Δλ (nm)"}},
      {{&T::rela, "rela", "100.00", "a (µm)"},
       {&T::relain, "relain", "0000.00", "Δa (µm)"},
       {&T::redi, "redi", "20.00", "L (cm)"},
       {&T::rediin, "rediin", "0000.00", "ΔL (cm)"},
       {&T::rein, "rein", "0.6", "d (mm)"},
       {&T::reinin, "reinin", "0000.00", "Δd (mm)"},
       {&T::relo, "relo", "632.80", "λ (nm)"},
       {&T::reloin, "reloin", "0000.00", "Δλ (nm)"},
       {&T::renbt, "renbt", "10", "N"}},
      {{&T::ebxWidth, "ebxWidth", "1.00", "w (mm)"}},
  };
  return pages;
}

const EditInfo* InfoOf(std::string_view field) {
  for (const auto& page : Pages())
    for (const EditInfo& e : page)
      if (field == e.name) return &e;
  return nullptr;
}

}  // namespace

std::string TwoDecimals(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::string ParamKeyRule(std::string text, int vk) {
  const bool digit = vk >= kVkDigit0 && vk <= kVkDigit0 + 9;
  if (digit || vk == kVkPoint) {
    if (!text.empty()) text.pop_back();
    text += digit ? static_cast<char>('0' + vk - kVkDigit0) : '.';
    return text;
  }
  const bool keypad = (vk >= kVkKeypad0 && vk <= kVkKeypad0 + 9) || vk == kVkKeypadPoint;
  if (keypad || vk == kVkEnter || vk == kVkShift) return text;
  return {};
}

std::optional<double> ReadLooseDecimal(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double v = 0, scale = 1;
  bool any = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      any = true;
      if (point) {
        scale /= 10;
        v += (c - '0') * scale;
      } else {
        v = v * 10 + (c - '0');
      }
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!any || !std::isfinite(v)) return std::nullopt;
  return negative ? -v : v;
}

std::vector<Control Tparaint::*> Tparaint::PageEdits(int page) {
  std::vector<Control Tparaint::*> edits;
  if (page < 0 || page >= kPages) return edits;
  for (const EditInfo& e : Pages()[static_cast<std::size_t>(page)]) edits.push_back(e.edit);
  return edits;
}

int Tparaint::PageOf(std::string_view field) const {
  for (std::size_t p = 0; p < Pages().size(); ++p)
    for (const EditInfo& e : Pages()[p])
      if (field == e.name) return static_cast<int>(p);
  return -1;
}

void Tparaint::SimulationDefaults() {
  choice.items = {"TAB_INT_1fente", "TAB_INT_2fentes", "TAB_INT_Multi-fentes",
                  "TAB_INT_Gaussienne"};
  for (const auto& page : Pages())
    for (const EditInfo& e : page) (this->*e.edit).caption = e.start;
  ppdisp.caption = "Lambda = f(pixel)";
  Interp.caption = "ID_GBX_SPC_Interpolation";
  rdbLin.caption = "ID_LBL_SPC_Linéaire";
  rdbSpline.caption = "ID_LBL_SPC_Spline";
  rdbLin.down = true;
}

void Tparaint::SimulationShow() {
  // The other pages keep the texts last typed.
  ebxWidth.caption = TwoDecimals(Sim.Waist * 1000);
  FocusTo.clear();
}

bool Tparaint::unlaKeyUp(std::string_view field, int vk) {
  const int page = PageOf(field);
  if (page < 0 || page == optics::kPageGaussian) return false;
  Control& edit = this->*(InfoOf(field)->edit);
  edit.caption = ParamKeyRule(edit.caption, vk);
  if (vk == kVkEnter) EditEnter(field);
  return true;
}

void Tparaint::EditEnter(std::string_view field) {
  const int page = PageOf(field);
  if (page < 0) return;
  if (page == optics::kPageGaussian) {
    ebxWidthEnter();
    return;
  }
  const auto& edits = Pages()[static_cast<std::size_t>(page)];
  for (std::size_t k = 0; k < edits.size(); ++k)
    if (field == edits[k].name) FocusTo = k + 1 < edits.size() ? edits[k + 1].name : "valide";
}

void Tparaint::ebxWidthEnter() {
  const auto mm = ReadLooseDecimal(ebxWidth.caption);
  if (!mm) {
    // Not a number: said, and the waist stays (as on validation).
    error = Say("ID_MES_ERR_pas un nombre", {ebxWidth.caption, "w (mm)"});
    FocusTo = "ebxWidth";
    return;
  }
  FocusTo = "valide";
  Sim.Waist = optics::WaistOfMm(*mm);
  ebxWidth.caption = TwoDecimals(Sim.Waist * 1000);
}

void Tparaint::TypeInto(std::string_view field, std::string_view text) {
  Control& edit = this->*(InfoOf(field)->edit);
  if (PageOf(field) == optics::kPageGaussian) {
    edit.caption = std::string(text);  // a plain edit: what is typed stays
    return;
  }
  edit.caption.clear();
  for (char c : text) {
    edit.caption += c;
    const unsigned char u = static_cast<unsigned char>(c);
    const int vk = std::isdigit(u) ? kVkDigit0 + (c - '0')
                   : c == '.'      ? kVkPoint
                                   : std::toupper(u);  // a letter's key, or another key
    edit.caption = ParamKeyRule(edit.caption, vk);
  }
}

void Tparaint::ShowFit(const optics::FitResult& fit) {
  auto show = [](Control& value, Control& sigma, double v, double s, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    value.caption = text;
    std::snprintf(text, sizeof text, format, s);
    sigma.caption = text;
  };
  Sim = fit.params;
  switch (choicePage) {
    case optics::kPageOneSlit:
      show(unla, unlain, Sim.SlitWidth * 1e6, fit.sigmaSlitWidth * 1e6, "%.2f");
      break;
    case optics::kPageTwoSlits:
      show(dela, delain, Sim.SlitWidth * 1e6, fit.sigmaSlitWidth * 1e6, "%.2f");
      show(dein, deinin, Sim.SlitSpacing * 1e3, fit.sigmaSlitSpacing * 1e3, "%.4f");
      break;
    case optics::kPageGrating:
      show(rela, relain, Sim.SlitWidth * 1e6, fit.sigmaSlitWidth * 1e6, "%.2f");
      show(rein, reinin, Sim.SlitSpacing * 1e3, fit.sigmaSlitSpacing * 1e3, "%.4f");
      break;
    default:
      // The waist is held as a whole number of 10 µm.
      Sim.Waist = optics::WaistOfMm(Sim.Waist * 1e3);
      ebxWidth.caption = TwoDecimals(Sim.Waist * 1e3);
      break;
  }
}

bool Tparaint::ReadPage(optics::SimulationParams& out) {
  const auto& edits = Pages()[static_cast<std::size_t>(choicePage)];
  double v[9] = {};
  for (std::size_t k = 0; k < edits.size(); ++k) {
    const EditInfo& e = edits[k];
    if (std::string_view(e.what).starts_with("Δ")) continue;  // never read
    const std::string& text = (this->*e.edit).caption;
    const auto value =
        choicePage == optics::kPageGaussian ? ReadLooseDecimal(text) : ParseDecimal(text);
    if (!value) {
      error = Say("ID_MES_ERR_pas un nombre", {text, e.what});
      FocusTo = e.name;
      return false;
    }
    v[k] = *value;
  }
  switch (choicePage) {
    case optics::kPageOneSlit:
      out.SlitWidth = v[0] / 1e6;
      out.ScreenDistance = v[2] / 100;
      out.Wavelength = v[4] / 1e9;
      break;
    case optics::kPageTwoSlits:
    case optics::kPageGrating:
      out.SlitWidth = v[0] / 1e6;
      out.ScreenDistance = v[2] / 100;
      out.SlitSpacing = v[4] / 1000;
      out.Wavelength = v[6] / 1e9;
      if (choicePage == optics::kPageGrating) out.SlitCount = v[8];
      break;
    default:
      out.Waist = optics::WaistOfMm(v[0]);
      break;
  }
  return true;
}

namespace {

std::size_t Utf8Length(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string PadLeft(const std::string& s, std::size_t width) {
  const std::size_t n = Utf8Length(s);
  return n >= width ? s : std::string(width - n, ' ') + s;
}

std::string Fixed(const char* format, double v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

}  // namespace

std::string CalibrationCheckText(const optics::CalResiduals& r, const DialogModel& say) {
  if (!r.rmsNm) return say.Say("ID_MES_SPC_trop peu de raies", {});
  // The column titles come as one text, split at '|'.
  std::vector<std::string> titles;
  const std::string header = say.Say("ID_LBL_SPC_Colonnes contrôle", {});
  for (std::size_t from = 0;;) {
    const std::size_t bar = header.find('|', from);
    titles.push_back(header.substr(from, bar == std::string::npos ? bar : bar - from));
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  titles.resize(5);
  std::vector<std::vector<std::string>> rows;
  for (const optics::CalResidual& line : r.lines)
    rows.push_back({std::to_string(line.number), std::to_string(line.pixel),
                    Fixed("%.2f", static_cast<double>(line.lambda)),
                    line.tableNm ? Fixed("%.2f", *line.tableNm) : "-",
                    line.diffNm ? Fixed("%+.2f", *line.diffNm) : "-"});
  std::array<std::size_t, 5> width{};
  for (std::size_t c = 0; c < 5; ++c) {
    width[c] = Utf8Length(titles[c]);
    for (const auto& row : rows) width[c] = std::max(width[c], Utf8Length(row[c]));
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t c = 0; c < 5; ++c) text += (c ? "  " : "") + PadLeft(cells[c], width[c]);
    return text + "\n";
  };
  std::string text = say.Say("ID_LBL_SPC_Contrôle étalonnage", {}) + "\n" + line(titles);
  for (const auto& row : rows) text += line(row);
  return text + say.Say("ID_MES_SPC_rms", {Fixed("%.2f", *r.rmsNm)});
}

void Tparaint::CalibrationCurve(std::int32_t kind) {
  optics::CalibrationCurve(Points, kind, Table);
  Residuals = optics::LeaveOneOutResiduals(Points, kind);
  Residus.caption = CalibrationCheckText(Residuals, *this);
  rdbSpline.down = kind == optics::kSplineKind;
  rdbLin.down = !rdbSpline.down;
  ++TableVersion;
}

void Tparaint::rdbLinClick() {
  CalibrationCurve(optics::kLinearKind);
}

void Tparaint::rdbSplineClick() {
  CalibrationCurve(optics::kSplineKind);
}

}  // namespace rovanel::app
