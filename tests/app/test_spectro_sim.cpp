// The spectrometer calibration and the interference simulation in the
// window: reference lines, the calibration dialog, the reference spectrum,
// the computed pattern beside the measured one, and the calculator.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/dialogs/dialog_script.h"
#include "app/main_window.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

struct Spectro : ::testing::Test, support::NoBoxRig {
  void Answer(const char* text) {
    std::string error;
    auto a = ParseDialogAnswer(text, error);
    ASSERT_TRUE(a) << error;
    fp.dialogScript.Queue(*a);
  }
  std::string TempFile(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "rovanel-spectro-test";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
  }
};

TEST_F(Spectro, ReferenceNumberStaysWithinOneToSixAndShowsItsLine) {
  fp.Click("spectro");
  EXPECT_EQ(fp.tools.NivRef.caption, " 1");
  EXPECT_EQ(fp.tools.NumPix.caption, "200");
  EXPECT_EQ(fp.tools.spLbd.caption, "450.00");
  for (int k = 0; k < 8; ++k) fp.Click("RefPlus");
  EXPECT_EQ(fp.RefNumber, 6);
  EXPECT_EQ(fp.tools.NivRef.caption, " 6");
  EXPECT_EQ(fp.tools.NumPix.caption, "1400");
  EXPECT_EQ(fp.tools.spLbd.caption, "800.00");
  for (int k = 0; k < 8; ++k) fp.Click("RefMoins");
  EXPECT_EQ(fp.RefNumber, 1);
  EXPECT_EQ(fp.tools.spLbd.caption, "450.00");
}

TEST_F(Spectro, EnterKeepsTheTypedWavelengthAndMovesOnAndANonNumberKeepsNothing) {
  fp.Click("spectro");
  fp.ShowReference();
  fp.tools.spLbd.caption = "435,833";  // a decimal comma reads too
  fp.Click("spLbd");
  EXPECT_FLOAT_EQ(fp.ActiveCalPoints[0].lambda, 435.833f);
  EXPECT_EQ(fp.SpectroParams.CalPoints, fp.ActiveCalPoints);
  EXPECT_EQ(fp.RefNumber, 2);
  const auto before = fp.ActiveCalPoints;
  fp.tools.spLbd.caption = "5x6";
  fp.Click("spLbd");
  EXPECT_EQ(fp.ActiveCalPoints, before);
  EXPECT_EQ(fp.RefNumber, 2);
  ASSERT_FALSE(port.messages.empty());
  EXPECT_NE(port.messages.back().find("5x6"), std::string::npos) << port.messages.back();
}

TEST_F(Spectro, ShowReferencePutsTheVerticalCursorsOnTheLineWhenItIsInView) {
  fp.Click("spectro");
  fp.Click("cursv");
  fp.ViewStart = 0;
  fp.ZoomStep = 4;
  fp.ShowReference();  // pixel 200
  EXPECT_EQ(fp.CursorX1, 50);
  EXPECT_EQ(fp.CursorX2, 50);
  fp.ViewStart = 1800;  // out of view: the cursors stay
  fp.ShowReference();
  EXPECT_EQ(fp.CursorX1, 50);
}

TEST_F(Spectro, LineUnderTheCursorIsEnteredThroughTheDialog) {
  fp.Click("spectro");
  fp.Click("cursv");
  fp.ViewStart = 100;
  fp.ZoomStep = 2;
  fp.CursorX1 = 150;
  fp.LastVCursor = 1;
  Answer("Tfeature spLbd1=546.074 ok");
  fp.Click("EditLambda1");
  EXPECT_EQ(fp.ActiveCalPoints[0].pixel, 400);  // 150 x 2 + 100
  EXPECT_FLOAT_EQ(fp.ActiveCalPoints[0].lambda, 546.074f);
  EXPECT_EQ(fp.RefNumber, 2);
}

