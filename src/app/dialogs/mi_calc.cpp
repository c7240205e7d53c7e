#include "app/dialogs/mi_calc.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace rovanel::app {

namespace {

constexpr double kSqrtPi = 1.7724538509055160273;

// One or more ASCII digits, at most a 32-bit whole number (what the
// platform's integer conversion takes).
std::optional<double> WholeNumber(std::string_view s) {
  if (s.empty()) return std::nullopt;
  double v = 0;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > 2147483647.0) return std::nullopt;
  }
  return v;
}

struct Result {
  double value = 0, uncertainty = 0;
};

// λ = 2V'/F in nm from F in Hz and V in µm/s (0 when F = 0). Its
// uncertainty is the full total differential 2V'ΔF/F² + 2ΔV'/F, as on every
// other page: the motor-speed term keeps its factor 2.
Result FringeWavelength(double f, double df, double v, double dv) {
  const double vn = 1000 * v, dvn = 1000 * dv;  // nm/s
  if (f == 0) return {};
  return {2 * vn / f, 2 * vn * df / (f * f) + 2 * dvn / f};
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  if (text.empty()) return 0.0;
  const std::size_t point = text.rfind('.');
  if (point == std::string_view::npos) return WholeNumber(text);
  const std::string_view decimals = text.substr(point + 1);
  const auto fraction = WholeNumber(decimals);
  if (!fraction) return std::nullopt;
  const double part = *fraction / std::pow(10.0, static_cast<double>(decimals.size()));
  if (point == 0) return part;
  const auto whole = WholeNumber(text.substr(0, point));
  if (!whole) return std::nullopt;
  return *whole + part;
}

std::string FormatDecimal(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
    char buf[400];  // beyond exact hundredths in a 64-bit count
    std::snprintf(buf, sizeof buf, "%.2f", value);
    return buf;
  }
  const long long hundredths = std::llround(value * 100);
  const long long magnitude = std::llabs(hundredths);
  const long long cents = magnitude % 100;
  return (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
         static_cast<char>('0' + cents / 10) + static_cast<char>('0' + cents % 10);
}

std::string CalcEditRule(std::string text, CalcKey key, char digit) {
  switch (key) {
    case CalcKey::Digit:
    case CalcKey::Point:
      // Whatever the key put into the text, its last character becomes the
      // typed digit or ".", and the caret goes to the end.
      if (!text.empty()) text.pop_back();
      text += key == CalcKey::Point ? '.' : digit;
      return text;
    case CalcKey::KeypadDigit:
    case CalcKey::KeypadPoint:
    case CalcKey::Enter:
    case CalcKey::Shift:
    case CalcKey::Left:
    case CalcKey::Right:
      return text;
    case CalcKey::Other:
      break;
  }
  return {};
}

struct TMiCalc::PageInfo {
  bool michelson;
  int tab;
  const char* caption;
  // Inputs in the order Enter walks them, and read-only outputs.
  std::vector<std::string_view> inputs, outputs;
  std::string_view button, formula;
  void (TMiCalc::*click)();
};

const TMiCalc::PageInfo TMiCalc::kPages[] = {
    {true, 0, "TAB_Raie simple/Doublet", {"frra", "frrain", "vira", "virain"}, {"lora", "lorain"},
     "racalcul", "raformule", &TMiCalc::racalculClick},
    {true, 1, "TAB_Profil Doppler", {"frpr", "frprin", "vipr", "viprin", "lepr", "leprin"},
     {"lopr", "loprin", "lspr", "lsprin"}, "prcalcul", "prformule", &TMiCalc::prcalculClick},
    {true, 2, "TAB_Filtres", {"lafi", "lafiin", "vifi", "vifiin", "nofi"}, {"lsfi", "lsfiin"},
     "ficalcul", "fiformule", &TMiCalc::ficalculClick},
    {false, 0, "TAB_INT_Lg onde", {"lolo", "loloin", "lofe", "lofein", "lola", "lolain"},
     {"loon", "loonin"}, "locpt", "loformule", &TMiCalc::locptClick},
    {false, 1, "TAB_INT_Larg fente", {"lalo", "laloin", "lafe", "lafein", "laon", "laonin"},
     {"lala", "lalain"}, "lacpt", "laformule", &TMiCalc::lacptClick},
    {false, 2, "TAB_INT_Inter fentes", {"inin", "ininin", "infe", "infein", "inon", "inonin"},
     {"inif", "inifin"}, "incpt", "informule", &TMiCalc::incptClick},
};

