#include "signal/prominence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "signal/peaks.h"

namespace rovanel::signal {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Prominences worked out by hand on small curves.
TEST(PeakProminence, MatchesHandValues) {
  struct Case {
    const char* what;
    Bytes curve;
    std::size_t i;
    int expected;
  };
  const Case cases[] = {
      // Top 50; left low 10 before the curve's end, right low 20 before 60.
      {"lower peak beside a higher one", {10, 50, 20, 60, 0}, 1, 30},
      // Top 60: no higher ground, lows 10 (left walk) and 0 (right).
      {"highest peak", {10, 50, 20, 60, 0}, 3, 50},
      // Marked on the flank, the walk climbs to 60 first.
      {"mark on a flank", {10, 50, 20, 40, 60, 5}, 3, 50},
      // A plateau top 30 crossed as one; lows 5 and 12.
      {"plateau top", {5, 30, 30, 30, 12, 40}, 2, 18},
      // A bump of 2 on the slope of a line: the walk right meets 200 after
      // 102, the walk left goes down to 0.
      {"noise bump on a flank", {0, 100, 104, 102, 200, 0}, 2, 2},
      // Equal peaks: each walks past the other to the ends.
      {"twin peaks", {0, 80, 40, 80, 10}, 1, 70},
      {"a constant curve", {7, 7, 7, 7}, 2, 0},
      {"outside the curve", {1, 2, 3}, 3, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(PeakProminence(c.curve, c.i), c.expected) << c.what;
}

TEST(PeakProminence, ThresholdIsAPercentOfFullScale) {
  const Bytes curve = {0, 51, 0};  // prominence 51 = 20 % of 255
  EXPECT_TRUE(ProminentEnough(curve, 1, 0.0));
  EXPECT_TRUE(ProminentEnough(curve, 1, 20.0));
  EXPECT_FALSE(ProminentEnough(curve, 1, 20.5));
}

// Two lines on a noisy floor: the detector finds the noise bumps too, the
// prominence keeps the lines only, and 0 % keeps everything.
TEST(KeepProminentMarks, KeepsTheLinesAndDropsTheNoise) {
  Bytes curve(400, 20);
  for (std::size_t i = 0; i < curve.size(); ++i) {
    const double x = static_cast<double>(i);
    const double line = 150 * std::exp(-0.5 * std::pow((x - 100) / 4, 2)) +
                        90 * std::exp(-0.5 * std::pow((x - 280) / 4, 2));
    curve[i] = static_cast<std::uint8_t>(20 + line + ((i * 7919) % 13 < 3 ? 6 : 0));
  }
  Bytes marks(curve.size());
  const std::uint32_t all = DetectPeaks(curve, marks);
  ASSERT_GT(all, 2u);
  Bytes same = marks;
  EXPECT_EQ(KeepProminentMarks(curve, same, 0.0), all);
  EXPECT_EQ(same, marks);
  EXPECT_EQ(KeepProminentMarks(curve, marks, 10.0), 2u);
  for (std::size_t i = 0; i < marks.size(); ++i)
    if (marks[i] != 0) {
      EXPECT_TRUE((i >= 95 && i <= 105) || (i >= 275 && i <= 285)) << i;
    }
}

}  // namespace
}  // namespace rovanel::signal
