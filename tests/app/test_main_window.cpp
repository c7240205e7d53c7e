#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numeric>

#include "app/main_window.h"
#include "support/frame_server.h"
#include "support/recording_port.h"
#include "support/scripted_driver.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

using display::Rgb;
using support::Levels;

// The window model over a box that serves chosen frames, on virtual time.
struct ServedWindow : ::testing::Test, support::ServedRig {
  void SetUp() override {
    // Shown as acquired, at full height: no smoothing and no grey band
    // (both start on).
    fp.Click("filtrage");
    fp.Click("realgris");
  }
  const Levels& Raw(int k) { return fp.Curves().Raw(k); }
};

Levels Flat(std::uint8_t v) {
  Levels l;
  l.fill(v);
  return l;
}

TEST_F(ServedWindow, StartsWithOneWhiteCurveDrawnOnTheTopRow) {
  EXPECT_EQ(fp.Curves().Count(), 1);
  EXPECT_EQ(fp.Curves().Raw(1)[0], 255);
  EXPECT_EQ(fp.Curves().Raw(2)[0], 0);
  EXPECT_EQ(fp.Plot().Style(), display::TraceStyle::Pics);
  EXPECT_TRUE(fp.Controls().Pics1.down);
  EXPECT_FALSE(fp.Controls().Vecteurs1.down);
  // The last segment's end pixel is never drawn.
  for (int x = 0; x < kScreenWidth - 1; ++x) {
    ASSERT_EQ(fp.Picture().Pixel(x, 0), display::kBlack) << x;
    ASSERT_EQ(fp.Picture().Pixel(x, 1), display::kWhite) << x;
  }
  EXPECT_EQ(fp.Picture().Pixel(kScreenWidth - 1, 0), display::kWhite);
  EXPECT_EQ(fp.WindowTitle(), "ROVANEL");
}

TEST_F(ServedWindow, SingleAcquisitionStoresTheFrameAndShowsIt) {
  Levels light = Flat(0);
  light[0] = light[1] = light[2] = light[3] = 200;  // column 0 of the plot
  server.Push(light);
  ASSERT_TRUE(fp.Click("acquisition"));
  EXPECT_EQ(Raw(1), light);
  EXPECT_EQ(fp.Curves().Shown(1), light);
  EXPECT_FALSE(fp.Prof().Averaged);
  EXPECT_EQ(fp.LastAcquisition(), 0);
  EXPECT_EQ(fp.Picture().Pixel(0, 255 - 200), display::kBlack);
  EXPECT_EQ(fp.Picture().Pixel(5, 255), display::kBlack);
  EXPECT_EQ(port.gaugeChanges, 0);
}

