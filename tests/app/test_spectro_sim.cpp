// The spectrometer calibration and the interference simulation in the
// window: reference lines, the calibration dialog, the reference spectrum,
// the computed pattern beside the measured one, and the calculator.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/dialogs/dialog_script.h"
#include "app/main_window.h"
#include "optics/simulation.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

struct Spectro : ::testing::Test, support::NoBoxRig {
  void Answer(const char* text) {
    std::string error;
    auto a = ParseDialogAnswer(text, error);
    ASSERT_TRUE(a) << error;
    fp.Answers().Queue(*a);
  }
  std::string TempFile(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "rovanel-spectro-test";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
  }
};

TEST_F(Spectro, ReferenceNumberStaysWithinOneToSixAndShowsItsLine) {
  fp.Click("spectro");
  EXPECT_EQ(fp.Controls().NivRef.caption, " 1");
  EXPECT_EQ(fp.Controls().NumPix.caption, "200");
  EXPECT_EQ(fp.Controls().spLbd.caption, "450.00");
  for (int k = 0; k < 8; ++k) fp.Click("RefPlus");
  EXPECT_EQ(fp.ReferenceNumber(), 6);
  EXPECT_EQ(fp.Controls().NivRef.caption, " 6");
  EXPECT_EQ(fp.Controls().NumPix.caption, "1400");
  EXPECT_EQ(fp.Controls().spLbd.caption, "800.00");
  for (int k = 0; k < 8; ++k) fp.Click("RefMoins");
  EXPECT_EQ(fp.ReferenceNumber(), 1);
  EXPECT_EQ(fp.Controls().spLbd.caption, "450.00");
}

TEST_F(Spectro, EnterKeepsTheTypedWavelengthAndMovesOnAndANonNumberKeepsNothing) {
  fp.Click("spectro");
  fp.ShowReference();
  fp.TypeText("spLbd", "435,833");  // a decimal comma reads too
  fp.Click("spLbd");
  EXPECT_FLOAT_EQ(fp.References()[0].lambda, 435.833f);
  EXPECT_EQ(fp.Spectro().CalPoints, fp.References());
  EXPECT_EQ(fp.ReferenceNumber(), 2);
  const auto before = fp.References();
  fp.TypeText("spLbd", "5x6");
  fp.Click("spLbd");
  EXPECT_EQ(fp.References(), before);
  EXPECT_EQ(fp.ReferenceNumber(), 2);
  ASSERT_FALSE(port.messages.empty());
  EXPECT_NE(port.messages.back().find("5x6"), std::string::npos) << port.messages.back();
}

TEST_F(Spectro, ShowReferencePutsTheVerticalCursorsOnTheLineWhenItIsInView) {
  fp.Click("spectro");
  fp.Click("cursv");
  fp.SetZoom(2048, 4);
  ASSERT_EQ(fp.Plot().ViewStart(), 0);
  fp.ShowReference();  // pixel 200
  EXPECT_EQ(fp.Plot().Cursor().x1, 50);
  EXPECT_EQ(fp.Plot().Cursor().x2, 50);
  fp.SetZoom(2048, 1);
  fp.deplacementScroll(48);
  ASSERT_EQ(fp.Plot().ViewStart(), 1536);  // out of view: the cursors stay
  fp.ShowReference();
  EXPECT_EQ(fp.Plot().Cursor().x1, 50);
}

TEST_F(Spectro, LineUnderTheCursorIsEnteredThroughTheDialog) {
  fp.Click("spectro");
  fp.Click("cursv");
  fp.SetZoom(2048, 2);
  fp.deplacementScroll(3);
  ASSERT_EQ(fp.Plot().ViewStart(), 96);
  fp.ecranMouseDown(TFp::MouseButton::Left, 150, 20);  // X1 (at 100) is the nearer
  fp.ecranMouseUp();
  ASSERT_EQ(fp.Plot().Cursor().lastVertical, 1);
  Answer("Tfeature spLbd1=546.074 ok");
  fp.Click("EditLambda1");
  EXPECT_EQ(fp.References()[0].pixel, 396);  // 150 x 2 + 96
  EXPECT_FLOAT_EQ(fp.References()[0].lambda, 546.074f);
  EXPECT_EQ(fp.ReferenceNumber(), 2);
}

