// The box link comes back from passing faults: a late or missing frame, an
// unplugged and replugged box, a device that is not the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "device/sim/sim_box.h"
#include "support/fault_driver.h"
#include "support/frame_server.h"
#include "support/recording_port.h"
#include "support/scripted_driver.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

using Bytes = std::vector<std::uint8_t>;
using device::sim::SimFaults;
using support::Levels;

// The window on a noise-free simulated slit with faults, on virtual time;
// the bytes the host writes are recorded on the way.
struct FaultedWindow {
  explicit FaultedWindow(const SimFaults& faults)
      : bench(device::sim::Scene::Slit, 7),
        sim(clock, bench),
        wire(sim),
        box(wire, clock, BoxKind::Sim),
        fp(box, port) {
    bench.NoiseSigma = 0;
    sim.SetFaults(faults);
    fp.SetForcedLanguage(2);
    fp.FormCreate();
    fp.FormShow();
  }
  // One acquisition; returns the bytes it wrote.
  Bytes Acquire() {
    const std::size_t before = wire.wire.size();
    fp.Click("acquisition");
    return Bytes(wire.wire.begin() + static_cast<std::ptrdiff_t>(before), wire.wire.end());
  }
  const Levels& Curve() { return fp.Curves().Shown(1); }

  device::ManualClock clock{1000};
  device::sim::OpticalBench bench;
  device::sim::SimBox sim;
  support::FaultDriver wire;
  Box box;
  support::RecordingPort port;
  TFp fp;
};

const Bytes kFrameBytes = {0xF0, 0x06, 0x0F};
// Identification and the integration time of a box opened anew, then a frame.
const Bytes kReconnectBytes = {0xF0, 0x00, 0x0F, 0xF0, 0x04, 0x05, 0xFF, 0x0F,  // id, reg 5
                               0xF0, 0x04, 0x01, 0xFE, 0x0F,                    // reg 1
                               0xF0, 0x04, 0x00, 0x78, 0x0F,                    // reg 0
                               0xF0, 0x06, 0x0F};

Levels Profile() {
  FaultedWindow clean({});
  clean.Acquire();
  return clean.Curve();
}

TEST(LinkRecovery, EveryFaultAtEveryFramePositionIsFollowedByAGoodAcquisition) {
  const Levels profile = Profile();
  ASSERT_GT(*std::max_element(profile.begin(), profile.end()), 150);
  struct Case {
    const char* name;
    std::function<void(SimFaults&, int)> arm;
    const Bytes& next;  // what the acquisition after the fault writes
  };
  const Case cases[] = {
      {"late", [](SimFaults& f, int n) { f.late = {n}; }, kFrameBytes},
      {"silent", [](SimFaults& f, int n) { f.silent = {n}; }, kFrameBytes},
      {"unplug",
       [](SimFaults& f, int n) {
         f.unplug = n;
         f.replugMs = 0;
       },
       kReconnectBytes},
  };
  for (const Case& c : cases) {
    for (int position = 1; position <= 3; ++position) {
      SimFaults faults;
      c.arm(faults, position);
      FaultedWindow w(faults);
      for (int k = 1; k < position; ++k) {
        w.Acquire();
        ASSERT_EQ(w.fp.LastAcquisition(), 0) << c.name << position;
      }
      w.Acquire();  // the faulty one
      EXPECT_NE(w.fp.LastAcquisition(), 0) << c.name << position;
      const Bytes next = w.Acquire();
      EXPECT_EQ(w.fp.LastAcquisition(), 0) << c.name << position;
      EXPECT_EQ(w.Curve(), profile) << c.name << position;
      EXPECT_EQ(next, c.next) << c.name << position;
      w.Acquire();
      EXPECT_EQ(w.Curve(), profile) << c.name << position;
    }
  }
}

