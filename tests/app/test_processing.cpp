// The processing pipeline through the window model: buttons, order of the
// steps, the spectrum, peaks, look-up tables, histograms and the dialogs
// (the steps themselves are tested on their own in test_model.cpp).
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
  void Load(const Curve& c) { fp.FillLastCurve(c); }
  const Curve& Shown(int k) { return fp.Curves().Shown(k); }
  std::string parseError;
  void Release(const char* name) {
    if (fp.Controls().Find(name)->down) fp.Click(name);
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
  EXPECT_TRUE(fp.Controls().filtrage.down);
  EXPECT_TRUE(fp.Controls().lutnor.down);
  for (const char* up : {"calibration", "invert", "fft", "pics", "lutln", "lutexp", "gauss",
                         "cumul", "spCalY", "gosimu"})
    EXPECT_FALSE(fp.Controls().Find(up)->down) << up;
  EXPECT_FALSE(fp.Controls().picg.enabled);
  EXPECT_EQ(fp.Controls().picx.caption, "-");
}

TEST_F(Window, ProcessingIsNeverCumulative) {
  Load(Ramp());
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
  EXPECT_EQ(fp.Curves().Raw(1), Ramp());
}

TEST_F(Window, StepsRunInTheirOrder) {
  // A ramp 40..139 stretched to 0..255, then inverted: the smallest level
  // becomes 255. (Smoothing off to keep the arithmetic by hand.)
  Release("filtrage");
  Curve c = Flat(100);
  c[10] = 40;
  c[11] = 140;
  Load(c);
  fp.Click("calibration");
  fp.Click("invert");
  EXPECT_EQ(Shown(1)[10], 255);                          // 40 -> 0 -> 255
  EXPECT_EQ(Shown(1)[11], 0);                            // 140 -> 255 -> 0
  EXPECT_EQ(Shown(1)[0], 255 - std::lround(60 * 2.55));  // round(60 * 255/100) = 153
  // A flat curve stretches to zeros.
  Load(Flat(77));
  fp.ProcessCurves();
  EXPECT_EQ(Shown(1), Flat(255));
}

TEST_F(Window, LutButtonsKeepOneDownAndMapTheLevels) {
  Release("filtrage");
  Load(Flat(128));
  fp.Click("lutnor");  // already down: stays down
  EXPECT_TRUE(fp.Controls().lutnor.down);
  fp.Click("lutln");
  EXPECT_TRUE(fp.Controls().lutln.down);
  EXPECT_FALSE(fp.Controls().lutnor.down);
  EXPECT_EQ(Shown(1)[0], 179);  // c = 2
  fp.Click("lutexp");
  EXPECT_FALSE(fp.Controls().lutln.down);
  EXPECT_EQ(Shown(1)[0], 112);
  fp.Click("lutexp");
  EXPECT_TRUE(fp.Controls().lutexp.down);
}

TEST_F(Window, LutCoefficientsComeFromTheirDialog) {
  Release("filtrage");
  Load(Flat(128));
  fp.Click("lutln");
  fp.Answers().Queue(*ParseDialogAnswer("Tparaint coefln=95 ok", parseError));
  fp.Click("plut");
  EXPECT_TRUE(fp.TakeScriptError().empty()) << fp.ScriptError();
  EXPECT_EQ(fp.Opto().CoefLn, 95);
  const double want = 255 * std::log(1 + 128 * 95 / 100.0) / std::log(1 + 255 * 95 / 100.0);
  EXPECT_EQ(Shown(1)[0], std::lround(want));
  EXPECT_FALSE(fp.Paraint().pplut.visible);
}

