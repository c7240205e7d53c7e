// The processing pipeline through the window model: buttons, order of the
// steps, the spectrum, peaks, look-up tables, histograms and the dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "app/main_window.h"
#include "support/recording_port.h"

namespace rovanel::app {
namespace {

using Curve = signal::Curve;

BoxOptions Options() {
  BoxOptions o;
  o.kind = BoxKind::None;
  return o;
}

// Virtual time that moves on by 1 ms at every reading, as if each step of
// the model took that long.
class TickingClock final : public device::Clock {
 public:
  std::int64_t NowUs() override { return now_ += 1000; }
  void SleepUntilUs(std::int64_t t) override { now_ = std::max(now_, t); }

 private:
  std::int64_t now_ = 0;
};

struct Window : ::testing::Test {
  TickingClock clock;
  Box box{Options(), clock};
  support::RecordingPort port;
  TFp fp{box, port};

  void SetUp() override {
    fp.FormCreate();
    fp.FormShow();
  }
  // As a load would: the stored curve, then the pipeline.
  void Load(int k, const Curve& c) {
    fp.NbCurves = std::max(fp.NbCurves, k);
    fp.stores.RawBuf[k] = c;
    fp.ProcessCurves();
  }
  const Curve& Shown(int k) { return fp.stores.CurveBuf[k]; }
  void Release(const char* name) {
    if (fp.tools.Find(name)->down) fp.Click(name);
  }
};

Curve Ramp() {
  Curve c;
  for (int i = 0; i < 2048; ++i) c[i] = static_cast<std::uint8_t>(40 + (i * 37) % 100);
  return c;
}

Curve Flat(std::uint8_t v) {
  Curve c;
  c.fill(v);
  return c;
}

TEST_F(Window, ButtonsStartAsTheSettingsSay) {
  EXPECT_TRUE(fp.tools.filtrage.down);
  EXPECT_TRUE(fp.tools.lutnor.down);
  for (const char* up : {"calibration", "invert", "fft", "pics", "lutln", "lutexp", "gauss",
                         "cumul", "spCalY", "gosimu"})
    EXPECT_FALSE(fp.tools.Find(up)->down) << up;
  EXPECT_FALSE(fp.tools.picg.enabled);
  EXPECT_EQ(fp.tools.picx.caption, "-");
}

TEST_F(Window, ProcessingIsNeverCumulative) {
  Load(1, Ramp());
  fp.Click("calibration");
  fp.Click("invert");
  const Curve once = Shown(1);
  fp.ProcessCurves();
  EXPECT_EQ(Shown(1), once);
  // Releasing every button shows the raw curve again.
  Release("calibration");
  Release("invert");
  Release("filtrage");
  EXPECT_EQ(Shown(1), Ramp());
  EXPECT_EQ(fp.stores.RawBuf[1], Ramp());
}

TEST_F(Window, StepsRunInTheirOrder) {
  // A ramp 40..139 stretched to 0..255, then inverted: the smallest level
  // becomes 255. (Smoothing off to keep the arithmetic by hand.)
  Release("filtrage");
  Curve c = Flat(100);
  c[10] = 40;
  c[11] = 140;
  Load(1, c);
  fp.Click("calibration");
  fp.Click("invert");
  EXPECT_EQ(Shown(1)[10], 255);                          // 40 -> 0 -> 255
  EXPECT_EQ(Shown(1)[11], 0);                            // 140 -> 255 -> 0
  EXPECT_EQ(Shown(1)[0], 255 - std::lround(60 * 2.55));  // round(60 * 255/100) = 153
  // A flat curve stretches to zeros.
  Load(1, Flat(77));
  fp.ProcessCurves();
  EXPECT_EQ(Shown(1), Flat(255));
}

TEST_F(Window, SimulatedCurveOneIsNeitherStretchedNorSmoothedButStillInverted) {
  Curve spike = Flat(10);
  spike[500] = 200;
  Load(1, spike);
  Load(2, spike);
  fp.tools.gosimu.down = true;
  fp.Click("calibration");
  fp.Click("invert");
  Curve inverted = spike;
  for (auto& v : inverted) v = 255 - v;
  EXPECT_EQ(Shown(1), inverted);
  EXPECT_NE(Shown(2)[501], Shown(2)[0]);  // curve 2 smoothed: the spike spread
}

TEST_F(Window, LogScaleStretchesEveryCurveFirst) {
  Release("filtrage");
  Curve c = Flat(100);
  c[0] = 50;
  c[1] = 150;
  Load(1, c);
  fp.affichage.YScaleKind = "ln";
  fp.ProcessCurves();
  // 50 -> 0 -> round(46 ln 1) = 0; 150 -> 255 -> round(46 ln 256) = 255;
  // 100 -> round(50 * 2.5499999999999998) = 127 -> round(46 ln 128) = 223.
  EXPECT_EQ(Shown(1)[0], 0);
  EXPECT_EQ(Shown(1)[1], 255);
  EXPECT_EQ(Shown(1)[2], 223);
}

TEST_F(Window, ReferenceCorrectionAppliesToTheLastCurve) {
  Release("filtrage");
  fp.SpectroParams.RefSpectrum.fill(128);
  fp.SpectroParams.RefSpectrum[3] = 0;  // becomes 1
  Load(1, Flat(100));
  Load(2, Flat(100));
  fp.tools.spCalY.down = true;
  fp.ProcessCurves();
  EXPECT_EQ(Shown(1)[0], 100);
  EXPECT_EQ(Shown(2)[0], 199);  // round(255/128 * 100) = round(199.2)
  EXPECT_EQ(Shown(2)[3], 255);
  EXPECT_EQ(fp.SpectroParams.RefSpectrum[3], 1);
}

TEST_F(Window, LutButtonsKeepOneDownAndMapTheLevels) {
  Release("filtrage");
  Load(1, Flat(128));
  fp.Click("lutnor");  // already down: stays down
  EXPECT_TRUE(fp.tools.lutnor.down);
  fp.Click("lutln");
  EXPECT_TRUE(fp.tools.lutln.down);
  EXPECT_FALSE(fp.tools.lutnor.down);
  EXPECT_EQ(Shown(1)[0], 179);  // c = 2
  fp.Click("lutexp");
  EXPECT_FALSE(fp.tools.lutln.down);
  EXPECT_EQ(Shown(1)[0], 112);
  fp.Click("lutexp");
  EXPECT_TRUE(fp.tools.lutexp.down);
}

TEST_F(Window, LutCoefficientsComeFromTheirDialog) {
  Release("filtrage");
  Load(1, Flat(128));
  fp.Click("lutln");
  fp.dialogScript.Queue(*ParseDialogAnswer("Tparaint coefln=95 ok", fp.scriptError));
  fp.Click("plut");
  EXPECT_TRUE(fp.scriptError.empty()) << fp.scriptError;
  EXPECT_EQ(fp.OptoParams.CoefLn, 95);
  const double want = 255 * std::log(1 + 128 * 95 / 100.0) / std::log(1 + 255 * 95 / 100.0);
  EXPECT_EQ(Shown(1)[0], std::lround(want));
  EXPECT_FALSE(fp.paraint.pplut.visible);
}

TEST_F(Window, FilterDialogWritesBackOrderAndCount) {
  Load(1, Ramp());
  fp.dialogScript.Queue(*ParseDialogAnswer("Tfeature ordre=7 nbmoy=12 ok", fp.scriptError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_EQ(fp.ProfParams.FilterOrder, 7);
  EXPECT_EQ(fp.ProfParams.AvgCount, 12);
  EXPECT_FALSE(fp.feature.pofiltre.visible);
  // Cancel keeps them.
  fp.dialogScript.Queue(*ParseDialogAnswer("Tfeature ordre=3 cancel", fp.scriptError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_EQ(fp.ProfParams.FilterOrder, 7);
  // The Michelson mode has its own order and no count.
  fp.tools.mi.down = true;
  fp.dialogScript.Queue(*ParseDialogAnswer("Tfeature nbmoy=5 ok", fp.scriptError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_NE(fp.scriptError.find("nbmoy"), std::string::npos);
}

TEST_F(Window, ProfileSpectrumOfSixteenPeriods) {
  Release("filtrage");
  Curve c;
  for (int i = 0; i < 2048; ++i)
    c[i] = static_cast<std::uint8_t>(std::lround(128 + 100 * std::cos(2 * M_PI * 16 * i / 2048)));
  Load(1, c);
  fp.Click("fft");
  EXPECT_EQ(fp.NbPoints, 1024);
  EXPECT_EQ(Shown(1)[16], 255);
  for (int k = 1; k < 1024; ++k) {
    if (k == 16) continue;
    ASSERT_LE(Shown(1)[k], 2) << k;
  }
  EXPECT_TRUE(fp.ProfParams.fftValid);
  // The stored spectrum is reused until something clears it.
  fp.stores.FftLevels[16] = 7;
  fp.ProcessCurves();
  EXPECT_EQ(Shown(1)[16], 7);
  // The processing buttons are off in the spectrum view; any of them saving
  // its state makes the spectrum stale.
  EXPECT_FALSE(fp.tools.invert.enabled);
  fp.calibrationClick();
  EXPECT_EQ(Shown(1)[16], 255);
}

TEST_F(Window, SpectrumCanBeCancelledFromTheGauge) {
  fp.tools.mi.down = true;
  for (std::uint32_t i = 0; i < 130560; ++i)
    fp.stores.MiSerieRaw.SetValue(i, static_cast<std::uint8_t>(128 + 100 * std::sin(i * 0.3)));
  fp.MiParams.NbPoints = 130560;
  port.onPump = [&](int) { fp.gjauge.CancelClick(); };
  fp.gjauge.CancelVisible = true;
  fp.tools.fft.down = true;
  fp.fftClick();
  EXPECT_EQ(fp.MiParams.FftSize, 131072);
  EXPECT_GE(fp.stores.FftData.Capacity(), 131072u);
  EXPECT_FALSE(fp.gjauge.Visible());
  EXPECT_GE(port.pumps, 1);
  EXPECT_LT(port.pumps, 1000);  // pumped by the clock, not after every butterfly
}

TEST_F(Window, MichelsonSeriesGoesThroughItsOwnSteps) {
  fp.tools.mi.down = true;
  fp.tools.filtrage.down = false;
  fp.MiParams.NbPoints = 6;
  const std::uint8_t raw[6] = {10, 20, 30, 40, 50, 60};
  for (int i = 0; i < 6; ++i) fp.stores.MiSerieRaw.SetValue(i, raw[i]);
  fp.Click("invert");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(fp.stores.MiSerie.GetValue(i), 255 - raw[i]) << i;
  fp.Click("calibration");  // stretched to 0..255 first, then inverted
  EXPECT_EQ(fp.stores.MiSerie.GetValue(0), 255);
  EXPECT_EQ(fp.stores.MiSerie.GetValue(5), 0);
  EXPECT_EQ(fp.stores.MiSerieRaw.GetValue(0), 10);
}

TEST_F(Window, PeaksAreVisitedOneByOneInTheVisibleWindow) {
  Release("filtrage");
  // Three separated peaks; smoothing widens them but keeps them apart.
  Curve c = Flat(10);
  for (int p : {300, 900, 1500})
    for (int d = -20; d <= 20; ++d) c[p + d] = static_cast<std::uint8_t>(200 - 4 * std::abs(d));
  Load(1, c);
  fp.Click("pics");
  EXPECT_EQ(fp.PeakCount, 3u);
  EXPECT_TRUE(fp.tools.picd.enabled);
  EXPECT_TRUE(fp.cercle.visible);
  // Mark at the centre + 1 (a one-sample top), level as shown: X in µm.
  EXPECT_EQ(fp.tools.picx.caption, "Xp =   4214.00µm");
  const int level = Shown(1)[301];
  char want[32];
  std::snprintf(want, sizeof want, "Ap =%4.0f%%", level / 255.0 * 100);
  EXPECT_EQ(fp.tools.picy.caption, want);
  fp.Click("picd");
  EXPECT_EQ(fp.tools.picx.caption, "Xp =  12614.00µm");
  fp.Click("picd");
  fp.Click("picd");  // past the last: stays on it
  EXPECT_EQ(fp.tools.picx.caption, "Xp =  21014.00µm");
  fp.Click("picg");
  EXPECT_EQ(fp.tools.picx.caption, "Xp =  12614.00µm");
  EXPECT_EQ(fp.cercle.left, (901 / 4) - 6 + 1);
  fp.Click("pics");
  EXPECT_EQ(fp.tools.picx.caption, "-");
  EXPECT_FALSE(fp.cercle.visible);
  EXPECT_FALSE(fp.tools.picg.enabled);
}

TEST_F(Window, HistogramBandUnderAHalfHeightCurve) {
  Release("filtrage");
  Release("realgris");  // its band would go over the curve with the histogram
  Load(1, Flat(100));   // class 6 of 16 levels: one bar of 100 %
  fp.Click("gauss");
  EXPECT_TRUE(fp.BandMode);
  // Grey (96, 96, 96) bar over columns 192..223 from the band's bottom row.
  EXPECT_EQ(fp.ecran.Pixel(200, 129 + 126), (display::Rgb{96, 96, 96}));
  EXPECT_EQ(fp.ecran.Pixel(100, 129 + 126), display::kWhite);
  // The curve at half height: row 127 - 50.
  EXPECT_EQ(fp.ecran.Pixel(10, 77), display::kBlack);
  fp.dialogScript.Queue(*ParseDialogAnswer("Tfeature boxbar=3 ok", fp.scriptError));
  fp.Click("phis");
  EXPECT_EQ(fp.HistClassExp, 3);  // classes of 64 levels: class 1 covers 64..127
  EXPECT_EQ(fp.ecran.Pixel(130, 129 + 126), (display::Rgb{64, 64, 64}));
  fp.Click("cumul");
  EXPECT_FALSE(fp.tools.gauss.down);
}

}  // namespace
}  // namespace rovanel::app