TEST_F(ServedWindow, AveragingRoundsEachPixelToNearestWithHalvesToEven) {
  // Pixel 0 reads 10, 11, 11, 11; pixel 1 reads 0, 0, 1, 1; pixel 2 reads 1, 1, 2, 2.
  const std::uint8_t reads[3][4] = {{10, 11, 11, 11}, {0, 0, 1, 1}, {1, 1, 2, 2}};
  for (int f = 0; f < 4; ++f) {
    Levels l = Flat(100);
    for (int p = 0; p < 3; ++p) l[p] = reads[p][f];
    server.Push(l);
  }
  fp.Click("moyenne");
  fp.SetSensitivity(3);
  const std::int64_t start = clock.NowUs();
  fp.Click("acquisition");
  EXPECT_EQ(server.FramesServed(), 4);
  EXPECT_EQ(Raw(1)[0], 11);
  EXPECT_EQ(Raw(1)[1], 0);
  EXPECT_EQ(Raw(1)[2], 2);
  EXPECT_EQ(Raw(1)[3], 100);
  EXPECT_TRUE(fp.Prof().Averaged);
  EXPECT_EQ(fp.Prof().Level, 3);
  // Three waits of 10 + 5 * 3 ms between the four frames.
  EXPECT_GE(clock.NowUs() - start, 3 * 25'000);
  EXPECT_FALSE(fp.Gauge().Visible());
  EXPECT_EQ(fp.Gauge().Ligne2(), "Frame n°  4/ 4");
  EXPECT_EQ(fp.Gauge().Ligne1(), "Averaging...");
  EXPECT_EQ(port.pumps, 3);
}

TEST_F(ServedWindow, AveragingOneFrameShowsAndHidesTheGaugeAndKeepsTheFrame) {
  Levels l;
  for (int i = 0; i < 2048; ++i) l[i] = static_cast<std::uint8_t>(i * 7);
  server.Push(l);
  fp.SetAvgCount(1);
  bool shown = false;
  port.onGauge = [&] { shown = shown || fp.Gauge().Visible(); };
  fp.Click("moyenne");
  fp.Click("acquisition");
  EXPECT_EQ(server.FramesServed(), 1);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(fp.Gauge().Visible());
  EXPECT_EQ(fp.Gauge().Percent(), 0);  // empty range
  EXPECT_EQ(Raw(1), l);
}

TEST_F(ServedWindow, CancellingKeepsTheAverageOfTheFramesReadSoFar) {
  server.Push(Flat(10));
  server.Push(Flat(21));
  server.Push(Flat(200));
  fp.SetAvgCount(8);
  bool cancelShown = false;
  port.onGauge = [&] { cancelShown = cancelShown || fp.Gauge().CancelVisible; };
  port.onPump = [&](int n) {
    if (n == 1) fp.CancelGauge();  // the user presses Cancel
  };
  fp.Click("moyenne");
  fp.Click("acquisition");
  EXPECT_TRUE(cancelShown);
  EXPECT_EQ(server.FramesServed(), 2);
  EXPECT_EQ(Raw(1)[100], 16);  // (10 + 21) / 2 = 15.5 -> 16
  EXPECT_FALSE(fp.Gauge().Visible());
  EXPECT_FALSE(fp.Gauge().CancelVisible);
  EXPECT_EQ(fp.Curves().Shown(1)[100], 16);  // shown
  EXPECT_TRUE(fp.SeriesStopAsked());

  // The next averaged acquisition starts afresh.
  port.onPump = nullptr;
  fp.SetAvgCount(2);
  fp.Click("acquisition");
  EXPECT_EQ(server.FramesServed(), 4);
  EXPECT_EQ(Raw(1)[100], 200);
}

TEST_F(ServedWindow, ClosingTheWindowDuringAveragingEndsTheLoopAndClosesTheBox) {
  server.Push(Flat(40));
  fp.SetAvgCount(10);
  port.onPump = [&](int) { fp.FormClose(); };
  fp.Click("moyenne");
  fp.Click("acquisition");
  EXPECT_EQ(server.FramesServed(), 2);
  EXPECT_TRUE(fp.Closed());
  EXPECT_TRUE(fp.LiveStopped());
  EXPECT_TRUE(fp.SeriesStopAsked());
  EXPECT_EQ(driver.Count("FT_Close"), 1);
}

TEST_F(ServedWindow, SuperpositionAddsCurvesUpToTheLimitWithTheNewestInBlack) {
  fp.Click("superposition");
  EXPECT_TRUE(fp.Controls().superposition.down);
  EXPECT_FALSE(fp.Controls().fft.enabled);
  for (std::uint8_t v : {50, 60, 70}) {
    server.Push(Flat(v));
    fp.Click("acquisition");
  }
  // Curves 2 and 3 were added; at the limit the third frame replaced the
  // last slot without rotating the colours again.
  EXPECT_EQ(fp.Curves().Count(), 3);
  EXPECT_EQ(Raw(1)[0], 255);
  EXPECT_EQ(Raw(2)[0], 50);
  EXPECT_EQ(Raw(3)[0], 70);
  EXPECT_EQ(fp.Curves().Pens()[0], display::kNavy);
  EXPECT_EQ(fp.Curves().Pens()[1], display::kRed);
  EXPECT_EQ(fp.Curves().Pens()[2], display::kBlack);
  // Each curve is drawn in its colour on its row.
  EXPECT_EQ(fp.Picture().Pixel(100, 0), display::kNavy);
  EXPECT_EQ(fp.Picture().Pixel(100, 255 - 50), display::kRed);
  EXPECT_EQ(fp.Picture().Pixel(100, 255 - 70), display::kBlack);

  // Removing rotates back and leaves the older curves.
  fp.Click("suppression");
  EXPECT_EQ(fp.Curves().Count(), 2);
  EXPECT_EQ(fp.Curves().Pens()[0], display::kRed);
  EXPECT_EQ(fp.Curves().Pens()[1], display::kBlack);
  EXPECT_EQ(fp.Curves().Pens()[2], display::kNavy);
  EXPECT_EQ(fp.Picture().Pixel(100, 255 - 70), display::kWhite);

  // Releasing superposition resets the colours and keeps one curve.
  fp.Click("superposition");
  EXPECT_EQ(fp.Curves().Count(), 1);
  EXPECT_TRUE(fp.Controls().fft.enabled);
  EXPECT_EQ(fp.Curves().Pens()[0], display::kBlack);
  EXPECT_EQ(fp.Curves().Pens()[1], display::kNavy);
  EXPECT_EQ(fp.Curves().Pens()[2], display::kRed);
  EXPECT_FALSE(fp.Prof().superposition);
}

TEST_F(ServedWindow, RemovingWithOneCurveOnlyRepaints) {
  const int pictures = port.pictures;
  fp.Click("suppression");
  EXPECT_EQ(fp.Curves().Count(), 1);
  EXPECT_EQ(port.pictures, pictures + 1);
  fp.Click("superposition");
  fp.Click("suppression");
  EXPECT_EQ(fp.Curves().Count(), 1);
}

TEST_F(ServedWindow, SuperpositionInSpectrometryOrSimulationAlwaysHoldsTwoCurves) {
  fp.Click("spectro");
  fp.Click("superposition");  // pressing it up is refused
  EXPECT_TRUE(fp.Controls().superposition.down);
  EXPECT_EQ(fp.Curves().Count(), 2);
  fp.Click("int");
  fp.Click("gosimu");
  fp.Click("superposition");
  EXPECT_TRUE(fp.Controls().superposition.down);
  EXPECT_EQ(fp.Curves().Count(), 2);
}

TEST_F(ServedWindow, ReleasingSuperpositionResetsThePensButSpectrometryKeepsItDown) {
  fp.Click("superposition");
  fp.Click("acquisition");
  fp.Click("acquisition");  // pens rotated: red is no longer third
  ASSERT_NE(fp.Curves().Pens()[2], display::kRed);
  fp.Click("superposition");
  EXPECT_EQ(fp.Curves().Pens()[2], display::kRed);
  fp.Click("spectro");
  const auto pens = fp.Curves().Pens();
  EXPECT_EQ(pens[0], display::kSilver);
  fp.Click("superposition");  // forced down again: pens untouched
  EXPECT_TRUE(fp.Controls().superposition.down);
  EXPECT_EQ(fp.Curves().Pens(), pens);
}

TEST_F(ServedWindow, TraceStyleMenuItemsAreExclusiveAndChangeThePicture) {
  Levels l = Flat(0);
  for (int i = 0; i < 2048; i += 4) l[i] = 255;  // one bright sample per column
  server.Push(l);
  fp.Click("acquisition");
  // Pics: each column spans its samples, so the whole height is drawn.
  EXPECT_EQ(fp.Picture().Pixel(10, 128), display::kBlack);
  fp.Click("Points1");
  EXPECT_TRUE(fp.Controls().Points1.down);
  EXPECT_FALSE(fp.Controls().Pics1.down);
  EXPECT_EQ(fp.Picture().Pixel(10, 128), display::kWhite);
  EXPECT_EQ(fp.Picture().Pixel(10, 0), display::kBlack);
  EXPECT_EQ(fp.Picture().Pixel(10, 255), display::kBlack);
  fp.Click("Vecteurs1");
  EXPECT_TRUE(fp.Controls().Vecteurs1.down);
  EXPECT_FALSE(fp.Controls().Points1.down);
  // Vecteurs: one sample per column, all at 255, joined along row 0.
  for (int x = 0; x < 511; ++x) ASSERT_EQ(fp.Picture().Pixel(x, 0), display::kBlack) << x;
  EXPECT_EQ(fp.Picture().Pixel(10, 255), display::kWhite);
}

TEST_F(ServedWindow, ClicksOnUnknownOrDisabledControls) {
  EXPECT_FALSE(fp.Click("nothing"));
  fp.Click("mi");  // superposition is disabled in the Michelson mode
  ASSERT_FALSE(fp.Controls().superposition.enabled);
  EXPECT_TRUE(fp.Click("superposition"));
  EXPECT_FALSE(fp.Controls().superposition.down);
  fp.Click("mi");
  EXPECT_TRUE(fp.Click("Acqurir1"));  // the menu item is bound to the same handler
  EXPECT_EQ(server.FramesServed(), 1);
  fp.Click("Quitter1");
  EXPECT_EQ(port.closeRequests, 1);
}

TEST_F(ServedWindow, LinkErrorsReachAMessageBoxOnlyWhenReportingIsOn) {
  driver.Fail("FT_ResetDevice", device::FT_IO_ERROR);
  EXPECT_EQ(box.GetBoard().BoardOpen(), device::FT_IO_ERROR);
  EXPECT_TRUE(port.messages.empty());
  box.Link().ShowUsbErrors = true;
  box.GetBoard().BoardOpen();
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0], "FT_ResetDevice - General IO Error...");
}