TMiCalc::TMiCalc() {
  for (const PageInfo& page : kPages) {
    (page.michelson ? micomp : incomp).items.push_back(page.caption);
    for (auto name : page.inputs) Find(name)->caption = "0000.00";
    for (auto name : page.outputs) Find(name)->caption = "0000.00";
    Find(page.button)->caption = "ID_BTN_MOT_GEN_Calculer";
    Find(page.formula)->caption = "ID_LBL_MOT_GEN_Formule";
  }
  nofi.caption = "0000";
  quitmich.caption = "ID_BTN_MCH_Quitter";
  micomp.visible = incomp.visible = false;  // ShowFor shows the mode's one
}

FormControls TMiCalc::Texts() {
#define ROVANEL_C(x) {#x, &x}
  return {ROVANEL_C(micomp), ROVANEL_C(incomp),
          ROVANEL_C(frra), ROVANEL_C(frrain), ROVANEL_C(vira), ROVANEL_C(virain),
          ROVANEL_C(lora), ROVANEL_C(lorain), ROVANEL_C(racalcul), ROVANEL_C(raformule),
          ROVANEL_C(frpr), ROVANEL_C(frprin), ROVANEL_C(vipr), ROVANEL_C(viprin),
          ROVANEL_C(lepr), ROVANEL_C(leprin), ROVANEL_C(lopr), ROVANEL_C(loprin),
          ROVANEL_C(lspr), ROVANEL_C(lsprin), ROVANEL_C(prcalcul), ROVANEL_C(prformule),
          ROVANEL_C(lafi), ROVANEL_C(lafiin), ROVANEL_C(vifi), ROVANEL_C(vifiin),
          ROVANEL_C(nofi), ROVANEL_C(lsfi), ROVANEL_C(lsfiin), ROVANEL_C(ficalcul),
          ROVANEL_C(fiformule),
          ROVANEL_C(lolo), ROVANEL_C(loloin), ROVANEL_C(lofe), ROVANEL_C(lofein),
          ROVANEL_C(lola), ROVANEL_C(lolain), ROVANEL_C(loon), ROVANEL_C(loonin),
          ROVANEL_C(locpt), ROVANEL_C(loformule),
          ROVANEL_C(lalo), ROVANEL_C(laloin), ROVANEL_C(lafe), ROVANEL_C(lafein),
          ROVANEL_C(laon), ROVANEL_C(laonin), ROVANEL_C(lala), ROVANEL_C(lalain),
          ROVANEL_C(lacpt), ROVANEL_C(laformule),
          ROVANEL_C(inin), ROVANEL_C(ininin), ROVANEL_C(infe), ROVANEL_C(infein),
          ROVANEL_C(inon), ROVANEL_C(inonin), ROVANEL_C(inif), ROVANEL_C(inifin),
          ROVANEL_C(incpt), ROVANEL_C(informule),
          ROVANEL_C(quitmich)};
#undef ROVANEL_C
}

Control* TMiCalc::Find(std::string_view name) {
  for (const auto& [n, c] : Texts())
    if (n == name) return c;
  return nullptr;
}

const TMiCalc::PageInfo* TMiCalc::PageOf(std::string_view name, bool& isInput) const {
  for (const PageInfo& page : kPages) {
    for (auto n : page.inputs)
      if (n == name) {
        isInput = true;
        return &page;
      }
    for (auto n : page.outputs)
      if (n == name) {
        isInput = false;
        return &page;
      }
  }
  return nullptr;
}

bool TMiCalc::Shown(const PageInfo& page) const {
  return page.michelson ? micomp.visible && micompPage == page.tab
                        : incomp.visible && incompPage == page.tab;
}

bool TMiCalc::ShowFor(bool michelson, bool interference) {
  micomp.visible = michelson;
  incomp.visible = !michelson && interference;
  if (micomp.visible) Caption = "ID_TRT_INF_calc mich";
  if (incomp.visible) Caption = "ID_TRT_INF_calc int/diff";
  return micomp.visible || incomp.visible;
}

