// Entering and leaving the modes: panels, restored buttons, curve layouts
// and the X scale.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

struct Modes : ::testing::Test, support::NoBoxRig {
  signal::Curve Flat(std::uint8_t v) {
    signal::Curve c;
    c.fill(v);
    return c;
  }
};

TEST_F(Modes, ModeButtonsAreOneGroupThatMayBeAllUp) {
  fp.Click("opto");
  EXPECT_TRUE(fp.Controls().opto.down);
  EXPECT_TRUE(fp.Controls().opto1.visible);
  EXPECT_TRUE(fp.Controls().plut.visible);
  EXPECT_TRUE(fp.Prof().opto);
  fp.Click("int");
  EXPECT_FALSE(fp.Controls().opto.down);
  EXPECT_FALSE(fp.Controls().opto1.visible);
  EXPECT_TRUE(fp.Controls().int1.visible);
  EXPECT_TRUE(fp.Controls().calc.enabled);
  fp.Click("int");
  EXPECT_FALSE(fp.Controls().int_.down);
  EXPECT_FALSE(fp.Controls().int1.visible);
  EXPECT_FALSE(fp.Controls().calc.enabled);
}

TEST_F(Modes, SpectrometryPutsTheReferenceBesideTheLastCurveAndLeavingBringsItBack) {
  fp.Click("superposition");
  fp.Click("acquisition");
  fp.Click("acquisition");
  ASSERT_EQ(fp.Curves().Count(), 3);
  for (int k = 1; k <= 3; ++k) fp.SetRawCurve(k, Flat(static_cast<std::uint8_t>(10 * k)));
  fp.Click("spectro");
  EXPECT_EQ(fp.Curves().Count(), 2);
  EXPECT_EQ(fp.Curves().Raw(1), Flat(255));  // the reference spectrum, all 255 at start
  EXPECT_EQ(fp.Curves().Raw(2), Flat(30));
  EXPECT_TRUE(fp.Controls().superposition.down);
  EXPECT_FALSE(fp.Controls().fft.enabled);
  EXPECT_EQ(fp.Affichage().XUnit, "nm");
  EXPECT_EQ(fp.Curves().Pens()[0], display::kSilver);
  EXPECT_TRUE(fp.Controls().spectro2.visible);
  fp.Click("spectro");
  EXPECT_EQ(fp.Curves().Count(), 1);
  EXPECT_EQ(fp.Curves().Raw(1), Flat(30));
  EXPECT_EQ(fp.Curves().Pens()[2], display::kRed);
  EXPECT_EQ(fp.Affichage().XUnit, "µm");
}

TEST_F(Modes, EachModeKeepsItsOwnProcessingButtons) {
  fp.Click("invert");  // profile modes: invert on
  fp.Click("mi");
  EXPECT_FALSE(fp.Controls().invert.down);  // the Michelson record's
  EXPECT_FALSE(fp.Controls().acquisition.enabled);
  EXPECT_TRUE(fp.Controls().mich1.visible);
  EXPECT_TRUE(fp.Controls().minizoom.visible);
  EXPECT_EQ(fp.Affichage().XUnit, "s");
  EXPECT_EQ(fp.PointCount(), 8192);
  EXPECT_EQ(fp.Plot().ZoomStep(), 16);
  fp.Click("calibration");
  fp.Click("mi");
  EXPECT_TRUE(fp.Controls().invert.down);
  EXPECT_FALSE(fp.Controls().calibration.down);
  fp.Click("mi");
  EXPECT_TRUE(fp.Controls().calibration.down);
}

TEST_F(Modes, SpectrumScales) {
  fp.Click("fft");
  EXPECT_EQ(fp.Affichage().XUnit, "/m");
  EXPECT_EQ(fp.PointCount(), 1024);
  EXPECT_EQ(fp.Controls().PasGrid.caption, "  1245.61/m");
  EXPECT_FALSE(fp.Controls().Grille1.enabled);
  EXPECT_FALSE(fp.Controls().calibration.enabled);
  fp.Click("fft");
  EXPECT_EQ(fp.Affichage().XUnit, "µm");
  EXPECT_EQ(fp.Controls().PasGrid.caption, " 500µm");
  fp.Click("mi");
  fp.Click("fft");
  EXPECT_EQ(fp.Affichage().XUnit, "Hz");
  EXPECT_EQ(fp.PointCount(), 4096);
  EXPECT_EQ(fp.Mi().FftStep, 8);
}

TEST_F(Modes, DefaultWavelengthTable) {
  EXPECT_FLOAT_EQ(fp.Stores().LambdaTab[300], 500.0f);
  EXPECT_FLOAT_EQ(fp.Stores().LambdaTab[0], 350.0f);
  EXPECT_FLOAT_EQ(fp.Stores().LambdaTab[2047], 1123.5f);
}

}  // namespace
}  // namespace rovanel::app