// The window model started on a box chosen by kind, on virtual time.
struct StartedWindow {
  explicit StartedWindow(BoxKind kind) : box(Options(kind), clock), fp(box, port) {
    fp.SetForcedLanguage(2);
    fp.FormCreate();
    fp.FormShow();
  }
  static BoxOptions Options(BoxKind kind) {
    BoxOptions options;
    options.kind = kind;
    return options;
  }
  device::ManualClock clock;
  Box box;
  support::RecordingPort port;
  TFp fp;
};

TEST(WindowWithoutBox, StartsAndSaysThatNoBoxAnswered) {
  StartedWindow w(BoxKind::None);
  TFp& fp = w.fp;
  support::RecordingPort& port = w.port;
  ASSERT_FALSE(port.status.empty());
  EXPECT_NE(port.status.front().find("(status 2)."), std::string::npos);
  EXPECT_EQ(fp.WindowTitle(), "ROVANEL — no box");

  fp.Click("acquisition");
  EXPECT_NE(fp.LastAcquisition(), 0);
  EXPECT_NE(port.status.back().find("(status "), std::string::npos);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(fp.Curves().Raw(1)[i], 0);
  fp.FormClose();
}

// Standard deviation of the difference of two acquisitions over a dark
// region of the simulated slit: frame-to-frame noise.
double DifferenceNoise(TFp& fp) {
  fp.Click("acquisition");
  const Levels a = fp.Curves().Raw(1);
  fp.Click("acquisition");
  const Levels& b = fp.Curves().Raw(1);
  double s = 0, s2 = 0;
  int n = 0;
  for (int i = 0; i < 300; ++i) {
    const double d = double(a[i]) - b[i];
    s += d;
    s2 += d * d;
    ++n;
  }
  const double mean = s / n;
  return std::sqrt(s2 / n - mean * mean);
}

