// The libftdi1 backend, the link and the protocol exchanging real USB
// transfers with an emulated FT232R that carries the simulated box.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "support/sim_fixture.h"
#include "usb_rig.h"

namespace rovanel::support::usb {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint16_t>;
using namespace device;

const Bytes kIdentify = {0xF0, 0x00, 0x0F, 0xF0, 0x04, 0x05, 0xFF, 0x0F};

// Whether the host asked the chip for this vendor request (0x40) and value.
bool Asked(Ft232r& chip, std::uint8_t request, std::uint16_t value) {
  const auto r = chip.Requests();
  return std::any_of(r.begin(), r.end(), [&](const ControlRequest& c) {
    return c.requestType == 0x40 && c.request == request && c.value == value;
  });
}

// The firmware answers the next frame request after the host's wait.
void LateFrame(Ft232r& chip) {
  chip.Locked([](Firmware& f) {
    sim::SimBox& box = static_cast<BoxFirmware&>(f).Sim();
    sim::SimFaults faults;
    faults.late = {box.FrameRequests() + 1};
    box.SetFaults(faults);
  });
}

// The same box on a virtual clock, straight behind the driver interface.
struct Reference {
  SimRig rig;
  UsbLink link{rig.box, rig.clock};
  Board board{link};
  Reference() { board.Connect(); }
};

TEST(FtdiOverUsb, OpensConfiguresIdentifiesWritesRegistersAndCloses) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbRig rig;
  ASSERT_EQ(rig.board.Connect(), FT_OK);
  // Reset, latency timer, both purges, as the link's open asks for them.
  EXPECT_TRUE(Asked(rig.chip, 0x00, 0));
  EXPECT_TRUE(Asked(rig.chip, 0x09, 2));
  EXPECT_TRUE(Asked(rig.chip, 0x00, 1));
  EXPECT_TRUE(Asked(rig.chip, 0x00, 2));
  EXPECT_EQ(rig.chip.LatencyMs(), 2);
  EXPECT_EQ(rig.chip.Received(), kIdentify);
  EXPECT_EQ(rig.Register(5), 255);

  rig.chip.ClearLog();
  EXPECT_EQ(rig.board.SetIntegrationTime(20.0), FT_OK);
  EXPECT_EQ(rig.board.SetNbSamples(8191), FT_OK);
  EXPECT_EQ(rig.chip.Received(),
            (Bytes{0xF0, 0x04, 0x01, 0xFC, 0x0F, 0xF0, 0x04, 0x00, 0xF2, 0x0F,  // 64754
                   0xF0, 0x04, 0x02, 0x00, 0x0F, 0xF0, 0x04, 0x03, 0x20, 0x0F,  // 8192
                   0xF0, 0x04, 0x04, 0x00, 0x0F}));
  EXPECT_EQ(rig.Register(1), 0xFC);
  EXPECT_EQ(rig.Register(0), 0xF2);
  EXPECT_EQ(rig.Register(3), 0x20);

  EXPECT_EQ(rig.board.BoardClose(), FT_OK);
  EXPECT_EQ(rig.Register(5), 0);
  EXPECT_FALSE(rig.bed.Claimed(rig.chip));
  EXPECT_EQ(rig.bed.Releases(rig.chip), rig.bed.Claims(rig.chip));
}

TEST(FtdiOverUsb, PicksTheBoxBySerialNumberOrDescription) {
  SKIP_WITHOUT_USB_EMULATION();
  struct Case {
    FtdiIds ids;
    Status open;
  };
  const Case cases[] = {{{0x0403, 0x6001, "A1B2C3D4", ""}, FT_OK},
                        {{0x0403, 0x6001, "", "FT232R USB UART"}, FT_OK},
                        {{0x0403, 0x6001, "Z9Z9Z9Z9", ""}, FT_DEVICE_NOT_FOUND},
                        {{0x0403, 0x6015, "", ""}, FT_DEVICE_NOT_FOUND}};
  UsbRig rig;
  for (const Case& c : cases) {
    auto driver = MakeFtdiDriver(c.ids);
    FtHandle h = 0;
    EXPECT_EQ(driver->FT_Open(0, &h), c.open) << c.ids.serial << c.ids.description;
    if (c.open == FT_OK) {
      EXPECT_EQ(driver->FT_Close(h), FT_OK);
    }
  }
  EXPECT_EQ(rig.bed.Releases(rig.chip), rig.bed.Claims(rig.chip));
}

