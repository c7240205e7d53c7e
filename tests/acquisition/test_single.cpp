#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "acquisition/single.h"
#include "device/usb_link.h"
#include "support/frame_server.h"
#include "support/scripted_driver.h"

namespace rovanel::acquisition {
namespace {

TEST(RoundedMean, MatchesNearestWithHalvesToEvenOverTheAveragingRange) {
  // Oracle: the floating-point quotient is exact at every tie for these
  // counts, and nearbyint rounds ties to even.
  for (std::int64_t n = 1; n <= 49; ++n)
    for (std::int64_t sum = 0; sum <= 255 * n; ++sum)
      ASSERT_EQ(RoundedMean(sum, n), static_cast<std::int64_t>(std::nearbyint(double(sum) / n)))
          << sum << "/" << n;
  EXPECT_EQ(RoundedMean(2, 4), 0);
  EXPECT_EQ(RoundedMean(6, 4), 2);
  EXPECT_EQ(RoundedMean(43, 4), 11);
}

TEST(FrameSum, AveragesFramesAndReleasesItsBuffer) {
  std::array<std::uint8_t, kPixels> a{}, b{}, out{};
  a.fill(255);
  b.fill(254);
  FrameSum sum;
  EXPECT_FALSE(sum.Held());
  sum.Start(a);
  sum.Add(b);
  sum.AverageInto(out);
  EXPECT_EQ(out[0], 254);  // 254.5 goes to the even neighbour
  EXPECT_EQ(sum.Count(), 2);
  sum.Release();
  EXPECT_FALSE(sum.Held());
  EXPECT_EQ(sum.Count(), 0);
}

TEST(AcquireFrame, StoresTheLightLevelsAndKeepsZerosWhereNothingCame) {
  device::ManualClock clock;
  support::ScriptedDriver driver(&clock);
  support::FrameServer server(driver);
  support::Levels light;
  for (int i = 0; i < 2048; ++i) light[i] = static_cast<std::uint8_t>(i % 256);
  server.Push(light);
  device::UsbLink link(driver, clock);
  device::Board board(link);
  ASSERT_EQ(board.Connect(0), 0);

  std::array<std::uint8_t, kPixels> slot;
  slot.fill(77);
  EXPECT_EQ(AcquireFrame(board, slot), 0);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(slot[i], i % 256) << i;

  // A box that stops answering: the slot receives zeros, the status says why
  // (a purge after the failure finds the queue empty).
  driver.OnWrite = nullptr;
  slot.fill(77);
  EXPECT_EQ(AcquireFrame(board, slot), device::kNoByte);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(slot[i], 0) << i;
}

}  // namespace
}  // namespace rovanel::acquisition
