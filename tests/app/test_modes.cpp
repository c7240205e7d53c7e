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
  EXPECT_TRUE(fp.tools.opto.down);
  EXPECT_TRUE(fp.tools.opto1.visible);
  EXPECT_TRUE(fp.tools.plut.visible);
  EXPECT_TRUE(fp.ProfParams.opto);
  fp.Click("int");
  EXPECT_FALSE(fp.tools.opto.down);
  EXPECT_FALSE(fp.tools.opto1.visible);
  EXPECT_TRUE(fp.tools.int1.visible);
  EXPECT_TRUE(fp.tools.calc.enabled);
  fp.Click("int");
  EXPECT_FALSE(fp.tools.int_.down);
  EXPECT_FALSE(fp.tools.int1.visible);
  EXPECT_FALSE(fp.tools.calc.enabled);
}

TEST_F(Modes, SpectrometryPutsTheReferenceBesideTheLastCurveAndLeavingBringsItBack) {
  fp.NbCurves = 3;
  for (int k = 1; k <= 3; ++k) fp.stores.RawBuf[k] = Flat(static_cast<std::uint8_t>(10 * k));
  fp.SpectroParams.RefSpectrum.fill(200);
  fp.Click("spectro");
  EXPECT_EQ(fp.NbCurves, 2);
  EXPECT_EQ(fp.stores.RawBuf[1], Flat(200));
  EXPECT_EQ(fp.stores.RawBuf[2], Flat(30));
  EXPECT_TRUE(fp.tools.superposition.down);
  EXPECT_FALSE(fp.tools.fft.enabled);
  EXPECT_EQ(fp.affichage.XUnit, "nm");
  EXPECT_EQ(fp.CurveColours[0], display::kSilver);
  EXPECT_TRUE(fp.tools.spectro2.visible);
  fp.Click("spectro");
  EXPECT_EQ(fp.NbCurves, 1);
  EXPECT_EQ(fp.stores.RawBuf[1], Flat(30));
  EXPECT_EQ(fp.CurveColours[2], display::kRed);
  EXPECT_EQ(fp.affichage.XUnit, "µm");
}

TEST_F(Modes, EachModeKeepsItsOwnProcessingButtons) {
  fp.Click("invert");  // profile modes: invert on
  fp.Click("mi");
  EXPECT_FALSE(fp.tools.invert.down);  // the Michelson record's
  EXPECT_FALSE(fp.tools.acquisition.enabled);
  EXPECT_TRUE(fp.tools.mich1.visible);
  EXPECT_TRUE(fp.tools.minizoom.visible);
  EXPECT_EQ(fp.affichage.XUnit, "s");
  EXPECT_EQ(fp.NbPoints, 8192);
  EXPECT_EQ(fp.ZoomStep, 16);
  fp.Click("calibration");
  fp.Click("mi");
  EXPECT_TRUE(fp.tools.invert.down);
  EXPECT_FALSE(fp.tools.calibration.down);
  fp.Click("mi");
  EXPECT_TRUE(fp.tools.calibration.down);
}

TEST_F(Modes, SpectrumScales) {
  fp.Click("fft");
  EXPECT_EQ(fp.affichage.XUnit, "/m");
  EXPECT_EQ(fp.NbPoints, 1024);
  EXPECT_EQ(fp.tools.PasGrid.caption, "  1245.61/m");
  EXPECT_FALSE(fp.tools.Grille1.enabled);
  EXPECT_FALSE(fp.tools.calibration.enabled);
  fp.Click("fft");
  EXPECT_EQ(fp.affichage.XUnit, "µm");
  EXPECT_EQ(fp.tools.PasGrid.caption, " 500µm");
  fp.Click("mi");
  fp.Click("fft");
  EXPECT_EQ(fp.affichage.XUnit, "Hz");
  EXPECT_EQ(fp.NbPoints, 4096);
  EXPECT_EQ(fp.MiParams.FftStep, 8);
}

TEST_F(Modes, DefaultWavelengthTable) {
  EXPECT_FLOAT_EQ(fp.stores.LambdaTab[300], 500.0f);
  EXPECT_FLOAT_EQ(fp.stores.LambdaTab[0], 350.0f);
  EXPECT_FLOAT_EQ(fp.stores.LambdaTab[2047], 1123.5f);
}

}  // namespace
}  // namespace rovanel::app