// Each status poll drains the chip with a bulk transfer, which the chip holds
// for its latency timer when it has nothing: the poll right after one that
// found bytes (the link's, before its read) reports them without another.
TEST(FtdiOverUsb, AStatusPollAfterOneThatFoundBytesCostsNoTransfer) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbRig rig;
  FtHandle h = 0;
  ASSERT_EQ(rig.driver->FT_Open(0, &h), FT_OK);
  const std::uint8_t sync = 0xF0;
  std::uint32_t n = 0, rx = 0, tx = 0, ev = 0;
  ASSERT_EQ(rig.driver->FT_Write(h, &sync, 1, &n), FT_OK);
  for (int i = 0; i < 100 && rx == 0; ++i)
    ASSERT_EQ(rig.driver->FT_GetStatus(h, &rx, &tx, &ev), FT_OK);
  ASSERT_EQ(rx, 1u);
  const int transfers = rig.chip.InTransfers();
  EXPECT_EQ(rig.driver->FT_GetStatus(h, &rx, &tx, &ev), FT_OK);
  EXPECT_EQ(rx, 1u);
  EXPECT_EQ(rig.chip.InTransfers(), transfers);
  // Polled again without reading: the caller waits for more.
  EXPECT_EQ(rig.driver->FT_GetStatus(h, &rx, &tx, &ev), FT_OK);
  EXPECT_EQ(rig.chip.InTransfers(), transfers + 1);
  std::uint8_t echo = 0;
  EXPECT_EQ(rig.driver->FT_Read(h, &echo, 1, &n), FT_OK);
  EXPECT_EQ(echo, 0xF0);
  EXPECT_EQ(rig.driver->FT_Close(h), FT_OK);
}

TEST(FtdiOverUsb, FramesEqualTheSimulatedBoxs) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbRig rig;
  Reference ref;
  ASSERT_EQ(rig.board.Connect(), FT_OK);
  for (int i = 0; i < 3; ++i) {
    Words got(kFrameBlockSize), want(kFrameBlockSize);
    ASSERT_EQ(rig.board.ReadFrame(got), FT_OK) << i;
    ASSERT_EQ(ref.board.ReadFrame(want), FT_OK) << i;
    EXPECT_EQ(got, want) << i;
    EXPECT_GT(*std::max_element(got.begin(), got.end()), 150) << i;
  }
  // 2100 bytes: 33 whole packets and a short one.
  EXPECT_GE(rig.chip.LargestTransfer(), 2100 + 2 * 34);
}

TEST(FtdiOverUsb, ASeriesOf131072PointsArrivesWholeAcrossPacketsAndTransfers) {
  SKIP_WITHOUT_USB_EMULATION();
  constexpr std::int32_t n = 131072;
  // The 22 minutes of the series pass in about one second.
  UsbRig rig(1.0 / 1300);
  ASSERT_EQ(rig.board.Connect(), FT_OK);
  ASSERT_EQ(rig.board.SetNbSamples(n), FT_OK);
  ASSERT_EQ(rig.board.SetIntegrationTime(kDefaultIntegrationMs), FT_OK);
  rig.chip.ClearLog();
  Words got(n + 1, 0);
  ASSERT_EQ(rig.board.ReadSamples(got, n), FT_OK);
  EXPECT_EQ(rig.chip.Received(), (Bytes{0xF0, 0x08, 0x0F}));
  // What the bench showed, inverted by the box and back by the host.
  sim::OpticalBench bench(sim::Scene::Slit, 1);
  Bytes levels(n);
  bench.Series((65535 - Board::IntegrationCount(kDefaultIntegrationMs)) * kIntegrationTick, n,
               levels.data());
  EXPECT_TRUE(std::equal(levels.begin(), levels.end(), got.begin()));
  EXPECT_EQ(got[n], 0);
  // Whole transfers of the size the link asked for, 128 packets each.
  EXPECT_EQ(rig.chip.LargestTransfer(), static_cast<int>(kUsbInTransferSize));
  EXPECT_GE(rig.chip.DataTransfers(), n / (kUsbInTransferSize - 2 * 128));
}

TEST(FtdiOverUsb, AfterATransientFaultTheNextCommandWorks) {
  SKIP_WITHOUT_USB_EMULATION();
  struct Case {
    const char* name;
    std::function<void(Ft232r&)> arm, disarm;
    Status status;
  };
  const Case cases[] = {
      {"silent chip", [](Ft232r& c) { c.Silence(true); }, [](Ft232r& c) { c.Silence(false); },
       kNoByte},
      {"late frame", [](Ft232r& c) { LateFrame(c); }, [](Ft232r&) {}, kNoByte},
      {"wrong echo", [](Ft232r& c) { c.CorruptByte(1); }, [](Ft232r&) {}, kWrongEcho},
  };
  UsbRig rig;
  ASSERT_EQ(rig.board.Connect(), FT_OK);
  for (const Case& c : cases) {
    Words frame(kFrameBlockSize);
    c.arm(rig.chip);
    EXPECT_EQ(rig.board.ReadFrame(frame), c.status) << c.name;
    c.disarm(rig.chip);
    EXPECT_EQ(rig.board.ReadFrame(frame), FT_OK) << c.name;
    EXPECT_GT(*std::max_element(frame.begin(), frame.end()), 150) << c.name;
    EXPECT_TRUE(rig.board.Identified()) << c.name;
  }
}

