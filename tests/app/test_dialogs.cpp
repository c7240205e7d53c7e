// The dialogs' models: validation, the edits' key rules, the answers a
// script gives them.
#include <gtest/gtest.h>

#include "app/dialogs/dialog_script.h"
#include "app/dialogs/feature.h"
#include "app/dialogs/paraint.h"

namespace rovanel::app {
namespace {

TEST(DigitEdits, KeyRules) {
  struct Case {
    const char* text;
    Key key;
    int clampAt, clampTo;
    const char* after;
  } cases[] = {
      {"7", Key::Digit, 99, 99, "7"},         {"99", Key::Digit, 99, 99, "99"},
      {"98", Key::Digit, 99, 99, "98"},       {"50", Key::Digit, 50, 49, "49"},
      {"49", Key::Digit, 50, 49, "49"},       {"12", Key::Other, 99, 99, ""},
      {"12", Key::Shift, 99, 99, "12"},       {"12", Key::KeypadDigit, 99, 99, "12"},
      {"96", Key::KeypadDigit, 95, 95, "95"}, {"30", Key::Digit, 25, 25, "25"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DigitEditRule(c.text, c.key, c.clampAt, c.clampTo), c.after) << c.text;
  EXPECT_EQ(TypeDigits("123", 99, 99), "12");  // two characters at most
  EXPECT_EQ(TypeDigits("7a", 99, 99), "");
  EXPECT_EQ(TypeDigits("60", 50, 49), "49");
}

TEST(FeatureDialog, ValidationFallsBackToTheDefaults) {
  struct Case {
    const char* ordre;
    const char* nbmoy;
    int order, count;
  } cases[] = {
      {"5", "8", 5, 8}, {"", "", 2, 4}, {"0", "1", 2, 2}, {"99", "49", 99, 49}, {"1", "50", 1, 2}};
  for (const Case& c : cases) {
    Tfeature d;
    d.Activate();
    d.ordre.caption = c.ordre;
    d.nbmoy.caption = c.nbmoy;
    d.boxbarIndex = 2;
    d.valfeatClick();
    EXPECT_TRUE(d.Validated);
    EXPECT_TRUE(d.accepted);
    EXPECT_EQ(d.FilterOrder, c.order) << c.ordre;
    EXPECT_EQ(d.AvgCount, c.count) << c.nbmoy;
    EXPECT_EQ(d.HistIndex, 2);
  }
}

TEST(FeatureDialog, CancelKeepsTheValuesAndEnterValidates) {
  Tfeature d;
  d.FilterOrder = 6;
  d.AvgCount = 9;
  d.Activate();
  EXPECT_EQ(d.ordre.caption, "6");
  EXPECT_EQ(d.nbmoy.caption, "9");
  d.ordre.caption = "3";
  d.annfeatClick();
  EXPECT_FALSE(d.accepted);
  EXPECT_EQ(d.FilterOrder, 6);
  d.Activate();
  d.ordre.caption = "15";
  d.ordreKeyUp(Key::Enter);
  EXPECT_TRUE(d.accepted);
  EXPECT_EQ(d.FilterOrder, 15);
}

TEST(ParaintDialog, BarsEditsAndDefaults) {
  Tparaint d;
  d.pplut.visible = true;
  d.Activate();
  d.barlnChange(40);
  EXPECT_EQ(d.coefln.caption, "40");
  d.barexpChange(99);  // beyond its range
  EXPECT_EQ(d.barexp.position, 25);
  EXPECT_EQ(d.coefexp.caption, "25");
  d.coefln.caption = "1";
  d.coeflnKeyUp(Key::Enter);
  EXPECT_EQ(d.coefln.caption, "2");
  EXPECT_EQ(d.barln.position, 2);
  d.coefln.caption = "";
  d.coeflnEnter();
  EXPECT_EQ(d.coefln.caption, "2");
  d.barlnChange(70);
  d.defClick();
  EXPECT_EQ(d.coefln.caption, "2");
  EXPECT_EQ(d.barln.position, 2);
  d.barlnChange(70);
  d.Accept();
  EXPECT_EQ(d.CoefLn, 70);
  EXPECT_EQ(d.CoefExp, 2);
}

TEST(ParaintDialog, PreviewCurvesRunCornerToCorner) {
  Tparaint d;
  d.Activate();
  const auto p = d.LutPreview();
  const int last = Tparaint::kPreviewSize - 1;
  for (const auto& curve : p.curves) {
    ASSERT_EQ(curve.size(), 255u);
    EXPECT_EQ(curve.back(), (std::array<int, 2>{last, 0}));
  }
  // Low levels: the logarithmic curve stands above the identity, the
  // exponential one below (smaller y is higher).
  EXPECT_LT(p.curves[1][60][1], p.curves[2][60][1]);
  EXPECT_GT(p.curves[0][60][1], p.curves[2][60][1]);
}

TEST(DialogScript, ParsesAnswersWithQuotedValues) {
  std::string error;
  auto a = ParseDialogAnswer("Timp manip=\"Two slits, 0.5 mm\" nom=Ana ok", error);
  ASSERT_TRUE(a) << error;
  EXPECT_EQ(a->dialog, "Timp");
  EXPECT_TRUE(a->ok);
  ASSERT_EQ(a->steps.size(), 2u);
  EXPECT_EQ(a->steps[0], (std::pair<std::string, std::string>{"manip", "Two slits, 0.5 mm"}));
  EXPECT_EQ(a->steps[1].second, "Ana");
  for (const char* bad : {"Timp", "Timp nom=x", "Timp nom ok", "Timp =x ok", "Timp \"x ok"})
    EXPECT_FALSE(ParseDialogAnswer(bad, error)) << bad;
}

TEST(DialogScript, PlaysTheFirstAnswerForTheDialogShown) {
  DialogScript script;
  std::string error;
  script.Queue(*ParseDialogAnswer("Tparaint coefln=30 ok", error));
  script.Queue(*ParseDialogAnswer("Tfeature click=annfeat ok", error));
  Tfeature f;
  f.Activate();
  EXPECT_TRUE(script.Play(f, error)) << error;
  EXPECT_FALSE(f.accepted);  // the button closed it before ok
  EXPECT_EQ(script.Unused(), std::vector<std::string>{"Tparaint"});
  EXPECT_FALSE(script.Play(f, error));
}

}  // namespace
}  // namespace rovanel::app