TEST_F(Spectro, DefaultsThenCalibrationDialogChoosesTheSpline) {
  fp.Click("spectro");
  fp.TypeText("spLbd", "470");
  fp.Click("spLbd");
  fp.Click("spInit");
  EXPECT_EQ(fp.References(), optics::DefaultCalPoints());
  EXPECT_EQ(fp.ReferenceNumber(), 1);
  EXPECT_FLOAT_EQ(fp.Stores().LambdaTab[300], 500.0f);
  EXPECT_FLOAT_EQ(fp.Stores().LambdaTab[0], 350.0f);
  EXPECT_FLOAT_EQ(fp.Stores().LambdaTab[2047], 1123.5f);

  // Cancelled: nothing changes; validated on the spline: the table and the kind.
  const auto linear = fp.Stores().LambdaTab;
  Answer("Tparaint rdbSpline=1 cancel");
  fp.Click("spCalcul");
  EXPECT_EQ(fp.Stores().LambdaTab, linear);
  EXPECT_EQ(fp.Spectro().Interpolation, 0);
  Answer("Tparaint rdbSpline=1 ok");
  fp.Click("spCalcul");
  EXPECT_EQ(fp.Spectro().Interpolation, 1);
  optics::LambdaTable spline = linear;
  optics::FillSpline(optics::DefaultCalPoints(), spline);
  EXPECT_EQ(fp.Stores().LambdaTab, spline);
  EXPECT_FALSE(fp.Paraint().ppdisp.visible);
}

TEST_F(Spectro, ReferenceSpectrumFromACurveFileOrFlatFromAnyOther) {
  fp.Click("spectro");
  // Another extension: a flat reference of level 1, and spCalY then lifts
  // any measured level to 255.
  const std::string text = TempFile("lamp.txt");
  std::ofstream(text) << "x";
  Answer(("open FileName=" + text + " ok").c_str());
  fp.Click("spOpnCal");
  EXPECT_EQ(fp.Controls().spEtaFile.caption, "etalon.ccd");
  for (std::uint8_t v : fp.Spectro().RefSpectrum) ASSERT_EQ(v, 1);
  signal::Curve three;
  three.fill(3);
  fp.SetRawCurve(2, three);
  fp.Click("spCalY");
  EXPECT_EQ(fp.Curves().Shown(2)[700], 255);

  // A curve file: its curve becomes the reference; the settings stay.
  fp.Click("spCalY");
  signal::Curve lamp;
  for (int i = 0; i < kPixels; ++i) lamp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 200 + 20);
  fp.SetRawCurve(2, lamp);
  const std::string ccd = TempFile("LAMP.CCD");
  ASSERT_TRUE(fp.SaveCCD(ccd));
  signal::Curve nine;
  nine.fill(9);
  fp.SetRawCurve(2, nine);
  const auto prof = fp.Prof().NbPoints;
  Answer(("open FileName=" + ccd + " ok").c_str());
  fp.Click("spOpnCal");
  EXPECT_EQ(fp.Controls().spEtaFile.caption, "LAMP.CCD");
  EXPECT_EQ(fp.Spectro().RefSpectrum, lamp);
  EXPECT_EQ(fp.Curves().Raw(1), lamp);
  EXPECT_EQ(fp.Curves().Raw(2)[5], 9);  // the measured curve is kept
  EXPECT_EQ(fp.Prof().NbPoints, prof);
}

struct Simulation : Spectro {
  void SetUp() override {
    fp.Click("int");
    signal::Curve measured;
    measured.fill(40);
    fp.SetRawCurve(1, measured);  // the measured profile
  }
};

TEST_F(Simulation, OnPutsThePatternInCurveOneAndOffBringsTheMeasurementBack) {
  fp.Click("gosimu");
  EXPECT_EQ(fp.Curves().Count(), 2);
  EXPECT_EQ(fp.Prof().MaxCurves, 2);
  EXPECT_TRUE(fp.Controls().superposition.down);
  EXPECT_FALSE(fp.Controls().fft.enabled);
  EXPECT_EQ(fp.Curves().Raw(2)[10], 40);
  // Gaussian beam of 1 mm at start, height bar at the bottom: 128 at the
  // centre, exp(-0.5) of it 0.5 mm (35.7 pixels) out.
  EXPECT_EQ(fp.Curves().Raw(1)[1024], 128);
  EXPECT_NEAR(fp.Curves().Raw(1)[1060], 127.5 * std::exp(-2.0 * std::pow(36 * 0.014, 2)), 0.5);
  EXPECT_TRUE(fp.Controls().ebxWaist.visible);
  // The shift bar moves the centre to 1024 + position.
  fp.ScrollTo("bar", 100);
  EXPECT_EQ(fp.Curves().Raw(1)[1124], 128);
  fp.Click("gosimu");
  EXPECT_EQ(fp.Curves().Count(), 1);
  EXPECT_EQ(fp.Prof().MaxCurves, 3);
  EXPECT_EQ(fp.Curves().Raw(1)[10], 40);
  EXPECT_FALSE(fp.Controls().ebxWaist.visible);
}