void TMiCalc::Activate() {
  closed = accepted = false;
  error.clear();
}

void TMiCalc::quitmichClick() {
  Close(false);
}

bool TMiCalc::Read(std::initializer_list<std::pair<const Control*, double*>> fields) {
  error.clear();
  for (const auto& [control, value] : fields) {
    const auto v = ParseDecimal(control->caption);
    if (!v) {
      // A field that is not a number stops the page without writing any
      // result, names the field and takes the focus.
      for (const auto& [name, c] : Texts())
        if (c == control) FocusTo = name;
      error = Say("ID_MES_ERR_pas un nombre", {control->caption, FocusTo});
      return false;
    }
    *value = *v;
  }
  return true;
}

void TMiCalc::racalculClick() {
  double f, df, v, dv;
  if (!Read({{&frra, &f}, {&frrain, &df}, {&vira, &v}, {&virain, &dv}})) return;
  const Result l = FringeWavelength(f, df, v, dv);
  lora.caption = FormatDecimal(l.value);
  lorain.caption = FormatDecimal(l.uncertainty);
}

void TMiCalc::prcalculClick() {
  double f, df, v, dv, len, dlen;
  if (!Read({{&frpr, &f}, {&frprin, &df}, {&vipr, &v}, {&viprin, &dv}, {&lepr, &len},
             {&leprin, &dlen}}))
    return;
  const Result l = FringeWavelength(f, df, v, dv);
  const double vn = 1000 * v, dvn = 1000 * dv;  // nm/s
  Result w;
  if (len != 0 && vn != 0) {
    const double lambda2 = l.value * l.value;
    w.value = lambda2 / (kSqrtPi * vn * len);
    w.uncertainty = 2 * l.value * l.uncertainty / (kSqrtPi * vn * len) +
                    lambda2 * dvn / (kSqrtPi * vn * vn * len) +
                    lambda2 * dlen / (kSqrtPi * len * len * vn);
  }
  lopr.caption = FormatDecimal(l.value);
  loprin.caption = FormatDecimal(l.uncertainty);
  lspr.caption = FormatDecimal(w.value);
  lsprin.caption = FormatDecimal(w.uncertainty);
}

void TMiCalc::ficalculClick() {
  double len, dlen, v, dv, n;
  if (!Read({{&lafi, &len}, {&lafiin, &dlen}, {&vifi, &v}, {&vifiin, &dv}, {&nofi, &n}})) return;
  const double vn = 1000 * v, dvn = 1000 * dv;  // nm/s
  Result w;
  if (n != 0) {
    w.value = 4 * len * vn / (n * n);
    w.uncertainty = 4 / (n * n) * (vn * dlen + len * dvn);
  }
  lsfi.caption = FormatDecimal(w.value);
  lsfiin.caption = FormatDecimal(w.uncertainty);
}

void TMiCalc::locptClick() {
  double len, dlen, d, dd, a, da;
  if (!Read({{&lolo, &len}, {&loloin, &dlen}, {&lofe, &d}, {&lofein, &dd}, {&lola, &a},
             {&lolain, &da}}))
    return;
  // Everything in nm: mm, cm and µm.
  const double l1 = 1e6 * len, dl1 = 1e6 * dlen, d1 = 1e7 * d, dd1 = 1e7 * dd;
  const double a1 = 1e3 * a, da1 = 1e3 * da;
  if (d1 == 0) return;  // the outputs keep their text
  loon.caption = FormatDecimal(a1 * l1 / (2 * d1));
  loonin.caption = FormatDecimal(l1 * da1 / (2 * d1) + a1 * l1 * dd1 / (2 * d1 * d1) +
                                 a1 * dl1 / (2 * d1));
}

void TMiCalc::lacptClick() {
  double len, dlen, d, dd, lambda, dlambda;
  if (!Read({{&lalo, &len}, {&laloin, &dlen}, {&lafe, &d}, {&lafein, &dd}, {&laon, &lambda},
             {&laonin, &dlambda}}))
    return;
  // Everything in µm: mm, cm and nm.
  const double l1 = 1000 * len, dl1 = 1000 * dlen, d1 = 1e4 * d, dd1 = 1e4 * dd;
  const double w1 = 0.001 * lambda, dw1 = 0.001 * dlambda;
  if (l1 == 0) return;  // the outputs keep their text
  lala.caption = FormatDecimal(2 * w1 * d1 / l1);
  lalain.caption =
      FormatDecimal(2 * d1 * dw1 / l1 + 2 * w1 * d1 * dl1 / (l1 * l1) + 2 * w1 * dd1 / l1);
}

