#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "device/board.h"
#include "device/sim/sim_box.h"
#include "device/usb_link.h"
#include "support/sim_fixture.h"

namespace rovanel::device::sim {
namespace {

using support::RawSession;
using support::SimRig;
using Bytes = std::vector<std::uint8_t>;

// Register write as the host sends it: F0 04 reg value 0F.
void WriteReg(RawSession& s, std::uint8_t reg, std::uint8_t value) {
  ASSERT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  ASSERT_EQ(s.Exchange({0x04}, 1), Bytes{0x04});
  ASSERT_EQ(s.Write({reg, value}), FT_OK);
  ASSERT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
}

void SetSampleCount(RawSession& s, std::uint32_t n) {
  const std::uint32_t m = n + 1;
  WriteReg(s, 2, m & 0xFF);
  WriteReg(s, 3, (m >> 8) & 0xFF);
  WriteReg(s, 4, (m >> 16) & 0xFF);
}

TEST(SimBoxDriver, OpenCloseAndHandles) {
  SimRig rig;
  SimBox& box = rig.box;
  EXPECT_TRUE(box.Simulated());

  FtHandle h = 0;
  std::uint32_t rx = 0, n = 0;
  std::uint8_t buf[4] = {};
  EXPECT_EQ(box.FT_Open(1, &h), FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(box.FT_GetStatus(h, &rx, nullptr, nullptr), FT_INVALID_HANDLE);
  EXPECT_EQ(box.FT_Write(h, buf, 1, &n), FT_INVALID_HANDLE);
  EXPECT_EQ(box.FT_Read(h, buf, 1, &n), FT_INVALID_HANDLE);
  EXPECT_EQ(box.FT_ResetDevice(h), FT_INVALID_HANDLE);
  EXPECT_EQ(box.FT_Purge(h, FT_PURGE_RX), FT_INVALID_HANDLE);
  EXPECT_EQ(box.FT_Close(h), FT_INVALID_HANDLE);

  ASSERT_EQ(box.FT_Open(0, &h), FT_OK);
  EXPECT_NE(h, 0u);
  FtHandle second = 0;
  EXPECT_EQ(box.FT_Open(0, &second), FT_DEVICE_NOT_OPENED);  // already in use
  EXPECT_EQ(box.FT_ResetDevice(h), FT_OK);
  EXPECT_EQ(box.FT_Purge(h, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  EXPECT_EQ(box.FT_SetTimeouts(h, 500, 500), FT_OK);
  EXPECT_EQ(box.ReadTimeoutMs(), 500u);
  EXPECT_EQ(box.FT_SetUSBParameters(h, 8192, 0), FT_OK);
  EXPECT_EQ(box.UsbInSize(), 8192u);
  EXPECT_EQ(box.FT_SetUSBParameters(h, 100, 0), FT_INVALID_PARAMETER);
  EXPECT_EQ(box.FT_GetStatus(h, nullptr, nullptr, nullptr), FT_INVALID_PARAMETER);
  EXPECT_EQ(box.FT_Write(h, buf, 1, nullptr), FT_INVALID_PARAMETER);

  // Write reports every byte; read gives what is queued, possibly less.
  buf[0] = 0xF0;
  ASSERT_EQ(box.FT_Write(h, buf, 1, &n), FT_OK);
  EXPECT_EQ(n, 1u);
  n = 99;
  ASSERT_EQ(box.FT_Read(h, buf, 4, &n), FT_OK);
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(buf[0], 0xF0);
  ASSERT_EQ(box.FT_Read(h, buf, 4, &n), FT_OK);
  EXPECT_EQ(n, 0u);

  ASSERT_EQ(box.FT_Close(h), FT_OK);
  EXPECT_FALSE(box.IsOpen());
  EXPECT_EQ(box.FT_GetStatus(h, &rx, nullptr, nullptr), FT_INVALID_HANDLE);
  FtHandle again = 0;
  ASSERT_EQ(box.FT_Open(0, &again), FT_OK);
  EXPECT_NE(again, h);  // a stale handle stays refused
  EXPECT_EQ(box.FT_Purge(h, FT_PURGE_RX), FT_INVALID_HANDLE);
  EXPECT_EQ(box.FT_Close(again), FT_OK);
}

TEST(SimBoxProtocol, IdentificationExchange) {
  SimRig rig;
  RawSession s(rig.box);
  ASSERT_EQ(s.status(), FT_OK);
  EXPECT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  EXPECT_EQ(s.Exchange({0x00}, 3), (Bytes{0x00, 0x48, 0x20}));  // echo, then 0x2048 low first
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
  EXPECT_EQ(s.Queued(), 0u);
  EXPECT_EQ(SimBox::kBoardId, 0x2048);
}

TEST(SimBoxProtocol, RegisterWritesAndDecoding) {
  SimRig rig;
  RawSession s(rig.box);
  // Power-up: 10 ms, no samples.
  EXPECT_EQ(rig.box.Register(1), 0xFE);
  EXPECT_EQ(rig.box.Register(0), 0x78);
  EXPECT_EQ(rig.box.SampleCount(), 0);

  // The register number and value are not echoed.
  ASSERT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  ASSERT_EQ(s.Exchange({0x04}, 1), Bytes{0x04});
  ASSERT_EQ(s.Write({0x01, 0xF8}), FT_OK);
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
  WriteReg(s, 0, 0xC0);
  EXPECT_EQ(rig.box.Register(1), 0xF8);
  EXPECT_EQ(rig.box.Register(0), 0xC0);
  // 0xF8C0 = 63680: 1855 counts of 25.6 us, the host's 47.5 ms.
  EXPECT_DOUBLE_EQ(rig.box.IntegrationMs(), 1855 * 0.0256);
  EXPECT_NEAR(rig.box.IntegrationMs(), 47.5, 0.0128);

  WriteReg(s, 1, 0xFE);
  WriteReg(s, 0, 0x78);  // 0xFE78 = 65144: 391 counts, the host's 10 ms
  EXPECT_NEAR(rig.box.IntegrationMs(), 10.0, 0.0128);
  EXPECT_DOUBLE_EQ(rig.box.IntegrationMs(), 10.0096);

  // The host writes n + 1 = 8192 for 8191 samples: 0x00, 0x20, 0x00.
  SetSampleCount(s, 8191);
  EXPECT_EQ(rig.box.Register(2), 0x00);
  EXPECT_EQ(rig.box.Register(3), 0x20);
  EXPECT_EQ(rig.box.Register(4), 0x00);
  EXPECT_EQ(rig.box.SampleCount(), 8191);
  SetSampleCount(s, 0x123456);
  EXPECT_EQ(rig.box.SampleCount(), 0x123456);

  // Register 5 as identification and close write it; unknown registers are
  // dropped but the exchange still completes.
  WriteReg(s, 5, 255);
  EXPECT_EQ(rig.box.Register(5), 255);
  WriteReg(s, 9, 0x33);
  for (int r = 0; r < 6; ++r) EXPECT_NE(rig.box.Register(r), 0x33) << r;
  EXPECT_EQ(rig.box.Register(9), 0);
}

TEST(SimBoxProtocol, FrameBlockLayoutAndInversion) {
  SimRig rig(Scene::Slit);
  rig.bench.NoiseSigma = 0;
  RawSession s(rig.box);
  EXPECT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  EXPECT_EQ(s.Exchange({0x06}, 1), Bytes{0x06});
  const Bytes block = s.Read(2100);
  ASSERT_EQ(block.size(), 2100u);
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
  EXPECT_EQ(s.Queued(), 0u);

  // Leading and trailing bytes are shielded pixels: the dark level 10, inverted.
  for (int i = 0; i < 39; ++i) EXPECT_EQ(block[i], 245) << i;
  for (int i = 2087; i < 2100; ++i) EXPECT_EQ(block[i], 245) << i;
  // Pixels 0..2047 at bytes 39..2086: the slit pattern is symmetric about
  // the sensor's centre, so a misplaced block would show here.
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(block[39 + i], block[39 + 2047 - i]) << i;
  // Centre: 10 + 190 * sinc^2(a x / lambda L) at half a pixel is 200 -> 55 sent.
  EXPECT_EQ(block[39 + 1023], 55);
  // The edges get only the faint fourth order.
  EXPECT_GE(block[39], 240);
}

TEST(SimBoxTiming, FrameAppearsAfterIntegrationTime) {
  SimRig rig(Scene::Dark);
  rig.clock.AdvanceUs(5000);
  RawSession s(rig.box);
  EXPECT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  EXPECT_EQ(s.Exchange({0x06}, 1), Bytes{0x06});
  EXPECT_EQ(rig.clock.NowUs(), 5000);  // echoes cost no time

  // 10.0096 ms integration: not visible 1 us before, whole block at the time.
  rig.clock.AdvanceUs(10009);
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_TRUE(rig.box.Pending());
  rig.clock.AdvanceUs(1);
  EXPECT_EQ(rig.box.RxQueued(), 2100u);
  EXPECT_FALSE(rig.box.Pending());

  // A host polling an empty queue sleeps the clock toward the block, one
  // slice of at most 10 ms per poll (its window gets its turn between
  // them), and sees it exactly when it is due.
  const Bytes block = s.Read(2100);
  ASSERT_EQ(block.size(), 2100u);
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
  EXPECT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  EXPECT_EQ(s.Exchange({0x06}, 1), Bytes{0x06});
  const std::int64_t asked = rig.clock.NowUs();
  std::uint32_t rx = 0;
  ASSERT_EQ(rig.box.FT_GetStatus(s.handle(), &rx, nullptr, nullptr), FT_OK);
  EXPECT_EQ(rx, 0u);
  EXPECT_EQ(rig.clock.NowUs(), asked + SimBox::kPollSliceUs);
  ASSERT_EQ(rig.box.FT_GetStatus(s.handle(), &rx, nullptr, nullptr), FT_OK);
  EXPECT_EQ(rx, 2100u);
  EXPECT_EQ(rig.clock.NowUs(), asked + 10010);
  EXPECT_EQ(s.Read(2100).size(), 2100u);
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});

  // Nothing pending: the poll returns 0 at once, without moving the clock.
  const std::int64_t idle = rig.clock.NowUs();
  ASSERT_EQ(rig.box.FT_GetStatus(s.handle(), &rx, nullptr, nullptr), FT_OK);
  EXPECT_EQ(rx, 0u);
  EXPECT_EQ(rig.clock.NowUs(), idle);
}

TEST(SimBoxTiming, TimeScaleAndIntegrationRegister) {
  SimRig rig(Scene::Dark, 1, 0.0);
  RawSession s(rig.box);
  s.Write({0xF0, 0x06});
  EXPECT_EQ(rig.box.RxQueued(), 2102u);  // time scale 0: at once
  s.Read(2102);
  s.Exchange({0x0F}, 1);

  rig.box.SetTimeScale(2.0);
  WriteReg(s, 1, 0xFC);
  WriteReg(s, 0, 0xF2);  // 64754: 781 counts = 19.9936 ms
  const std::int64_t t0 = rig.clock.NowUs();
  s.Write({0xF0, 0x06});
  EXPECT_EQ(s.Read(2102).size(), 2102u);
  EXPECT_EQ(rig.clock.NowUs() - t0, std::llround(2 * 781 * 25.6));
}

TEST(SimBoxTiming, SeriesLeadingByteAtOnceSamplesAfterDuration) {
  SimRig rig(Scene::Dark);
  RawSession s(rig.box);
  SetSampleCount(s, 1000);
  const std::int64_t t0 = rig.clock.NowUs();
  s.Write({0xF0, 0x08});
  // Echoes and the leading byte come at once; the first poll sees them
  // without the clock moving.
  EXPECT_EQ(s.Queued(), 3u);
  EXPECT_EQ(rig.clock.NowUs(), t0);
  EXPECT_EQ(s.Read(3), (Bytes{0xF0, 0x08, SimBox::kSeriesStartByte}));

  const Bytes samples = s.Read(1000);
  ASSERT_EQ(samples.size(), 1000u);
  // 1000 periods of 391 counts of 25.6 us.
  EXPECT_EQ(rig.clock.NowUs() - t0, 1000 * 391 * 256 / 10);
  for (std::uint8_t b : samples) ASSERT_NEAR(b, 245, 12);  // dark level 10 inverted, with noise
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
  EXPECT_EQ(s.Queued(), 0u);
}

TEST(SimBoxTiming, SeriesSizes) {
  SimRig rig(Scene::Slit);
  rig.bench.NoiseSigma = 0;
  RawSession s(rig.box);

  // No samples: leading byte, empty block, acknowledgement.
  SetSampleCount(s, 0);
  EXPECT_EQ(s.Exchange({0xF0, 0x08}, 5), (Bytes{0xF0, 0x08, SimBox::kSeriesStartByte}));
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});

