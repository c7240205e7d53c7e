#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "device/board.h"
#include "device/ftdi_driver.h"
#include "device/no_box_driver.h"
#include "device/usb_link.h"

namespace rovanel::device {
namespace {

// Every call but FT_Open on `handle`, with the status each returned.
std::vector<Status> CallsOn(FtDriver& d, FtHandle handle) {
  std::uint8_t buf[4] = {1, 2, 3, 4};
  std::uint32_t n = 77, rx = 77, tx = 77, ev = 77;
  std::vector<Status> out = {
      d.FT_Close(handle),
      d.FT_ResetDevice(handle),
      d.FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX),
      d.FT_SetTimeouts(handle, 500, 500),
      d.FT_SetUSBParameters(handle, 8192, 0),
      d.FT_Write(handle, buf, 4, &n),
  };
  EXPECT_EQ(n, 0u);
  n = 77;
  out.push_back(d.FT_Read(handle, buf, 4, &n));
  EXPECT_EQ(n, 0u);
  out.push_back(d.FT_GetStatus(handle, &rx, &tx, &ev));
  EXPECT_EQ(rx, 0u);
  return out;
}

// Opening through libftdi would write to whatever FTDI device is plugged
// in (a developer's USB-serial cable): only when asked for.
bool RealBoxTestsAllowed() {
  const char* v = std::getenv("ROVANEL_TEST_REAL_BOX");
  return v != nullptr && std::string(v) == "1";
}

#define REQUIRE_REAL_BOX_TESTS()                 \
  if (!RealBoxTestsAllowed())                    \
  GTEST_SKIP() << "set ROVANEL_TEST_REAL_BOX=1 " \
                  "to open real FTDI devices"

// Run on a machine with no box attached.
TEST(FtdiDriver, OpenWithNoBoxIsDeviceNotFound) {
  REQUIRE_REAL_BOX_TESTS();
  auto driver = MakeFtdiDriver();
  FtHandle h = 0;
  EXPECT_EQ(driver->FT_Open(0, &h), FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(driver->FT_Open(3, &h), FT_DEVICE_NOT_FOUND);
  auto other = MakeFtdiDriver({0x1234, 0x5678, "no-such-serial", "no such box"});
  EXPECT_EQ(other->FT_Open(0, &h), FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(h, 0u);
  EXPECT_TRUE(driver->PollsCostTime());
  EXPECT_FALSE(driver->Simulated());
}

TEST(FtdiDriver, CallsOnAHandleNeverOpenedAreInvalid) {
  auto driver = MakeFtdiDriver();
  for (FtHandle h : {FtHandle{0}, FtHandle{1}, FtHandle{0xDEAD}})
    EXPECT_EQ(CallsOn(*driver, h), std::vector<Status>(8, FT_INVALID_HANDLE));
  EXPECT_EQ(driver->FT_Open(0, nullptr), FT_INVALID_PARAMETER);
}

TEST(NoBoxDriver, NothingOpens) {
  auto driver = MakeNoBoxDriver();
  FtHandle h = 0;
  EXPECT_EQ(driver->FT_Open(0, &h), FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(CallsOn(*driver, h), std::vector<Status>(8, FT_INVALID_HANDLE));
}

// Without a box the program runs on: every operation fails at once with a
// status and leaves the destination alone.
TEST(NoBoxDriver, EveryOperationFailsPromptly) {
  for (bool ftdi : {false, true}) {
    if (ftdi && !RealBoxTestsAllowed()) continue;
    auto driver = ftdi ? MakeFtdiDriver() : MakeNoBoxDriver();
    UsbLink link(*driver, RealClock());
    Board board(link);
    EXPECT_EQ(board.BoardOpen(), FT_DEVICE_NOT_FOUND);
    EXPECT_FALSE(link.UsbOpened);
    // Nothing reaches a link that is not open.
    std::int32_t id = -7;
    EXPECT_EQ(board.GetBoardId(id), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(id, -7);
    EXPECT_EQ(board.SetIntegrationTime(10.0), FT_DEVICE_NOT_OPENED);
    std::vector<std::uint16_t> dest(2100, 0xBEEF);
    EXPECT_EQ(board.ReadFrame(dest), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(board.ReadSamples(dest, 100), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(dest, std::vector<std::uint16_t>(2100, 0xBEEF));
    EXPECT_EQ(board.BoardClose(), FT_OK);
    std::uint8_t b = 5;
    EXPECT_EQ(link.ReadByteUSB(b), kNoByte);
    EXPECT_EQ(link.LastPollCount, 1u);
    EXPECT_EQ(link.ReadNbDataUSB(10), FT_INVALID_HANDLE);
  }
}

}  // namespace
}  // namespace rovanel::device