TEST_F(Simulation, DialogPageSetsTheModelAndAFieldThatIsNoNumberChangesNothing) {
  fp.Click("gosimu");
  Answer("Tparaint page=0 unla=200 undi=100 ok");
  fp.Click("paramint");
  EXPECT_EQ(fp.Paraint().choicePage, 0);
  EXPECT_DOUBLE_EQ(fp.Paraint().Sim.SlitWidth, 2e-4);
  EXPECT_DOUBLE_EQ(fp.Paraint().Sim.ScreenDistance, 1.0);
  EXPECT_FALSE(fp.Controls().ebxWaist.visible);
  // One slit of 200 µm at 1 m: first minima at λL/a = 3.164 mm, 226 pixels out.
  EXPECT_EQ(fp.Curves().Raw(1)[1024], 128);
  EXPECT_LE(fp.Curves().Raw(1)[1024 + 226], 1);

  const auto sim = fp.Paraint().Sim;
  Answer("Tparaint page=1 dela=150 dein=1.2.3 ok");
  fp.Click("paramint");
  EXPECT_EQ(fp.Paraint().Sim.SlitWidth, sim.SlitWidth);  // not even the field before
  EXPECT_EQ(fp.Paraint().Sim.SlitSpacing, sim.SlitSpacing);
  EXPECT_NE(fp.ScriptError().find("d (mm)"), std::string::npos) << fp.ScriptError();
  EXPECT_EQ(fp.Paraint().FocusTo, "dein");
}

TEST_F(Simulation, WaistFollowsItsBarAndItsEdit) {
  fp.Click("gosimu");
  fp.ScrollTo("BarWaist", 50);
  EXPECT_DOUBLE_EQ(fp.Paraint().Sim.Waist, 5e-4);
  EXPECT_EQ(fp.Controls().ebxWaist.caption, "0.50");
  fp.TypeText("ebxWaist", "2,345");
  fp.Click("ebxWaist");
  EXPECT_EQ(fp.ScrollBarOf("BarWaist")->position, 234);  // 234.5 steps of 10 µm, rounded to even
  EXPECT_EQ(fp.Controls().ebxWaist.caption, "2.34");
  fp.ScrollTo("BarWaist", 5000);
  EXPECT_EQ(fp.ScrollBarOf("BarWaist")->position, 1000);
}

TEST_F(Simulation, HeldArrowsAccelerateUpToTheirCap) {
  for (int k = 0; k < 10; ++k) fp.ScrollStep("bar", false);
  EXPECT_EQ(fp.ScrollBarOf("bar")->smallChange, 64);
  for (int k = 0; k < 10; ++k) fp.ScrollStep("intensbar", false);
  EXPECT_EQ(fp.ScrollBarOf("intensbar")->smallChange, 32);
  fp.ScrollStep("bar", true);
  EXPECT_EQ(fp.ScrollBarOf("bar")->smallChange, 1);
}

TEST_F(Simulation, CalculatorShowsTheModesNotebook) {
  Answer("TMiCalc lolo=632.8 click=locpt ok");
  fp.Click("calc");
  EXPECT_TRUE(fp.MiCalc().incomp.visible);
  EXPECT_FALSE(fp.MiCalc().micomp.visible);
  fp.Click("opto");
  EXPECT_FALSE(fp.Controls().calc.enabled);
}

// A single-slit pattern fitted with the Gaussian page at start: the result
// names its model, and the model that plainly fits better is offered.
TEST_F(Simulation, TheFitNamesItsModelAndOffersOneThatFitsClearlyBetter) {
  optics::SimulationParams slit = fp.Paraint().Sim;
  slit.SlitWidth = 1.5e-4;
  // On a background of 10 levels, as a lit room gives: no sample at 0.
  auto pattern = optics::ComputeSimulation(slit, optics::kPageOneSlit, 0, 255);
  for (auto& level : pattern) level = static_cast<std::uint8_t>(level + 10);
  fp.SetRawCurve(1, pattern);
  ASSERT_EQ(fp.Paraint().choicePage, optics::kPageGaussian);
  port.messages.clear();
  fp.Click("Ajuster");
  ASSERT_TRUE(fp.Fit() && fp.Fit()->ok);
  ASSERT_FALSE(port.messages.empty());
  const std::string& said = port.messages.back();
  EXPECT_EQ(said.rfind("Model: Gaussian beam\n", 0), 0u) << said;
  EXPECT_NE(said.find("The \"1 slit\" model describes this curve better"), std::string::npos) << said;
  EXPECT_EQ(fp.FitModel(), optics::kPageGaussian);
  const auto& rms = fp.FitRmsByModel();
  EXPECT_LT(rms[optics::kPageOneSlit], 0.5 * rms[optics::kPageGaussian]) << said;
}

}  // namespace
}  // namespace rovanel::app
