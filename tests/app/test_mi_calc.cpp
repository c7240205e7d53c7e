// The optics calculator: number reading and writing, the edits' key rule,
// each page's results against values worked out by hand, and a field that
// is not a number.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/dialogs/mi_calc.h"

namespace rovanel::app {
namespace {

TEST(MiCalcNumbers, ParseDecimal) {
  const std::optional<double> none;
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"", 0.0},          {"1.05", 1.05},      {".5", 0.5},        {"12", 12.0},
      {"0000.00", 0.0},   {"0000", 0.0},       {".25", 0.25},      {"3.14159", 3.14159},
      {"007.5", 7.5},     {"2147483647", 2147483647.0},            {"2147483648", none},
      {"1.", none},       {".", none},         {"1.2.3", none},    {"..5", none},
      {"-1", none},       {"1,5", none},       {"1e3", none},      {" 1", none},
  };
  for (const auto& [text, want] : cases) {
    const auto got = ParseDecimal(text);
    ASSERT_EQ(got.has_value(), want.has_value()) << text;
    if (want) {
      EXPECT_DOUBLE_EQ(*got, *want) << text;
    }
  }
}

TEST(MiCalcNumbers, FormatDecimal) {
  const std::pair<double, const char*> cases[] = {
      {3, "3.00"},         {0.05, "0.05"},   {532.4, "532.40"}, {2.996, "3.00"},
      {0.004, "0.00"},     {0, "0.00"},      {632.8, "632.80"}, {1234567.891, "1234567.89"},
      {0.125, "0.13"},  // 12.5 hundredths exactly: half away from zero
      {-0.05, "-0.05"},    {-2.996, "-3.00"}, {-0.004, "0.00"},
  };
  for (const auto& [value, want] : cases) EXPECT_EQ(FormatDecimal(value), want) << value;
}