  // More than one host chunk of 32768.
  SetSampleCount(s, 32769);
  const std::int64_t t0 = rig.clock.NowUs();
  EXPECT_EQ(s.Exchange({0xF0, 0x08}, 3).size(), 3u);
  const Bytes chunk = s.Read(32768);
  ASSERT_EQ(chunk.size(), 32768u);
  const Bytes rest = s.Read(1);
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_EQ(rig.clock.NowUs() - t0, std::llround(32769 * 10.0096 * 1000));
  // The sensor's centre under a slit: level 200, sent as 55.
  EXPECT_EQ(chunk[0], 55);
  EXPECT_EQ(rest[0], 55);
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
}

TEST(SimBoxFirmware, UnexpectedBytes) {
  SimRig rig;
  RawSession s(rig.box);
  // Idle: anything but F0 is ignored, the acknowledgement included.
  s.Write({0x55, 0x0F, 0x06});
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  // Unknown command: echoed, then idle again.
  EXPECT_EQ(s.Exchange({0xF0, 0x03}, 2), (Bytes{0xF0, 0x03}));
  s.Write({0x0F});
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_FALSE(rig.box.Pending());
  // Waiting for the acknowledgement: other bytes are ignored, F0 starts over.
  EXPECT_EQ(s.Exchange({0xF0, 0x00}, 4), (Bytes{0xF0, 0x00, 0x48, 0x20}));
  s.Write({0x06});
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_EQ(s.Exchange({0xF0, 0x00}, 4), (Bytes{0xF0, 0x00, 0x48, 0x20}));
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
}

TEST(SimBoxFirmware, PurgeAndReset) {
  SimRig rig(Scene::Dark);
  RawSession s(rig.box);

  // Purge RX drops the echoes queued in the bridge, not the frame the
  // firmware is still integrating: that one arrives afterwards. The
  // firmware itself still waits for the acknowledgement.
  s.Write({0xF0, 0x06});
  EXPECT_EQ(rig.box.RxQueued(), 2u);
  ASSERT_EQ(rig.box.FT_Purge(s.handle(), FT_PURGE_TX), FT_OK);
  EXPECT_EQ(rig.box.RxQueued(), 2u);
  ASSERT_EQ(rig.box.FT_Purge(s.handle(), FT_PURGE_RX), FT_OK);
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_TRUE(rig.box.Pending());
  EXPECT_EQ(s.Read(2100).size(), 2100u);
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});

  // Reset in the middle of a register write: the next F0 is a sync again,
  // not a register number, and nothing was written.
  s.Write({0xF0, 0x04});
  ASSERT_EQ(rig.box.FT_ResetDevice(s.handle()), FT_OK);
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_EQ(s.Exchange({0xF0}, 1), Bytes{0xF0});
  EXPECT_EQ(s.Exchange({0x00}, 3), (Bytes{0x00, 0x48, 0x20}));
  EXPECT_EQ(s.Exchange({0x0F}, 1), Bytes{0x0F});
  EXPECT_EQ(rig.box.Register(1), 0xFE);

  // Reset also abandons a frame under way.
  s.Write({0xF0, 0x06});
  ASSERT_EQ(rig.box.FT_ResetDevice(s.handle()), FT_OK);
  EXPECT_FALSE(rig.box.Pending());
  s.Write({0x0F});
  EXPECT_EQ(rig.box.RxQueued(), 0u);

  // Closing drops what was queued; reopening starts clean.
  s.Write({0xF0, 0x06});
  s.Close();
  RawSession again(rig.box);
  EXPECT_EQ(rig.box.RxQueued(), 0u);
  EXPECT_FALSE(rig.box.Pending());
}