TEST_F(Window, FilterDialogWritesBackOrderAndCount) {
  Load(Ramp());
  fp.Answers().Queue(*ParseDialogAnswer("Tfeature ordre=7 nbmoy=12 ok", parseError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_EQ(fp.Prof().FilterOrder, 7);
  EXPECT_EQ(fp.Prof().AvgCount, 12);
  EXPECT_FALSE(fp.Feature().pofiltre.visible);
  // Cancel keeps them.
  fp.Answers().Queue(*ParseDialogAnswer("Tfeature ordre=3 cancel", parseError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_EQ(fp.Prof().FilterOrder, 7);
  // The Michelson mode has its own order and no count.
  fp.Click("mi");
  fp.Answers().Queue(*ParseDialogAnswer("Tfeature nbmoy=5 ok", parseError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_NE(fp.ScriptError().find("nbmoy"), std::string::npos);
}

TEST_F(Window, ProfileSpectrumOfSixteenPeriods) {
  Release("filtrage");
  Curve c;
  for (int i = 0; i < 2048; ++i)
    c[i] = static_cast<std::uint8_t>(std::lround(128 + 100 * std::cos(2 * M_PI * 16 * i / 2048)));
  Load(c);
  fp.Click("fft");
  EXPECT_EQ(fp.PointCount(), 1024);
  EXPECT_EQ(Shown(1)[16], 255);
  for (int k = 1; k < 1024; ++k) {
    if (k == 16) continue;
    ASSERT_LE(Shown(1)[k], 2) << k;
  }
  EXPECT_TRUE(fp.Prof().fftValid);
  // The stored spectrum is reused until something clears it: no gauge.
  const int gauge = port.gaugeChanges;
  fp.ProcessCurves();
  EXPECT_EQ(port.gaugeChanges, gauge);
  EXPECT_EQ(Shown(1)[16], 255);
  // The processing buttons are off in the spectrum view; any of them saving
  // its state makes the spectrum stale.
  EXPECT_FALSE(fp.Controls().invert.enabled);
  fp.calibrationClick();
  EXPECT_EQ(Shown(1)[16], 255);
}

TEST_F(Window, SpectrumCanBeCancelledFromTheGauge) {
  fp.Click("mi");
  std::vector<std::uint8_t> series(130560);
  for (std::uint32_t i = 0; i < series.size(); ++i)
    series[i] = static_cast<std::uint8_t>(128 + 100 * std::sin(i * 0.3));
  fp.FillSeries(series);
  port.onPump = [&](int) { fp.CancelGauge(); };
  fp.Click("fft");
  EXPECT_EQ(fp.Mi().FftSize, 131072);
  EXPECT_GE(fp.Stores().FftData.Capacity(), 131072u);
  EXPECT_FALSE(fp.Gauge().Visible());
  EXPECT_GE(port.pumps, 1);
  EXPECT_LT(port.pumps, 1000);  // pumped by the clock, not after every butterfly
}

TEST_F(Window, PeaksAreVisitedOneByOneInTheVisibleWindow) {
  Release("filtrage");
  // Three separated peaks; smoothing widens them but keeps them apart.
  Curve c = Flat(10);
  for (int p : {300, 900, 1500})
    for (int d = -20; d <= 20; ++d) c[p + d] = static_cast<std::uint8_t>(200 - 4 * std::abs(d));
  Load(c);
  fp.Click("pics");
  EXPECT_EQ(fp.Peaks(), 3u);
  EXPECT_TRUE(fp.Controls().picd.enabled);
  EXPECT_TRUE(fp.Plot().PeakCircle().visible);
  // Mark at the centre + 1 (a one-sample top), level as shown: X in µm.
  EXPECT_EQ(fp.Controls().picx.caption, "Xp =   4214.00µm");
  const int level = Shown(1)[301];
  char want[32];
  std::snprintf(want, sizeof want, "Ap =%4.0f%%", level / 255.0 * 100);
  EXPECT_EQ(fp.Controls().picy.caption, want);
  fp.Click("picd");
  EXPECT_EQ(fp.Controls().picx.caption, "Xp =  12614.00µm");
  fp.Click("picd");
  fp.Click("picd");  // past the last: stays on it
  EXPECT_EQ(fp.Controls().picx.caption, "Xp =  21014.00µm");
  fp.Click("picg");
  EXPECT_EQ(fp.Controls().picx.caption, "Xp =  12614.00µm");
  EXPECT_EQ(fp.Plot().PeakCircle().left, (901 / 4) - 6 + 1);
  fp.Click("pics");
  EXPECT_EQ(fp.Controls().picx.caption, "-");
  EXPECT_FALSE(fp.Plot().PeakCircle().visible);
  EXPECT_FALSE(fp.Controls().picg.enabled);
}

TEST_F(Window, HistogramBandUnderAHalfHeightCurve) {
  Release("filtrage");
  Release("realgris");  // its band would go over the curve with the histogram
  Load(Flat(100));   // class 6 of 16 levels: one bar of 100 %
  fp.Click("gauss");
  EXPECT_TRUE(fp.Plot().BandMode());
  // Grey (96, 96, 96) bar over columns 192..223 from the band's bottom row.
  EXPECT_EQ(fp.Picture().Pixel(200, 129 + 126), (display::Rgb{96, 96, 96}));
  EXPECT_EQ(fp.Picture().Pixel(100, 129 + 126), display::kWhite);
  // The curve at half height: row 127 - 50.
  EXPECT_EQ(fp.Picture().Pixel(10, 77), display::kBlack);
  fp.Answers().Queue(*ParseDialogAnswer("Tfeature boxbar=3 ok", parseError));
  fp.Click("phis");
  EXPECT_EQ(fp.HistogramClassExp(), 3);  // classes of 64 levels: class 1 covers 64..127
  EXPECT_EQ(fp.Picture().Pixel(130, 129 + 126), (display::Rgb{64, 64, 64}));
  fp.Click("cumul");
  EXPECT_FALSE(fp.Controls().gauss.down);
}

}  // namespace
}  // namespace rovanel::app

namespace rovanel::app {
namespace {

// Two lines of 150 and 60 levels and small bumps of 6 levels on the floor:
// every peak by default; through the filter dialog's minimum prominence the
// bumps go, then the weaker line; the stepping visits only what is left.
TEST_F(Window, MinimumProminenceLeavesTheLinesThatMatterToStepThrough) {
  Release("filtrage");
  Curve c = Flat(20);
  for (int p = 40; p < 2048; p += 60)
    for (int d = -3; d <= 3; ++d) c[p + d] = static_cast<std::uint8_t>(26 - std::abs(d));
  for (const auto& [centre, height] : {std::pair{700, 150}, {1300, 60}})
    for (int d = -20; d <= 20; ++d)
      c[centre + d] = static_cast<std::uint8_t>(20 + height * (20 - std::abs(d)) / 20);
  Load(c);
  fp.Click("pics");
  EXPECT_GT(fp.Peaks(), 20u);
  fp.Answers().Queue(*ParseDialogAnswer("Tfeature promin=10 ok", parseError));
  fp.Click("FiltrageMoyennage1");
  EXPECT_EQ(fp.PeakProminence(), 10);
  EXPECT_FALSE(fp.Feature().ppics.visible);
  EXPECT_EQ(fp.Peaks(), 2u);
  EXPECT_EQ(fp.Controls().picx.caption, "Xp =   9814.00µm");  // pixel 701
  fp.Click("picd");
  EXPECT_EQ(fp.Controls().picx.caption, "Xp =  18214.00µm");  // pixel 1301
  fp.SetPeakProminence(30);  // 76 levels: the 60-level line goes too
  EXPECT_EQ(fp.Peaks(), 1u);
  fp.SetPeakProminence(0);
  EXPECT_GT(fp.Peaks(), 20u);
}

}  // namespace
}  // namespace rovanel::app
