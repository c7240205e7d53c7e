// The live view and the Michelson series through the window model, on the
// simulated boxes and virtual time.
#include <gtest/gtest.h>

#include <numeric>

#include "app/main_window.h"
#include "support/frame_server.h"
#include "support/recording_port.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

struct SimWindow {
  explicit SimWindow(bool portBox = false) : box(Options(portBox), clock), fp(box, port) {
    fp.SetForcedLanguage(2);
    fp.FormCreate();
    fp.FormShow();
  }
  static BoxOptions Options(bool portBox) {
    BoxOptions o;
    o.kind = BoxKind::Sim;
    o.scene = device::sim::Scene::Michelson;
    o.parport = device::PortKind::kSim;
    o.portBox = portBox;
    return o;
  }
  device::ManualClock clock{1000};
  Box box;
  support::RecordingPort port;
  TFp fp;
};

// Crossings of the mean: twice the number of fringes.
int MeanCrossings(const signal::TLargeTab& s, int n) {
  double mean = 0;
  for (int i = 0; i < n; ++i) mean += s.GetValue(i);
  mean /= n;
  int crossings = 0;
  for (int i = 1; i < n; ++i) crossings += (s.GetValue(i - 1) < mean) != (s.GetValue(i) < mean);
  return crossings;
}

TEST(LiveView, FramesArriveAndTheStopLeavesTheFullCurve) {
  support::ServedRig w;
  w.fp.Click("filtrage");
  support::Levels flat;
  flat.fill(80);
  w.server.Push(flat);
  w.fp.Click("acquisition");
  support::Levels ramp;
  for (int i = 0; i < 2048; ++i) ramp[i] = static_cast<std::uint8_t>(i / 8);
  w.server.Push(ramp);
  int passes = 0;
  w.port.onPump = [&](int) {
    if (++passes == 3) w.fp.Click("rt");  // the stop, as a click during the loop
  };
  w.fp.Click("rt");
  EXPECT_EQ(passes, 3);
  EXPECT_TRUE(w.fp.LiveStopped());
  EXPECT_EQ(w.fp.Curves().Shown(1), flat);  // the full-resolution curve, not the live one
  EXPECT_EQ(w.fp.PointCount(), 2048);
  EXPECT_TRUE(w.fp.Controls().pics.enabled);
}

TEST(LiveView, AFlatFrameWithStretchGivesZerosAndClosingEndsTheLoop) {
  support::ServedRig w;
  support::Levels flat;
  flat.fill(120);
  w.server.Push(flat);
  w.fp.Click("filtrage");
  w.fp.Click("calibration");
  signal::Curve live{};
  w.port.onPump = [&](int) {
    live = w.fp.Curves().Shown(1);
    w.fp.FormClose();  // the window closes during the loop
  };
  w.fp.Click("rt");
  for (int j = 0; j < 512; ++j) ASSERT_EQ(live[j], 0) << j;
  EXPECT_TRUE(w.fp.Closed());
}

TEST(MichelsonSeries, UsbSeriesShowsTheFringes) {
  SimWindow w;
  w.fp.Click("mi");
  w.fp.TypeText("InterAcc", "20");
  w.fp.Click("startmi");
  EXPECT_EQ(w.fp.PointCount(), 2048);  // 20 s at 10 ms: 4 blocks of 512
  EXPECT_EQ(w.fp.Mi().NbPoints, 2048);
  // The bench's fringes, about 3 per second over 20 s.
  const int crossings = MeanCrossings(w.fp.Stores().MiSerieRaw, 2048);
  EXPECT_GT(crossings, 2 * 3 * 20 * 0.7);
  EXPECT_LT(crossings, 2 * 3 * 20 * 1.3);
}

// A mode change and a series are drawn once, from the processed data (the
// zoom they set used to draw the stale curves first).
TEST(MichelsonSeries, ModeChangesAndASeriesDrawOnePicture) {
  SimWindow w;
  w.fp.TypeText("InterAcc", "20");
  for (const char* click : {"mi", "startmi", "int", "mi", "fft", "fft"}) {
    const int pictures = w.port.pictures;
    w.fp.Click(click);
    EXPECT_EQ(w.port.pictures, pictures + 1) << click;
  }
}