TEST_F(Spectro, DefaultsThenCalibrationDialogChoosesTheSpline) {
  fp.Click("spectro");
  fp.tools.spLbd.caption = "470";
  fp.Click("spLbd");
  fp.Click("spInit");
  EXPECT_EQ(fp.ActiveCalPoints, optics::DefaultCalPoints());
  EXPECT_EQ(fp.RefNumber, 1);
  EXPECT_FLOAT_EQ(fp.stores.LambdaTab[300], 500.0f);
  EXPECT_FLOAT_EQ(fp.stores.LambdaTab[0], 350.0f);
  EXPECT_FLOAT_EQ(fp.stores.LambdaTab[2047], 1123.5f);

  // Cancelled: nothing changes; validated on the spline: the table and the kind.
  const auto linear = fp.stores.LambdaTab;
  Answer("Tparaint rdbSpline=1 cancel");
  fp.Click("spCalcul");
  EXPECT_EQ(fp.stores.LambdaTab, linear);
  EXPECT_EQ(fp.SpectroParams.Interpolation, 0);
  Answer("Tparaint rdbSpline=1 ok");
  fp.Click("spCalcul");
  EXPECT_EQ(fp.SpectroParams.Interpolation, 1);
  optics::LambdaTable spline = linear;
  optics::FillSpline(optics::DefaultCalPoints(), spline);
  EXPECT_EQ(fp.stores.LambdaTab, spline);
  EXPECT_FALSE(fp.paraint.ppdisp.visible);
}

TEST_F(Spectro, ReferenceSpectrumFromACurveFileOrFlatFromAnyOther) {
  fp.Click("spectro");
  // Another extension: a flat reference of level 1, and spCalY then lifts
  // any measured level to 255.
  const std::string text = TempFile("lamp.txt");
  std::ofstream(text) << "x";
  Answer(("open FileName=" + text + " ok").c_str());
  fp.Click("spOpnCal");
  EXPECT_EQ(fp.tools.spEtaFile.caption, "etalon.ccd");
  for (std::uint8_t v : fp.SpectroParams.RefSpectrum) ASSERT_EQ(v, 1);
  fp.stores.RawBuf[2].fill(3);
  fp.Click("spCalY");
  EXPECT_EQ(fp.stores.CurveBuf[2][700], 255);

  // A curve file: its curve becomes the reference; the settings stay.
  fp.Click("spCalY");
  signal::Curve lamp;
  for (int i = 0; i < kPixels; ++i) lamp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 200 + 20);
  fp.stores.RawBuf[2] = lamp;
  const std::string ccd = TempFile("LAMP.CCD");
  ASSERT_TRUE(fp.SaveCCD(ccd));
  fp.stores.RawBuf[2].fill(9);
  const auto prof = fp.ProfParams.NbPoints;
  Answer(("open FileName=" + ccd + " ok").c_str());
  fp.Click("spOpnCal");
  EXPECT_EQ(fp.tools.spEtaFile.caption, "LAMP.CCD");
  EXPECT_EQ(fp.SpectroParams.RefSpectrum, lamp);
  EXPECT_EQ(fp.stores.RawBuf[1], lamp);
  EXPECT_EQ(fp.stores.RawBuf[2][5], 9);  // the measured curve is kept
  EXPECT_EQ(fp.ProfParams.NbPoints, prof);
}

struct Simulation : Spectro {
  void SetUp() override {
    fp.Click("int");
    fp.stores.RawBuf[1].fill(40);  // the measured profile
  }
};