TEST(LinkRecovery, UnpluggedBoxIsClosedAndReopenedAfterItComesBack) {
  SimFaults faults;
  faults.unplug = 2;
  faults.replugMs = 5000;
  FaultedWindow w(faults);
  w.fp.SetSensitivity(4);
  w.box.GetBoard().SetIntegrationTime(20.0);
  w.Acquire();
  w.Acquire();
  EXPECT_FALSE(w.box.Link().UsbOpened);  // gone: closed at once
  EXPECT_NE(w.port.status.back().find("did not arrive in full"), std::string::npos);
  // Still away: one try to reopen, no box, nothing written.
  EXPECT_TRUE(w.Acquire().empty());
  EXPECT_NE(w.port.status.back().find("No box answered"), std::string::npos);
  w.clock.AdvanceUs(5'000'000);
  const Bytes bytes = w.Acquire();
  EXPECT_EQ(w.port.status.back(), "Box reconnected.");
  EXPECT_EQ(w.fp.LastAcquisition(), 0);
  // The box powered up at 10 ms: it is told 20 ms (count 0xFCF2) again
  // before the frame.
  EXPECT_EQ(bytes, (Bytes{0xF0, 0x00, 0x0F, 0xF0, 0x04, 0x05, 0xFF, 0x0F, 0xF0, 0x04, 0x01,
                          0xFC, 0x0F, 0xF0, 0x04, 0x00, 0xF2, 0x0F, 0xF0, 0x06, 0x0F}));
  EXPECT_NEAR(w.sim.IntegrationMs(), 20.0, 0.0256);
  w.fp.FormClose();
}

TEST(LinkRecovery, HalfWrittenIntegrationTimeIsSentAgainBeforeTheNextFrame) {
  FaultedWindow w({});
  device::Board& board = w.box.GetBoard();
  // The write of register 0 loses its acknowledgement (the sixth byte read).
  w.wire.WrongEchoAt(5);
  EXPECT_EQ(board.SetIntegrationTime(30.0), device::kWrongEcho);
  w.wire.Disarm();
  const Bytes bytes = w.Acquire();
  EXPECT_EQ(w.fp.LastAcquisition(), 0);
  // 30 ms is count 65535 - 1172 = 0xFB6B.
  EXPECT_EQ(bytes,
            (Bytes{0xF0, 0x04, 0x01, 0xFB, 0x0F, 0xF0, 0x04, 0x00, 0x6B, 0x0F, 0xF0, 0x06, 0x0F}));
  EXPECT_NEAR(w.sim.IntegrationMs(), 30.0, 0.0256);
}

using ServedWindow = support::ServedRig;

Levels Flat(std::uint8_t v) {
  Levels l;
  l.fill(v);
  return l;
}