TEST(MiCalcKeys, EditRule) {
  struct Case {
    const char* text;  // after the key put its character in
    CalcKey key;
    char digit;
    const char* after;
  } cases[] = {
      {"123", CalcKey::Digit, '3', "123"},    {"132", CalcKey::Digit, '3', "133"},  // caret moved
      {"1.", CalcKey::Point, 0, "1."},        {"1,", CalcKey::Point, 0, "1."},  // locale comma
      {"12", CalcKey::KeypadDigit, 0, "12"},  {"1,", CalcKey::KeypadPoint, 0, "1,"},
      {"12", CalcKey::Enter, 0, "12"},        {"12", CalcKey::Shift, 0, "12"},
      {"12", CalcKey::Left, 0, "12"},         {"12", CalcKey::Right, 0, "12"},
      {"12-", CalcKey::Other, 0, ""},         {"", CalcKey::Digit, '7', "7"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CalcEditRule(c.text, c.key, c.digit), c.after) << c.text;
}

TEST(MiCalcKeys, TypingAndEnter) {
  TMiCalc d;
  ASSERT_TRUE(d.ShowFor(true, false));
  std::string why;
  const std::pair<const char*, const char*> typed[] = {
      {"1000", "1000"}, {"316.4", "316.4"}, {"1.2.3", "1.2.3"}, {"12-5", "5"}, {"", ""}};
  for (const auto& [value, want] : typed) {
    ASSERT_TRUE(d.SetField("vira", value, why)) << why;
    EXPECT_EQ(d.vira.caption, want) << value;
    EXPECT_EQ(d.FocusTo, "vira");
  }
  EXPECT_TRUE(d.Type("vira", CalcKey::KeypadDigit, '4'));
  EXPECT_EQ(d.vira.caption, "4");
  // Enter walks value, uncertainty, next quantity, then the button.
  const std::pair<const char*, const char*> enter[] = {
      {"frra", "frrain"}, {"frrain", "vira"}, {"virain", "racalcul"}, {"viprin", "lepr"},
      {"leprin", "prcalcul"}, {"vifiin", "nofi"}, {"nofi", "ficalcul"}, {"inonin", "incpt"}};
  for (const auto& [from, to] : enter) {
    EXPECT_TRUE(d.Type(from, CalcKey::Enter));
    EXPECT_EQ(d.FocusTo, to) << from;
  }
  EXPECT_FALSE(d.Type("lora", CalcKey::Digit, '1'));       // read-only
  EXPECT_FALSE(d.SetField("lora", "1", why));
  EXPECT_FALSE(d.SetField("frpr", "1", why));              // page not shown
  EXPECT_FALSE(d.SetField("lolo", "1", why));              // other notebook
  EXPECT_FALSE(d.Press("prcalcul", why));
}

std::string CaptionOf(TMiCalc& d, std::string_view name) {
  for (const auto& [n, control] : d.Texts())
    if (n == name) return control->caption;
  return "(no control " + std::string(name) + ")";
}

// Types the page's inputs, presses its button, reads its outputs.
struct PageCase {
  bool michelson;
  int page;
  std::vector<std::pair<const char*, const char*>> inputs;
  const char* button;
  std::vector<std::pair<const char*, const char*>> outputs;
};

void RunPage(const PageCase& c) {
  TMiCalc d;
  ASSERT_TRUE(d.ShowFor(c.michelson, !c.michelson));
  std::string why;
  ASSERT_TRUE(d.SetField(c.michelson ? "micomp" : "incomp", std::to_string(c.page), why)) << why;
  for (const auto& [field, value] : c.inputs) ASSERT_TRUE(d.SetField(field, value, why)) << why;
  ASSERT_TRUE(d.Press(c.button, why)) << why;
  EXPECT_EQ(d.error, "");
  for (const auto& [name, want] : c.outputs)
    EXPECT_EQ(CaptionOf(d, name), want) << c.button << " " << name;
}

TEST(MiCalcPages, HandComputedResults) {
  const PageCase cases[] = {
      // V' = 316400 nm/s, ΔV' = 500. λ = 632800/1000 = 632.8;
      // Δλ = 2·316400·2/1000² + 2·500/1000 = 1.2656 + 1 = 2.2656 (the speed
      // term with its factor 2; without it 1.7656 would show "1.77").
      {true, 0, {{"frra", "1000"}, {"frrain", "2"}, {"vira", "316.4"}, {"virain", ".5"}},
       "racalcul", {{"lora", "632.80"}, {"lorain", "2.27"}}},
      {true, 0, {{"frra", "0"}, {"frrain", "2"}, {"vira", "316.4"}, {"virain", "0.5"}},
       "racalcul", {{"lora", "0.00"}, {"lorain", "0.00"}}},
      // λ, Δλ as above; L = 0.01 s, ΔL = 0.0005, V'L = 3164.
      // w = 632.8² / (√π·3164) = 400435.84 / 5608.04398 = 71.40383;
      // Δw = w·(2Δλ/λ + ΔV'/V' + ΔL/L)
      //    = 71.40383·(0.00716056 + 0.00158028 + 0.05) = 71.40383·0.05874084 = 4.19432.
      {true, 1, {{"frpr", "1000"}, {"frprin", "2"}, {"vipr", "316.4"}, {"viprin", "0.5"},
                 {"lepr", "0.01"}, {"leprin", "0.0005"}},
       "prcalcul", {{"lopr", "632.80"}, {"loprin", "2.27"}, {"lspr", "71.40"}, {"lsprin", "4.19"}}},
      {true, 1, {{"frpr", "1000"}, {"frprin", "2"}, {"vipr", "316.4"}, {"viprin", "0.5"},
                 {"lepr", "0"}, {"leprin", "0.0005"}},
       "prcalcul", {{"lopr", "632.80"}, {"lspr", "0.00"}, {"lsprin", "0.00"}}},
      // w = 4·0.5·316400/30² = 632800/900 = 703.111;
      // Δw = (4/900)·(316400·0.02 + 0.5·500) = 4·6578/900 = 26312/900 = 29.2356.
      {true, 2, {{"lafi", "0.5"}, {"lafiin", "0.02"}, {"vifi", "316.4"}, {"vifiin", "0.5"},
                 {"nofi", "30"}},
       "ficalcul", {{"lsfi", "703.11"}, {"lsfiin", "29.24"}}},
      {true, 2, {{"lafi", "0.5"}, {"vifi", "316.4"}, {"nofi", "0"}},
       "ficalcul", {{"lsfi", "0.00"}, {"lsfiin", "0.00"}}},
      // nm: L' = 12660000, ΔL' = 100000, D' = 1e9, ΔD' = 4e6, a' = 1e5, Δa' = 2000.
      // λ = 1e5·12660000/2e9 = 633; Δλ = 12660000·2000/2e9 + 1e5·12660000·4e6/2e18
      //   + 1e5·1e5/2e9 = 12.66 + 2.532 + 5 = 20.192.
      {false, 0, {{"lolo", "12.66"}, {"loloin", "0.1"}, {"lofe", "100"}, {"lofein", "0.4"},
                  {"lola", "100"}, {"lolain", "2"}},
       "locpt", {{"loon", "633.00"}, {"loonin", "20.19"}}},
      {false, 0, {{"lolo", "12.66"}, {"lofe", "0"}, {"lola", "100"}},  // outputs keep their text
       "locpt", {{"loon", "0000.00"}, {"loonin", "0000.00"}}},
      // µm: L' = 12660, ΔL' = 100, D' = 1e6, ΔD' = 4000, λ' = 0.633, Δλ' = 0.005.
      // a = 2·0.633·1e6/12660 = 100; Δa = 2·1e6·0.005/12660 + 2·0.633·1e6·100/12660²
      //   + 2·0.633·4000/12660 = 0.78989 + 0.78989 + 0.4 = 1.97978.
      {false, 1, {{"lalo", "12.66"}, {"laloin", "0.1"}, {"lafe", "100"}, {"lafein", "0.4"},
                  {"laon", "633"}, {"laonin", "5"}},
       "lacpt", {{"lala", "100.00"}, {"lalain", "1.98"}}},
      {false, 1, {{"lalo", "0"}, {"lafe", "100"}, {"laon", "633"}},
       "lacpt", {{"lala", "0000.00"}, {"lalain", "0000.00"}}},
      // µm: i' = 2000, Δi' = 50, D' = 1e6, ΔD' = 4000, λ' = 0.633, Δλ' = 0.005.
      // d = 0.633·1e6/2000 = 316.5; Δd = 1e6·0.005/2000 + 0.633·1e6·50/2000²
      //   + 0.633·4000/2000 = 2.5 + 7.9125 + 1.266 = 11.6785.
      {false, 2, {{"inin", "2"}, {"ininin", "0.05"}, {"infe", "100"}, {"infein", "0.4"},
                  {"inon", "633"}, {"inonin", "5"}},
       "incpt", {{"inif", "316.50"}, {"inifin", "11.68"}}},
      {false, 2, {{"inin", "0"}, {"infe", "100"}, {"inon", "633"}},
       "incpt", {{"inif", "0000.00"}, {"inifin", "0000.00"}}},
  };
  for (const PageCase& c : cases) RunPage(c);
}

TEST(MiCalcPages, NotANumberStopsThePage) {
  struct Case {
    bool michelson;
    int page;
    const char* bad;
    const char* text;
    const char* button;
    std::vector<const char*> outputs;
  } cases[] = {
      {true, 0, "vira", "3.1.6", "racalcul", {"lora", "lorain"}},
      {true, 1, "leprin", "1.", "prcalcul", {"lopr", "loprin", "lspr", "lsprin"}},
      {true, 2, "nofi", ".", "ficalcul", {"lsfi", "lsfiin"}},
      {false, 0, "lofe", "1..", "locpt", {"loon", "loonin"}},
      {false, 2, "inonin", "9.9.9", "incpt", {"inif", "inifin"}},
  };
  for (const Case& c : cases) {
    TMiCalc d;
    d.ShowFor(c.michelson, !c.michelson);
    std::string why;
    d.SetField(c.michelson ? "micomp" : "incomp", std::to_string(c.page), why);
    ASSERT_TRUE(d.SetField(c.bad, c.text, why)) << why;
    d.FocusTo.clear();
    ASSERT_TRUE(d.Press(c.button, why));
    EXPECT_NE(d.error.find(c.bad), std::string::npos) << d.error;
    EXPECT_EQ(d.FocusTo, c.bad);
    for (const char* out : c.outputs) EXPECT_EQ(CaptionOf(d, out), "0000.00") << c.bad << " " << out;
  }
  // The first bad field of the page is the one named; a good run clears it.
  TMiCalc d;
  d.ShowFor(true, false);
  std::string why;
  d.SetField("frrain", "1.", why);
  d.SetField("virain", "1.", why);
  d.Press("racalcul", why);
  EXPECT_EQ(d.FocusTo, "frrain");
  d.SetField("frrain", "1", why);
  d.SetField("virain", "1", why);
  d.Press("racalcul", why);
  EXPECT_EQ(d.error, "");
}

TEST(MiCalcDialog, NotebooksTextsAndClose) {
  TMiCalc d;
  EXPECT_EQ(d.Name(), "TMiCalc");
  EXPECT_FALSE(d.ShowFor(false, false));
  EXPECT_FALSE(d.micomp.visible || d.incomp.visible);
  EXPECT_TRUE(d.ShowFor(false, true));
  EXPECT_TRUE(d.incomp.visible && !d.micomp.visible);
  EXPECT_EQ(d.Caption, "ID_TRT_INF_calc int/diff");
  EXPECT_EQ(d.incomp.items, (std::vector<std::string>{"TAB_INT_Lg onde", "TAB_INT_Larg fente",
                                                       "TAB_INT_Inter fentes"}));
  EXPECT_EQ(d.micomp.items, (std::vector<std::string>{"TAB_Raie simple/Doublet",
                                                       "TAB_Profil Doppler", "TAB_Filtres"}));
  std::string why;
  EXPECT_FALSE(d.SetField("incomp", "3", why));
  EXPECT_FALSE(d.SetField("micomp", "0", why));
  const auto texts = d.Texts();
  EXPECT_EQ(texts.size(), 62u);
  int calcButtons = 0, zeros = 0;
  for (const auto& [name, control] : texts) {
    calcButtons += control->caption == "ID_BTN_MOT_GEN_Calculer";
    zeros += control->caption == "0000.00";
  }
  EXPECT_EQ(calcButtons, 6);
  EXPECT_EQ(zeros, 46);  // 32 inputs (nofi shows "0000") and 14 outputs
  EXPECT_EQ(d.nofi.caption, "0000");
  EXPECT_EQ(d.quitmich.caption, "ID_BTN_MCH_Quitter");
  ASSERT_TRUE(d.Press("quitmich", why));
  EXPECT_TRUE(d.closed);
}

}  // namespace
}  // namespace rovanel::app