TEST(FtdiOverUsb, UnpluggedInTheMiddleOfAFrameOrASeriesThenReplugged) {
  SKIP_WITHOUT_USB_EMULATION();
  constexpr std::int32_t n = 131072;
  UsbRig rig(1.0 / 1300);
  ASSERT_EQ(rig.board.Connect(), FT_OK);
  ASSERT_EQ(rig.board.SetIntegrationTime(kDefaultIntegrationMs), FT_OK);
  ASSERT_EQ(rig.board.SetNbSamples(n), FT_OK);
  Words got(n + 1, 7);
  // After the echoes of F0 and the command (and a series' leading byte).
  rig.bed.UnplugAtByte(rig.chip, 2 + 1000, 200);
  // The block may come with the command's echo: then the echo's wait fails.
  const Status lost = rig.board.ReadFrame(got);
  EXPECT_TRUE(lost == kNoByte || lost == FT_IO_ERROR) << lost;
  EXPECT_FALSE(rig.board.Identified());
  EXPECT_EQ(got[0], 7);
  rig.bed.Settle();
  ASSERT_TRUE(rig.bed.Plugged(rig.chip));
  ASSERT_EQ(rig.board.SetNbSamples(n), FT_OK);  // reconnected first
  rig.bed.UnplugAtByte(rig.chip, 3 + 2 * 32768 + 1000, 200);
  EXPECT_EQ(rig.board.ReadSamples(got, n), FT_IO_ERROR);
  EXPECT_FALSE(rig.board.Identified());
  // Whole chunks only, nothing written beyond them.
  const auto written = std::find(got.begin(), got.end(), 7) - got.begin();
  EXPECT_EQ(written % 32768, 0);
  EXPECT_LE(written, 2 * 32768);
  EXPECT_TRUE(std::all_of(got.begin() + written, got.end(), [](int v) { return v == 7; }));

  // Back 200 ms later: the next frame and series work without a restart.
  rig.bed.Settle();
  ASSERT_TRUE(rig.bed.Plugged(rig.chip));
  Words frame(kFrameBlockSize);
  EXPECT_EQ(rig.board.ReadFrame(frame), FT_OK);
  EXPECT_GT(*std::max_element(frame.begin(), frame.end()), 150);
  EXPECT_EQ(rig.board.ReadSamples(got, n), FT_OK);
  EXPECT_EQ(rig.board.Reconnects(), 2);
}

TEST(FtdiOverUsb, TheFirstCommandAfterAReplugReconnectsAndWorks) {
  SKIP_WITHOUT_USB_EMULATION();
  struct Case {
    const char* name;
    std::function<Status(Board&)> run;
  };
  const Case cases[] = {
      {"frame",
       [](Board& b) {
         Words frame(kFrameBlockSize);
         return b.ReadFrame(frame);
       }},
      {"series start",
       [](Board& b) {
         Words series(1025);
         const Status s = b.SetNbSamples(1024);
         return s != FT_OK ? s : b.ReadSamples(series, 1024);
       }},
      {"sensitivity", [](Board& b) { return b.SetIntegrationTime(20.0); }},
  };
  UsbRig rig(0.01);
  ASSERT_EQ(rig.board.Connect(), FT_OK);
  ASSERT_EQ(rig.board.SetIntegrationTime(20.0), FT_OK);
  int reconnects = 0;
  for (const Case& c : cases) {
    rig.bed.Unplug(rig.chip);
    rig.bed.Replug(rig.chip);
    // The box powered up with its own integration time.
    EXPECT_EQ(rig.Register(1), 0xFE) << c.name;
    EXPECT_EQ(c.run(rig.board), FT_OK) << c.name;
    EXPECT_EQ(rig.board.Reconnects(), ++reconnects) << c.name;
    EXPECT_EQ(rig.Register(5), 255) << c.name;
    EXPECT_EQ(rig.Register(1), 0xFC) << c.name;  // 20 ms again
  }
}

TEST(FtdiOverUsb, AForeignDeviceWithTheSameIdsIsLeftAlone) {
  SKIP_WITHOUT_USB_EMULATION();
  for (bool echo : {false, true}) {
    UsbTestbed bed;
    Ft232r& chip = bed.Plug(std::make_unique<ForeignFirmware>(echo));
    auto driver = MakeFtdiDriver();
    UsbLink link(*driver, RealClock());
    Board board(link);
    EXPECT_NE(board.Connect(), FT_OK) << echo;
    EXPECT_FALSE(link.UsbOpened) << echo;
    // The synchronisation byte, and the identification command if that was echoed.
    EXPECT_EQ(chip.Received(), echo ? (Bytes{0xF0, 0x00}) : (Bytes{0xF0})) << echo;
    EXPECT_FALSE(bed.Claimed(chip)) << echo;
    EXPECT_EQ(bed.Releases(chip), bed.Claims(chip)) << echo;
  }
}

}  // namespace
}  // namespace rovanel::support::usb