TEST(LinkRecovery, LateFrameThenTwentyGoodAcquisitions) {
  ServedWindow w;
  w.server.PushFlat(90);
  // The first frame request is answered after the host stopped waiting.
  auto serve = w.driver.OnWrite;
  bool delayed = false;
  w.driver.OnWrite = [&](std::uint8_t b) {
    Bytes reply = serve(b);
    if (!delayed && reply.size() > 1 && reply[0] == 0x06) {
      delayed = true;
      w.driver.ArriveAt(w.clock.NowUs() + 700'000, Bytes(reply.begin() + 1, reply.end()));
      return Bytes{0x06};
    }
    return reply;
  };
  w.fp.Click("acquisition");
  EXPECT_EQ(w.fp.LastAcquisition(), device::kNoByte);
  for (int i = 0; i < 20; ++i) {
    w.fp.Click("acquisition");
    ASSERT_EQ(w.fp.LastAcquisition(), 0) << i;
    ASSERT_EQ(w.fp.Curves().Raw(1), Flat(90)) << i;
  }
  EXPECT_GE(w.box.GetBoard().DroppedBytes(), 2100u);
}

TEST(LinkRecovery, AveragingCountsOnlyFramesThatArrivedWhole) {
  ServedWindow w;
  for (std::uint8_t v : {10, 11, 12}) w.server.PushFlat(v);
  w.server.SilentAt(3);  // the third request goes unanswered, the fourth gets 12
  w.fp.Click("moyenne");
  w.fp.Click("acquisition");
  // (10 + 11 + 12) / 3 = 11; counting the failed frame as zeros would give 8.
  EXPECT_EQ(w.fp.Curves().Raw(1), Flat(11));
  EXPECT_EQ(w.port.status.back(),
            "1 of the 4 frames failed (status -150): the average is taken over the 3 good ones.");
}

TEST(LinkRecovery, AveragingWithNoGoodFrameKeepsWhatCame) {
  ServedWindow w;
  w.driver.OnWrite = nullptr;  // the box stops answering
  w.fp.Click("moyenne");
  w.fp.Click("acquisition");
  EXPECT_EQ(w.fp.Curves().Raw(1), Flat(0));
  EXPECT_NE(w.port.status.back().find("None of the 4 frames arrived in full"), std::string::npos);
}

TEST(LinkRecovery, DeviceThatDoesNotIdentifyReceivesNothingElse) {
  device::ManualClock clock{1000};
  support::ScriptedDriver driver(&clock);  // opens, never answers
  Box box(driver, clock, BoxKind::Usb);
  support::RecordingPort port;
  TFp fp(box, port);
  fp.FormCreate();
  EXPECT_EQ(driver.Written(), Bytes{0xF0});  // the identification's first byte, no more
  EXPECT_FALSE(box.Link().UsbOpened);        // given back at once
  fp.Click("acquisition");
  fp.Click("acquisition");
  // Each acquisition tries to identify once; no register write, no frame request.
  EXPECT_EQ(driver.Written(), (Bytes{0xF0, 0xF0, 0xF0}));
  EXPECT_EQ(driver.Count("FT_Close"), 3);
  fp.FormClose();
  EXPECT_EQ(driver.Written(), (Bytes{0xF0, 0xF0, 0xF0}));
}

// The live view says a lost box, tries it again once a second (waiting
// in between, not spinning) and goes on with its frames once it answers.
TEST(LinkRecovery, TheLiveViewReportsALostBoxAndTakesItBackWhenItReturns) {
  SimFaults faults;
  faults.unplug = 5;
  faults.replugMs = 2500;
  FaultedWindow w(faults);
  int pumps = 0, secondsShown = 0;
  std::int64_t start = w.clock.NowUs();
  w.port.onPump = [&](int) {
    ++pumps;
    if (w.clock.NowUs() - start > 6'000'000) w.fp.Click("rt");  // stop after 6 s
    secondsShown = static_cast<int>((w.clock.NowUs() - start) / 1'000'000);
  };
  w.fp.Click("rt");
  ASSERT_GE(secondsShown, 6);
  const auto& said = w.port.status;
  const auto lost = std::find_if(said.begin(), said.end(), [](const std::string& t) {
    return t.find("Live view: the box sends no frame") != std::string::npos;
  });
  ASSERT_NE(lost, said.end());
  EXPECT_NE(std::find(lost, said.end(), "Box reconnected."), said.end());
  // About 6 s of frames of 10 ms and 2.5 s of waits of 0.1 s: a few hundred
  // passes, not a spin.
  EXPECT_LT(pumps, 2000);
  // The last frame is a slit profile, not zeros.
  EXPECT_GT(*std::max_element(w.Curve().begin(), w.Curve().begin() + 512), 100);
  w.fp.FormClose();
}

// A series after an unplug and replug identifies the box again first.
TEST(LinkRecovery, ASeriesReconnectsABoxPluggedInAgain) {
  SimFaults faults;
  faults.unplug = 1;
  faults.replugMs = 1000;
  FaultedWindow w(faults);
  w.Acquire();  // meets the unplug (frame request 1)
  w.fp.Click("mi");
  w.fp.Click("startmi");
  ASSERT_FALSE(w.port.status.empty());
  EXPECT_NE(w.port.status.back().find("No box answers"), std::string::npos) << w.port.status.back();
  w.clock.AdvanceUs(1'000'000);
  w.fp.Click("startmi");
  EXPECT_EQ(w.fp.LastSeries(), 0);
  EXPECT_NE(std::find(w.port.status.begin(), w.port.status.end(), "Box reconnected."),
            w.port.status.end());
  w.fp.FormClose();
}

}  // namespace
}  // namespace rovanel::app