void TMiCalc::incptClick() {
  double i, di, d, dd, lambda, dlambda;
  if (!Read({{&inin, &i}, {&ininin, &di}, {&infe, &d}, {&infein, &dd}, {&inon, &lambda},
             {&inonin, &dlambda}}))
    return;
  // Everything in µm: mm, cm and nm.
  const double i1 = 1000 * i, di1 = 1000 * di, d1 = 1e4 * d, dd1 = 1e4 * dd;
  const double w1 = 0.001 * lambda, dw1 = 0.001 * dlambda;
  if (i1 == 0) return;  // the outputs keep their text
  inif.caption = FormatDecimal(w1 * d1 / i1);
  inifin.caption = FormatDecimal(d1 * dw1 / i1 + w1 * d1 * di1 / (i1 * i1) + w1 * dd1 / i1);
}

bool TMiCalc::frraKeyUp(std::string_view field, CalcKey key, char digit) {
  bool isInput = false;
  if (!PageOf(field, isInput) || !isInput) return false;
  Control* edit = Find(field);
  edit->caption = CalcEditRule(edit->caption, key, digit);
  return true;
}

void TMiCalc::InputEnter(std::string_view field) {
  bool isInput = false;
  const PageInfo* page = PageOf(field, isInput);
  if (!page || !isInput) return;
  for (std::size_t k = 0; k < page->inputs.size(); ++k)
    if (page->inputs[k] == field)
      FocusTo = k + 1 < page->inputs.size() ? page->inputs[k + 1] : page->button;
}

bool TMiCalc::Type(std::string_view field, CalcKey key, char digit) {
  bool isInput = false;
  if (!PageOf(field, isInput) || !isInput) return false;
  FocusTo = field;
  Control* edit = Find(field);
  // What the edit itself does on the key, the caret being at the end.
  if (key == CalcKey::Digit || key == CalcKey::KeypadDigit || key == CalcKey::Other) {
    if (digit != 0) edit->caption += digit;
  } else if (key == CalcKey::Point || key == CalcKey::KeypadPoint) {
    edit->caption += '.';
  }
  frraKeyUp(field, key, digit);
  if (key == CalcKey::Enter) InputEnter(field);
  return true;
}

bool TMiCalc::SetField(std::string_view field, std::string_view value, std::string& why) {
  // "page": a tab of the notebook shown.
  if (field == "page") field = micomp.visible ? "micomp" : "incomp";
  if (field == "micomp" || field == "incomp") {
    const bool mich = field == "micomp";
    const auto page = WholeNumber(value);
    if (!(mich ? micomp : incomp).visible || !page || *page > 2) {
      why = std::string(field) + " is not shown or has no page '" + std::string(value) + "'";
      return false;
    }
    (mich ? micompPage : incompPage) = static_cast<int>(*page);
    return true;
  }
  bool isInput = false;
  const PageInfo* page = PageOf(field, isInput);
  if (!page || !isInput || !Shown(*page)) {
    why = "no input field '" + std::string(field) + "' shown";
    return false;
  }
  // The whole text is selected on entry: the first key replaces it.
  Find(field)->caption.clear();
  FocusTo = field;
  for (char c : value) {
    const bool isDigit = std::isdigit(static_cast<unsigned char>(c)) != 0;
    Type(field, isDigit ? CalcKey::Digit : c == '.' ? CalcKey::Point : CalcKey::Other, c);
  }
  return true;
}

bool TMiCalc::Press(std::string_view button, std::string& why) {
  if (button == "quitmich") {
    quitmichClick();
    return true;
  }
  for (const PageInfo& page : kPages)
    if (page.button == button && Shown(page)) {
      (this->*page.click)();
      return true;
    }
  why = "no button '" + std::string(button) + "' shown";
  return false;
}

}  // namespace rovanel::app
