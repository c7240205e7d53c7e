#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device/usb_link.h"
#include "support/scripted_driver.h"

namespace rovanel::device {
namespace {

using support::ScriptedDriver;
using Names = std::vector<std::string>;

struct LinkFixture : ::testing::Test {
  ManualClock clock{1};
  ScriptedDriver drv{&clock};
  UsbLink link{drv, clock};
  std::vector<std::string> boxes;

  void OpenQuietly() {
    ASSERT_EQ(link.OpenUSB(), FT_OK);
    drv.calls.clear();
  }
  void CatchBoxes() {
    link.ShowUsbErrors = true;
    link.ErrorBox = [this](const std::string& text) { boxes.push_back(text); };
  }
};

TEST(UsbErrorText, ReporterTexts) {
  EXPECT_EQ(UsbErrorText(0), "");
  EXPECT_EQ(UsbErrorText(1), " - Invalid Handle...");
  EXPECT_EQ(UsbErrorText(2), " - Device Not Found....");
  EXPECT_EQ(UsbErrorText(3), " - Device Not Opened...");
  EXPECT_EQ(UsbErrorText(4), " - General IO Error...");
  EXPECT_EQ(UsbErrorText(5), " - Insufficient Resources...");
  EXPECT_EQ(UsbErrorText(6), " - Invalid parameter...");
  EXPECT_EQ(UsbErrorText(7), " - Unknown error...");
  EXPECT_EQ(UsbErrorText(18), " - Unknown error...");
}

TEST_F(LinkFixture, OpenUsbCallsInOrderWithArguments) {
  EXPECT_EQ(link.OpenUSB(), FT_OK);
  EXPECT_TRUE(link.UsbOpened);
  EXPECT_EQ(link.UsbHandle, drv.handleValue);
  ASSERT_EQ(drv.CallNames(), (Names{"FT_Open", "FT_ResetDevice", "FT_Purge", "FT_Purge",
                                    "FT_SetTimeouts", "FT_SetUSBParameters"}));
  EXPECT_EQ(drv.calls[0].args[0], 0u);  // device index 0
  for (std::size_t i = 1; i < drv.calls.size(); ++i)
    EXPECT_EQ(drv.calls[i].handle, drv.handleValue);
  EXPECT_EQ(drv.calls[2].args[0], FT_PURGE_TX);
  EXPECT_EQ(drv.calls[3].args[0], FT_PURGE_RX);
  EXPECT_EQ(drv.calls[4].args, (std::array<std::uint64_t, 2>{500, 500}));
  EXPECT_EQ(drv.calls[5].args, (std::array<std::uint64_t, 2>{8192, 0}));
}

TEST_F(LinkFixture, OpenUsbWithNoBoxLeavesLinkClosed) {
  drv.Fail("FT_Open", FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(link.OpenUSB(), FT_DEVICE_NOT_FOUND);
  EXPECT_FALSE(link.UsbOpened);
  EXPECT_EQ(drv.CallNames(), Names{"FT_Open"});
}

TEST(UsbLinkOpen, FirstFailingStepStopsOpenAndLeavesLinkOpen) {
  // Step k of the preparation fails: its status comes back, nothing after it runs.
  const std::vector<std::pair<std::string, int>> steps = {{"FT_ResetDevice", 1},
                                                          {"FT_Purge", 1},
                                                          {"FT_Purge", 2},
                                                          {"FT_SetTimeouts", 1},
                                                          {"FT_SetUSBParameters", 1}};
  for (std::size_t k = 0; k < steps.size(); ++k) {
    ManualClock clock;
    ScriptedDriver drv(&clock);
    UsbLink link(drv, clock);
    drv.Fail(steps[k].first, static_cast<Status>(3 + k), steps[k].second);
    EXPECT_EQ(link.OpenUSB(), static_cast<Status>(3 + k)) << k;
    EXPECT_TRUE(link.UsbOpened) << k;
    EXPECT_EQ(drv.calls.size(), k + 2) << k;  // FT_Open + steps 0..k
  }
}

TEST_F(LinkFixture, SecondOpenSkipsFtOpenAndPreparesAgain) {
  OpenQuietly();
  EXPECT_EQ(link.OpenUSB(), FT_OK);
  EXPECT_EQ(drv.CallNames(), (Names{"FT_ResetDevice", "FT_Purge", "FT_Purge", "FT_SetTimeouts",
                                    "FT_SetUSBParameters"}));
}

TEST_F(LinkFixture, CloseUsbClosesOnlyAnOpenLink) {
  link.CloseUSB();
  EXPECT_TRUE(drv.calls.empty());
  OpenQuietly();
  drv.Fail("FT_Close", FT_IO_ERROR);  // not looked at
  link.CloseUSB();
  EXPECT_FALSE(link.UsbOpened);
  EXPECT_EQ(drv.CallNames(), Names{"FT_Close"});
  EXPECT_EQ(drv.calls[0].handle, drv.handleValue);
  link.CloseUSB();
  EXPECT_EQ(drv.calls.size(), 1u);
}

TEST_F(LinkFixture, ReporterNamesEachFailingCall) {
  CatchBoxes();
  drv.Fail("FT_Open", FT_DEVICE_NOT_FOUND, 1);
  link.Open_USB_Device();
  OpenQuietly();
  const Status kAll = FT_INSUFFICIENT_RESOURCES;
  for (const char* fn : {"FT_Close", "FT_ResetDevice", "FT_Purge", "FT_SetTimeouts",
                         "FT_SetUSBParameters", "FT_Write", "FT_Read", "FT_GetStatus"})
    drv.Fail(fn, kAll);
  std::uint32_t written = 0;
  bool ready = false;
  link.Close_USB_Device();
  link.Reset_USB_Device();
  link.Purge_USB_Device_TX();
  link.Purge_USB_Device_RX();
  link.Set_USB_Device_TimeOuts(500, 500);
  link.Set_USB_Parameters(8192, 0);
  link.Write_USB_Device_Buffer(1, written);
  link.WaitForReadingUSB(ready);
  link.WaitForNbData(1);
  link.Read_USB_Device_Buffer(1);  // status poll fails
  drv.ClearFailures();
  drv.Fail("FT_Read", FT_INVALID_PARAMETER);
  drv.Queue({1});
  link.Read_USB_Device_Buffer(1);  // the read itself fails
  EXPECT_EQ(boxes, (Names{"FT_Open - Device Not Found....", "FT_Close - Insufficient Resources...",
                          "FT_ResetDevice - Insufficient Resources...",
                          "FT_Purge TX - Insufficient Resources...",
                          "FT_Purge RX - Insufficient Resources...",
                          "FT_SetTimeouts - Insufficient Resources...",
                          "FT_SetUSBParameters - Insufficient Resources...",
                          "Write_USB_Device_Buffer - Insufficient Resources...",
                          "WaitForReadingUSB - Insufficient Resources...",
                          "WaitForNbData - Insufficient Resources...",
                          "Read_USB_Device_Buffer - Insufficient Resources...",
                          "Read_USB_Device_Buffer - Invalid parameter..."}));
}

TEST_F(LinkFixture, ReporterSilentWhenSwitchedOffOrForByteLayerCodes) {
  link.ErrorBox = [this](const std::string& text) { boxes.push_back(text); };
  drv.Fail("FT_Open", FT_DEVICE_NOT_FOUND, 1);
  EXPECT_EQ(link.OpenUSB(), FT_DEVICE_NOT_FOUND);
  EXPECT_TRUE(boxes.empty());
  // Switched on: -20 and -150 are never reported, and success never is.
  link.ShowUsbErrors = true;
  OpenQuietly();
  drv.ShortWrite(0, 1);
  EXPECT_EQ(link.WriteByteUSB(0xF0), kShortWrite);
  link.ReadTimeoutMs = 5;
  drv.pollsCostTime = true;
  std::uint8_t b = 0;
  EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
  EXPECT_TRUE(boxes.empty());
  // On with no box function: nothing to show, nothing breaks.
  link.ErrorBox = nullptr;
  link.ShowUsbError("FT_Open", FT_IO_ERROR);
}

TEST_F(LinkFixture, WriteByteSendsTheFirstBufferByte) {
  OpenQuietly();
  EXPECT_EQ(link.WriteByteUSB(0xA5), FT_OK);
  EXPECT_EQ(link.UsbTxBuf[0], 0xA5);
  ASSERT_EQ(drv.CallNames(), Names{"FT_Write"});
  EXPECT_EQ(drv.calls[0].args[0], 1u);
  EXPECT_EQ(drv.Written(), std::vector<std::uint8_t>{0xA5});
}

TEST_F(LinkFixture, WriteByteStatusAndShortWrites) {
  OpenQuietly();
  drv.ShortWrite(0, 1);  // status 0, nothing written
  EXPECT_EQ(link.WriteByteUSB(1), kShortWrite);
  drv.ShortWrite(2, 2);  // more than asked for is not "exactly one" either
  EXPECT_EQ(link.WriteByteUSB(1), kShortWrite);
  drv.Fail("FT_Write", FT_IO_ERROR, 3);  // failure with nothing written: the failure
  EXPECT_EQ(link.WriteByteUSB(1), FT_IO_ERROR);
  drv.Fail("FT_Write", FT_IO_ERROR, 4);  // one byte written yet failing: the status
  drv.ShortWrite(1, 4);
  EXPECT_EQ(link.WriteByteUSB(1), FT_IO_ERROR);
  // The count is handed back whatever the status.
  drv.Fail("FT_Write", FT_IO_ERROR, 5);
  drv.ShortWrite(1, 5);
  std::uint32_t written = 99;
  EXPECT_EQ(link.Write_USB_Device_Buffer(1, written), FT_IO_ERROR);
  EXPECT_EQ(written, 1u);
}

TEST_F(LinkFixture, ReadByteReadsOneQueuedByte) {
  OpenQuietly();
  drv.Queue({0x3C, 0x77});
  std::uint8_t b = 0;
  EXPECT_EQ(link.ReadByteUSB(b), FT_OK);
  EXPECT_EQ(b, 0x3C);
  EXPECT_EQ(link.LastPollCount, 1u);
  ASSERT_EQ(drv.CallNames(), (Names{"FT_GetStatus", "FT_GetStatus", "FT_Read"}));
  EXPECT_EQ(drv.calls[2].args[0], 1u);
  EXPECT_EQ(drv.QueueSize(), 1u);
}

TEST_F(LinkFixture, ReadByteGivesUpOnThe500001stPoll) {
  OpenQuietly();
  link.UsbRxBuf[0] = 0x11;
  std::uint8_t b = 0xAB;
  EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
  EXPECT_EQ(b, 0xAB);
  EXPECT_EQ(link.LastPollCount, 500001u);
  EXPECT_EQ(drv.Count("FT_GetStatus"), 500001);
  EXPECT_EQ(drv.Count("FT_Read"), 0);
}

TEST_F(LinkFixture, ReadBytePollBoundIsExact) {
  // Poll p happens at p - 1 µs (one Spin between polls). A byte seen by the
  // 500 000th poll is read; one first seen by the 500 001st is not.
  OpenQuietly();
  drv.ArriveAt(499999, {0x42});
  std::uint8_t b = 0;
  EXPECT_EQ(link.ReadByteUSB(b), FT_OK);
  EXPECT_EQ(b, 0x42);
  EXPECT_EQ(link.LastPollCount, 500000u);

  ManualClock clock2;
  ScriptedDriver drv2(&clock2);
  UsbLink link2(drv2, clock2);
  ASSERT_EQ(link2.OpenUSB(), FT_OK);
  drv2.ArriveAt(500000, {0x42});
  b = 7;
  EXPECT_EQ(link2.ReadByteUSB(b), kNoByte);
  EXPECT_EQ(b, 7);
}

// A clock whose pause between polls takes real time, recorded: the pause
// waits from the start of the poll it follows.
struct PacingClock final : Clock {
  std::int64_t now = 0;
  std::vector<std::int64_t> pausedFrom;
  std::int64_t NowUs() override { return now; }
  void SleepUntilUs(std::int64_t t) override { now = std::max(now, t); }
  void PollPause(std::int64_t pollStartUs) override {
    pausedFrom.push_back(pollStartUs);
    SleepUntilUs(pollStartUs + kPollIntervalUs);
  }
  bool PausesTakeTime() const override { return true; }
};

TEST(UsbLinkWaits, PausedPollsAreBoundedByTheReadTimeOutAndPacedFromEachPollsStart) {
  for (bool block : {false, true}) {
    PacingClock clock;
    ScriptedDriver drv(&clock);
    UsbLink link(drv, clock);
    ASSERT_EQ(link.OpenUSB(), FT_OK);
    std::uint8_t b = 3;
    // A free status poll: one a millisecond, given up past the 500 ms time-out.
    EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
    EXPECT_EQ(link.LastPollCount, 502u);
    EXPECT_EQ(clock.pausedFrom.size(), 501u);
    EXPECT_EQ(clock.pausedFrom[1] - clock.pausedFrom[0], 1000);
    // The block wait paces the same way; a poll that itself took 3 ms is
    // followed by no sleep at all.
    if (block) drv.OnStatus = [&] { clock.now += 3000; };
    clock.pausedFrom.clear();
    EXPECT_EQ(link.ReadNbDataUSB(10), kNoByte);
    ASSERT_GE(clock.pausedFrom.size(), 2u);
    EXPECT_EQ(clock.pausedFrom[1] - clock.pausedFrom[0], block ? 3000 : 1000) << block;
  }
}

TEST_F(LinkFixture, ReadByteFailingPollGives150AndKeepsByte) {
  OpenQuietly();
  drv.Queue({0x55});
  drv.Fail("FT_GetStatus", FT_IO_ERROR, 1);
  std::uint8_t b = 9;
  EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
  EXPECT_EQ(b, 9);
  EXPECT_EQ(link.LastPollCount, 1u);
  EXPECT_EQ(drv.Count("FT_Read"), 0);
}

TEST_F(LinkFixture, ReadByteOnARealBoxIsAlsoBoundedByTheReadTimeOut) {
  OpenQuietly();
  drv.pollsCostTime = true;
  clock.SetSpinQuantumUs(1000);
  // Poll p at (p - 1) ms; it gives up at the first poll past 500 ms.
  std::uint8_t b = 3;
  EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
  EXPECT_EQ(link.LastPollCount, 502u);
  EXPECT_EQ(b, 3);
  // The bound follows the time-out last set.
  link.Set_USB_Device_TimeOuts(50, 50);
  EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
  EXPECT_EQ(link.LastPollCount, 52u);
  // A byte in time is read.
  drv.ArriveAt(clock.NowUs() + 40000, {0x99});
  EXPECT_EQ(link.ReadByteUSB(b), FT_OK);
  EXPECT_EQ(b, 0x99);
}

TEST_F(LinkFixture, ReadBufferNeverHandsOnStaleBytes) {
  OpenQuietly();
  // An empty queue: nothing read, and the old bytes are not passed off as new.
  link.UsbRxBuf[0] = 0xEE;
  EXPECT_EQ(link.Read_USB_Device_Buffer(4), kNoByte);
  EXPECT_EQ(drv.Count("FT_Read"), 0);
  // A failed poll's count is not trusted: no read, its status comes back.
  drv.Queue({1, 2, 3, 4});
  drv.Fail("FT_GetStatus", FT_IO_ERROR, 2);
  EXPECT_EQ(link.Read_USB_Device_Buffer(4), FT_IO_ERROR);
  EXPECT_EQ(drv.Count("FT_Read"), 0);
  EXPECT_EQ(drv.QueueSize(), 4u);
  // The read's status is the result.
  drv.Fail("FT_Read", FT_IO_ERROR, 1);
  EXPECT_EQ(link.Read_USB_Device_Buffer(4), FT_IO_ERROR);
  EXPECT_EQ(link.Read_USB_Device_Buffer(4), FT_OK);
  EXPECT_EQ((std::vector<std::uint8_t>(link.UsbRxBuf.begin(), link.UsbRxBuf.begin() + 4)),
            (std::vector<std::uint8_t>{1, 2, 3, 4}));
  // Fewer bytes than asked for is a failure too; a byte read keeps its old
  // value when nothing came.
  drv.Queue({9, 9});
  EXPECT_EQ(link.Read_USB_Device_Buffer(4), kNoByte);
  EXPECT_EQ(drv.QueueSize(), 0u);
  std::uint8_t b = 0x42;
  EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
  EXPECT_EQ(b, 0x42);
}

TEST_F(LinkFixture, ReadNbDataZeroReturnsAtOnceAndReadsNothing) {
  OpenQuietly();
  link.UsbRxBuf[0] = 0x5A;
  EXPECT_EQ(link.ReadNbDataUSB(0), FT_OK);
  EXPECT_EQ(link.LastPollCount, 1u);
  EXPECT_EQ(link.UsbRxBuf[0], 0x5A);
  drv.Queue({7, 8});
  EXPECT_EQ(link.ReadNbDataUSB(0), FT_OK);
  EXPECT_EQ(drv.QueueSize(), 2u);
  EXPECT_EQ(link.UsbRxBuf[0], 0x5A);
}

TEST_F(LinkFixture, ReadNbDataWaitsForTheWholeBlock) {
  OpenQuietly();
  drv.ArriveAt(100, {1, 2, 3});
  drv.ArriveAt(300, {4, 5});
  EXPECT_EQ(link.ReadNbDataUSB(5), FT_OK);
  EXPECT_EQ(clock.NowUs(), 300);
  ASSERT_EQ(drv.CallNames(false), Names{"FT_Read"});
  EXPECT_EQ(drv.calls.back().args[0], 5u);
  EXPECT_EQ(drv.calls.back().data, (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(link.UsbRxBuf[4], 5);
}

TEST_F(LinkFixture, BlocksBeyondTheBufferAreRefused) {
  OpenQuietly();
  std::uint32_t written = 0;
  EXPECT_EQ(link.Write_USB_Device_Buffer(32769, written), FT_INVALID_PARAMETER);
  EXPECT_EQ(link.Read_USB_Device_Buffer(32769), FT_INVALID_PARAMETER);
  EXPECT_EQ(link.ReadNbDataUSB(32769), FT_INVALID_PARAMETER);
  EXPECT_EQ(drv.CallNames(), Names{});
}

TEST_F(LinkFixture, WaitForNbDataEndsAfterSilenceLongerThanTheTimeOut) {
  OpenQuietly();
  clock.SetSpinQuantumUs(1000);  // one poll per ms
  drv.ArriveAt(100'000, std::vector<std::uint8_t>(10));
  drv.ArriveAt(550'000, std::vector<std::uint8_t>(10));  // 450 ms of silence: fine
  EXPECT_EQ(link.WaitForNbData(30), kNoByte);
  // Last growth at 550 ms; the first poll more than 500 ms later ends it.
  EXPECT_EQ(clock.NowUs(), 1'051'000);
  EXPECT_EQ(link.LastPollCount, 1052u);
}

TEST_F(LinkFixture, WaitForNbDataAllowanceCoversOnlyTheFirstByte) {
  OpenQuietly();
  clock.SetSpinQuantumUs(1000);
  drv.ArriveAt(3'000'000, std::vector<std::uint8_t>(100));
  EXPECT_EQ(link.WaitForNbData(100, 2400), kNoByte);  // 2.9 s of silence allowed
  EXPECT_EQ(clock.NowUs(), 2'901'000);
  EXPECT_EQ(link.WaitForNbData(100, 2600), FT_OK);
  EXPECT_EQ(clock.NowUs(), 3'000'000);

  // Once the first byte is in, the plain time-out applies again.
  ManualClock clock2(1000);
  ScriptedDriver drv2(&clock2);
  UsbLink link2(drv2, clock2);
  ASSERT_EQ(link2.OpenUSB(), FT_OK);
  drv2.ArriveAt(100'000, {1});
  drv2.ArriveAt(2'000'000, std::vector<std::uint8_t>(99));
  EXPECT_EQ(link2.WaitForNbData(100, 5000), kNoByte);
  EXPECT_EQ(clock2.NowUs(), 601'000);
}

// The window has its turn before the first poll (a driver that blocks
// until the bytes come would otherwise give it none while the box works)
// and every 20 ms after; cancelled at its first turn, the wait polls not
// once.
TEST_F(LinkFixture, WaitForNbDataGivesTheWindowItsTurnBeforePolling) {
  OpenQuietly();
  clock.SetSpinQuantumUs(1000);
  const std::int64_t start = clock.NowUs();
  std::vector<std::int64_t> turns;
  std::vector<std::uint64_t> pollsBefore;
  link.WaitHook = [&] {
    turns.push_back(clock.NowUs() - start);
    pollsBefore.push_back(link.LastPollCount);
    return false;
  };
  drv.ArriveAt(start + 45'000, std::vector<std::uint8_t>(10));
  EXPECT_EQ(link.WaitForNbData(10), FT_OK);
  EXPECT_EQ(turns, (std::vector<std::int64_t>{0, 20'000, 40'000}));
  EXPECT_EQ(pollsBefore, (std::vector<std::uint64_t>{0, 20, 40}));
  link.WaitHook = [] { return true; };
  EXPECT_EQ(link.WaitForNbData(10), kCancelled);
  EXPECT_EQ(link.LastPollCount, 0u);
}

TEST_F(LinkFixture, WaitForNbDataReturnsAFailingPollsStatus) {
  OpenQuietly();
  drv.Fail("FT_GetStatus", FT_IO_ERROR, 3);
  EXPECT_EQ(link.WaitForNbData(10), FT_IO_ERROR);
  EXPECT_EQ(link.LastPollCount, 3u);
}

}  // namespace
}  // namespace rovanel::device