TEST(WindowOnSimulatedBox, AveragingFourFramesHalvesTheNoise) {
  StartedWindow w(BoxKind::Sim);  // the slit by default
  TFp& fp = w.fp;
  EXPECT_EQ(fp.WindowTitle(), "ROVANEL — simulated box");
  const double single = DifferenceNoise(fp);
  fp.Click("moyenne");
  const double averaged = DifferenceNoise(fp);
  EXPECT_GT(single, 2.0);
  EXPECT_NEAR(averaged / single, 0.5, 0.1);
  EXPECT_EQ(fp.LastAcquisition(), 0);
  // A diffraction profile: bright centre, dark edges.
  const Levels& c = fp.Curves().Shown(1);
  EXPECT_GT(*std::max_element(c.begin() + 900, c.begin() + 1150), 150);
  EXPECT_LT(std::accumulate(c.begin(), c.begin() + 200, 0) / 200, 40);
}

TEST_F(ServedWindow, ClicksDeliveredDuringAveragingLeaveTheCurveSetAlone) {
  server.Push(Flat(30));
  server.Push(Flat(50));
  fp.SetAvgCount(2);
  port.onPump = [&](int) {
    fp.Click("superposition");  // would add a curve and rotate the colours
    fp.Click("acquisition");    // would start a second run
    fp.Click("Points1");        // harmless: only the drawing style
  };
  fp.Click("moyenne");
  fp.Click("acquisition");
  EXPECT_EQ(server.FramesServed(), 2);
  EXPECT_EQ(fp.Curves().Count(), 1);
  EXPECT_FALSE(fp.Controls().superposition.down);
  EXPECT_EQ(Raw(1)[0], 40);
  EXPECT_EQ(fp.Plot().Style(), display::TraceStyle::Points);
  EXPECT_EQ(port.hourglass, 0);  // set during the run, restored after it
}

TEST(WindowOnUsbBox, StartsWhenNoBoxIsPluggedIn) {
  // It would open whatever FTDI device is plugged in.
  const char* allowed = std::getenv("ROVANEL_TEST_REAL_BOX");
  if (allowed == nullptr || std::string(allowed) != "1")
    GTEST_SKIP() << "set ROVANEL_TEST_REAL_BOX=1 to open real FTDI devices";
  StartedWindow w(BoxKind::Usb);
  TFp& fp = w.fp;
  support::RecordingPort& port = w.port;
  EXPECT_EQ(fp.WindowTitle(), "ROVANEL");
  ASSERT_FALSE(port.status.empty());
  EXPECT_EQ(port.status.front().rfind("No box found: plug the box in", 0), 0u) << port.status.front();
  fp.FormClose();
}

}  // namespace
}  // namespace rovanel::app