TEST(SimBoxFaults, ParsesTheFaultList) {
  std::string error;
  auto f = ParseSimFaults("late=1,silent=3,late=4,unplug=2,replug=0", error);
  ASSERT_TRUE(f) << error;
  EXPECT_EQ(f->late, (std::set<std::int64_t>{1, 4}));
  EXPECT_EQ(f->silent, (std::set<std::int64_t>{3}));
  EXPECT_EQ(f->unplug, 2);
  EXPECT_EQ(f->replugMs, 0);
  EXPECT_TRUE(ParseSimFaults("", error));
  for (const char* bad : {"late", "late=", "late=0", "late=-1", "late=2x", "replug=-5", "jam=1",
                          "late=1,,silent=2", ",late=1"}) {
    error.clear();
    EXPECT_FALSE(ParseSimFaults(bad, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(SimBoxFaults, UnpluggedBoxFailsEveryCallUntilReplugged) {
  SimRig rig(Scene::Dark);
  SimFaults faults;
  faults.unplug = 1;
  faults.replugMs = 100;
  rig.box.SetFaults(faults);
  RawSession s(rig.box);
  s.Write({0xF0, 0x00});  // identification is not a frame request
  EXPECT_EQ(s.Read(3), (Bytes{0xF0, 0x00, 0x48}));
  EXPECT_EQ(s.Read(1), Bytes{0x20});
  s.Write({0x0F, 0xF0});
  EXPECT_EQ(s.Read(2), (Bytes{0x0F, 0xF0}));
  EXPECT_EQ(s.Write({0x06}), FT_IO_ERROR);
  std::uint32_t rx = 0, tx = 0, ev = 0;
  EXPECT_EQ(rig.box.FT_GetStatus(s.handle(), &rx, &tx, &ev), FT_IO_ERROR);
  FtHandle other = 0;
  EXPECT_EQ(rig.box.FT_Open(0, &other), FT_DEVICE_NOT_FOUND);
  rig.clock.AdvanceUs(100'000);
  // Back, powered up afresh; the old handle stays dead until closed.
  EXPECT_EQ(rig.box.FT_GetStatus(s.handle(), &rx, &tx, &ev), FT_IO_ERROR);
  EXPECT_EQ(rig.box.FT_Close(s.handle()), FT_OK);
  RawSession again(rig.box);
  EXPECT_EQ(again.status(), FT_OK);
  EXPECT_EQ(again.Exchange({0xF0}, 1), Bytes{0xF0});
  EXPECT_EQ(rig.box.Register(1), 0xFE);
}

// The host's own link and protocol against the box, end to end.
TEST(SimBoxEndToEnd, BoardSession) {
  SimRig rig(Scene::Slit);
  rig.bench.NoiseSigma = 0;
  UsbLink link(rig.box, rig.clock);
  Board board(link);
  ASSERT_EQ(board.BoardOpen(), FT_OK);
  std::int32_t id = 0;
  ASSERT_EQ(board.GetBoardId(id), FT_OK);
  EXPECT_EQ(id, 0x2048);
  EXPECT_EQ(rig.box.Register(5), 255);

  ASSERT_EQ(board.SetIntegrationTime(10.0), FT_OK);
  EXPECT_EQ(rig.box.Register(1), 0xFE);
  EXPECT_EQ(rig.box.Register(0), 0x78);
  std::vector<std::uint16_t> frame(2100, 0xFFFF);
  const std::int64_t t0 = rig.clock.NowUs();
  ASSERT_EQ(board.ReadFrame(frame), FT_OK);
  EXPECT_GE(rig.clock.NowUs() - t0, 10010);
  // Host levels are bright = large again: the slit's centre at 200.
  EXPECT_EQ(frame[1023], 200);
  EXPECT_EQ(frame[1024], 200);
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(frame[i], frame[2047 - i]) << i;
  EXPECT_EQ(frame[2048], 0xFFFF);

  // A series longer than one host chunk at 47.5 ms: 40000 * 47.488 ms.
  rig.bench.SetScene(Scene::Dark);
  ASSERT_EQ(board.SetIntegrationTime(47.5), FT_OK);
  ASSERT_EQ(board.SetNbSamples(40000), FT_OK);
  EXPECT_EQ(rig.box.SampleCount(), 40000);
  std::vector<std::uint16_t> series(40001, 0xFFFF);
  const std::int64_t t1 = rig.clock.NowUs();
  ASSERT_EQ(board.ReadSamples(series, 40000), FT_OK);
  EXPECT_GE(rig.clock.NowUs() - t1, std::llround(40000 * 1855 * 25.6));
  for (int k = 0; k < 40000; ++k) ASSERT_EQ(series[k], 10) << k;
  EXPECT_EQ(series[40000], 0xFFFF);

  ASSERT_EQ(board.SetNbSamples(0), FT_OK);
  EXPECT_EQ(board.ReadSamples(series, 0), FT_OK);

  ASSERT_EQ(board.BoardClose(), FT_OK);
  EXPECT_EQ(rig.box.Register(5), 0);
  EXPECT_FALSE(rig.box.IsOpen());
}

// The live view's halves: the request goes at once, the box integrates
// while the host works, and the block is there when the host comes back
// for it; any other command first takes the frame on its way.
TEST(SimBoxEndToEnd, AFrameStartedIntegratesWhileTheHostWorks) {
  SimRig rig(Scene::Slit);
  rig.bench.NoiseSigma = 0;
  UsbLink link(rig.box, rig.clock);
  Board board(link);
  ASSERT_EQ(board.Connect(0), FT_OK);
  ASSERT_EQ(board.SetIntegrationTime(10.0), FT_OK);
  std::vector<std::uint16_t> whole(kPixels), halves(kPixels);
  ASSERT_EQ(board.ReadFrame(whole), FT_OK);

  const std::int64_t t0 = rig.clock.NowUs();
  ASSERT_EQ(board.StartFrame(), FT_OK);
  EXPECT_LT(rig.clock.NowUs() - t0, 1000);  // the request does not wait for the frame
  EXPECT_TRUE(board.FrameStarted());
  rig.clock.AdvanceUs(10'500);  // the host's work, longer than the integration
  const std::int64_t t1 = rig.clock.NowUs();
  ASSERT_EQ(board.FinishFrame(halves), FT_OK);
  EXPECT_LT(rig.clock.NowUs() - t1, 1000);  // the block was already there
  EXPECT_EQ(halves, whole);

  // Started, then the sensitivity changes: the frame is taken first, and
  // the register write and the next frame see a box at rest.
  ASSERT_EQ(board.StartFrame(), FT_OK);
  ASSERT_EQ(board.SetIntegrationTime(20.0), FT_OK);
  EXPECT_FALSE(board.FrameStarted());
  EXPECT_EQ(rig.box.Register(1), 0xFC);
  ASSERT_EQ(board.FinishFrame(halves), FT_OK);  // none started: a whole frame
  ASSERT_EQ(board.StartFrame(), FT_OK);
  board.DropStartedFrame();
  EXPECT_FALSE(board.FrameStarted());
  ASSERT_EQ(board.ReadFrame(halves), FT_OK);
  EXPECT_EQ(board.Resyncs(), 0);
}

}  // namespace
}  // namespace rovanel::device::sim