TEST_F(Simulation, OnPutsThePatternInCurveOneAndOffBringsTheMeasurementBack) {
  fp.Click("gosimu");
  EXPECT_EQ(fp.NbCurves, 2);
  EXPECT_EQ(fp.ProfParams.MaxCurves, 2);
  EXPECT_TRUE(fp.tools.superposition.down);
  EXPECT_FALSE(fp.tools.fft.enabled);
  EXPECT_EQ(fp.stores.RawBuf[2][10], 40);
  // Gaussian beam of 1 mm at start, height bar at the bottom: 128 at the
  // centre, exp(-0.5) of it 0.5 mm (35.7 pixels) out.
  EXPECT_EQ(fp.stores.RawBuf[1][1024], 128);
  EXPECT_NEAR(fp.stores.RawBuf[1][1060], 127.5 * std::exp(-2.0 * std::pow(36 * 0.014, 2)), 0.5);
  EXPECT_TRUE(fp.tools.ebxWaist.visible);
  // The shift bar moves the centre to 1024 + position.
  fp.ScrollTo("bar", 100);
  EXPECT_EQ(fp.stores.RawBuf[1][1124], 128);
  fp.Click("gosimu");
  EXPECT_EQ(fp.NbCurves, 1);
  EXPECT_EQ(fp.ProfParams.MaxCurves, 3);
  EXPECT_EQ(fp.stores.RawBuf[1][10], 40);
  EXPECT_FALSE(fp.tools.ebxWaist.visible);
}

TEST_F(Simulation, DialogPageSetsTheModelAndAFieldThatIsNoNumberChangesNothing) {
  fp.Click("gosimu");
  Answer("Tparaint page=0 unla=200 undi=100 ok");
  fp.Click("paramint");
  EXPECT_EQ(fp.paraint.choicePage, 0);
  EXPECT_DOUBLE_EQ(fp.paraint.Sim.SlitWidth, 2e-4);
  EXPECT_DOUBLE_EQ(fp.paraint.Sim.ScreenDistance, 1.0);
  EXPECT_FALSE(fp.tools.ebxWaist.visible);
  // One slit of 200 µm at 1 m: first minima at λL/a = 3.164 mm, 226 pixels out.
  EXPECT_EQ(fp.stores.RawBuf[1][1024], 128);
  EXPECT_LE(fp.stores.RawBuf[1][1024 + 226], 1);

  const auto sim = fp.paraint.Sim;
  Answer("Tparaint page=1 dela=150 dein=1.2.3 ok");
  fp.Click("paramint");
  EXPECT_EQ(fp.paraint.Sim.SlitWidth, sim.SlitWidth);  // not even the field before
  EXPECT_EQ(fp.paraint.Sim.SlitSpacing, sim.SlitSpacing);
  EXPECT_NE(fp.scriptError.find("d (mm)"), std::string::npos) << fp.scriptError;
  EXPECT_EQ(fp.paraint.FocusTo, "dein");
}

TEST_F(Simulation, WaistFollowsItsBarAndItsEdit) {
  fp.Click("gosimu");
  fp.ScrollTo("BarWaist", 50);
  EXPECT_DOUBLE_EQ(fp.paraint.Sim.Waist, 5e-4);
  EXPECT_EQ(fp.tools.ebxWaist.caption, "0.50");
  fp.tools.ebxWaist.caption = "2,345";
  fp.Click("ebxWaist");
  EXPECT_EQ(fp.waistBar.position, 234);  // 234.5 steps of 10 µm, rounded to even
  EXPECT_EQ(fp.tools.ebxWaist.caption, "2.34");
  fp.ScrollTo("BarWaist", 5000);
  EXPECT_EQ(fp.waistBar.position, 1000);
}

TEST_F(Simulation, HeldArrowsAccelerateUpToTheirCap) {
  for (int k = 0; k < 10; ++k) fp.ScrollStep("bar", false);
  EXPECT_EQ(fp.bar.smallChange, 64);
  for (int k = 0; k < 10; ++k) fp.ScrollStep("intensbar", false);
  EXPECT_EQ(fp.intensbar.smallChange, 32);
  fp.ScrollStep("bar", true);
  EXPECT_EQ(fp.bar.smallChange, 1);
}

TEST_F(Simulation, CalculatorShowsTheModesNotebook) {
  Answer("TMiCalc lolo=632.8 click=locpt ok");
  fp.Click("calc");
  EXPECT_TRUE(fp.miCalc.incomp.visible);
  EXPECT_FALSE(fp.miCalc.micomp.visible);
  fp.Click("opto");
  EXPECT_FALSE(fp.tools.calc.enabled);
}

}  // namespace
}  // namespace rovanel::app