TEST(MichelsonSeries, CancelledSeriesKeepsThePreviousOne) {
  SimWindow w;
  w.fp.Click("mi");
  w.fp.Click("startmi");
  const std::uint8_t before = w.fp.Stores().MiSerieRaw.GetValue(100);
  w.fp.SetSensitivity(15);
  w.fp.SensiChanged();
  // Cancel from the gauge while the series is awaited.
  w.port.onPump = [&](int) { w.fp.CancelGauge(); };
  const int pumps = w.port.pumps;
  w.fp.Click("startmi");
  EXPECT_GT(w.port.pumps, pumps);
  EXPECT_EQ(w.fp.Stores().MiSerieRaw.GetValue(100), before);
  EXPECT_EQ(w.port.status.back(), "Recording cancelled: the previous recording is kept.");
  // The link starts clean: the next series arrives whole.
  w.port.onPump = nullptr;
  w.fp.Click("startmi");
  EXPECT_EQ(w.fp.LastSeries(), 0);
}

// Cancel and the window's closing end a series within a pump or two of the
// link's 20 ms, however far it is from its end; the gauge is up before the
// box is asked anything.
TEST(MichelsonSeries, CancelOrClosingEndsASeriesAtOnce) {
  for (const bool close : {false, true}) {
    SimWindow w;
    w.fp.Click("mi");
    w.fp.TypeText("InterAcc", "600");
    w.fp.InterAccEnter();
    std::int64_t askedAt = -1;
    bool gaugeFirst = false;
    w.port.onPump = [&](int n) {
      if (n == 1) gaugeFirst = w.fp.Gauge().Visible() && w.fp.Gauge().Ligne1() != "";
      if (n != 50 || askedAt >= 0) return;
      askedAt = w.clock.NowUs();
      if (close)
        w.fp.FormClose();
      else
        w.fp.CancelGauge();
    };
    std::int64_t hiddenAt = -1;
    w.port.onGauge = [&] {
      if (askedAt >= 0 && hiddenAt < 0 && !w.fp.Gauge().Visible()) hiddenAt = w.clock.NowUs();
    };
    w.fp.Click("startmi");
    ASSERT_GE(askedAt, 0);
    EXPECT_TRUE(gaugeFirst);
    ASSERT_GE(hiddenAt, 0);
    EXPECT_LT(hiddenAt - askedAt, 500'000) << (close ? "close" : "cancel");
    EXPECT_EQ(w.fp.LastSeries(), device::kCancelled);
    EXPECT_FALSE(w.fp.Gauge().Visible());
    EXPECT_FALSE(w.fp.FiniteLoopRunning());
  }
}

// The live view pressed while a series is awaited waits for its end: its
// frames would interleave with the series' transfer.
TEST(MichelsonSeries, TheLiveViewDoesNotCutIntoASeries) {
  SimWindow w;
  w.fp.Click("mi");
  w.port.onPump = [&](int n) {
    if (n == 5) w.fp.Click("rt");
  };
  w.fp.Click("startmi");
  EXPECT_FALSE(w.fp.Controls().rt.down);
  EXPECT_EQ(w.fp.LastSeries(), 0);
  EXPECT_EQ(w.fp.Mode(), Experiment::Michelson);
  EXPECT_GT(MeanCrossings(w.fp.Stores().MiSerieRaw, w.fp.Mi().NbPoints), 20);
}

TEST(MichelsonSeries, ParallelPortSeriesShowsTheFringes) {
  SimWindow w(true);
  w.fp.Click("mi");
  EXPECT_TRUE(w.fp.Controls().Mich2.visible);
  w.fp.Click("startmi");
  EXPECT_EQ(w.fp.PointCount(), 4096);
  EXPECT_EQ(w.fp.Mi().Duration, 41);
  const int crossings = MeanCrossings(w.fp.Stores().MiSerieRaw, 4096);
  EXPECT_GT(crossings, 20);
}

}  // namespace
}  // namespace rovanel::app
