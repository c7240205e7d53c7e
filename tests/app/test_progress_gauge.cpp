#include <gtest/gtest.h>

#include "app/progress_gauge.h"

namespace rovanel::app {
namespace {

TEST(ProgressGauge, LayoutOfItsWindow) {
  TPBar g;
  const auto bevel = g.Bevel();
  EXPECT_EQ(bevel.left, 10);
  EXPECT_EQ(bevel.top, 40);
  EXPECT_EQ(bevel.width, 280);
  EXPECT_EQ(bevel.height, 27);
  EXPECT_EQ(g.Ligne1Rect().top, 3);
  EXPECT_EQ(g.Ligne2Rect().top, 23);
  const auto cancel = g.CancelRect();
  EXPECT_EQ(cancel.left, 100);
  EXPECT_EQ(cancel.top, 73);
  EXPECT_EQ(cancel.width, 100);
  EXPECT_EQ(cancel.height, 20);
  EXPECT_EQ(g.BarWidth(), 278);
  EXPECT_EQ(g.BarHeight(), 25);
}

TEST(ProgressGauge, PositionIsClampedAndShownAsNearestPercentWithHalvesToEven) {
  TPBar g;
  g.MinValue = 1;
  g.MaxValue = 9;
  g.Show();
  EXPECT_TRUE(g.Visible());
  EXPECT_EQ(g.Position(), 1);
  EXPECT_EQ(g.Percent(), 0);
  g.SetPosition(20);
  EXPECT_EQ(g.Position(), 9);
  EXPECT_EQ(g.Percent(), 100);
  g.SetPosition(-3);
  EXPECT_EQ(g.Position(), 1);
  g.SetPosition(2);  // 1/8 = 12.5 % -> 12
  EXPECT_EQ(g.Percent(), 12);
  g.MinValue = 0;
  g.MaxValue = 8;
  g.SetPosition(3);  // 37.5 % -> 38
  EXPECT_EQ(g.Percent(), 38);
  g.MaxValue = g.MinValue = 1;  // an empty range shows 0 %
  g.SetPosition(1);
  EXPECT_EQ(g.Percent(), 0);
}

TEST(ProgressGauge, EveryChangeReachesTheViewAndCancelRunsItsHandler) {
  TPBar g;
  int changes = 0, cancels = 0;
  g.Changed = [&] { ++changes; };
  g.SetOnCancel([&] { ++cancels; });
  g.SetLigne1("one");
  g.SetLigne2("two");
  g.Show();
  g.SetPosition(0);
  g.Hide();
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(g.Ligne1(), "one");
  EXPECT_EQ(g.Ligne2(), "two");
  EXPECT_FALSE(g.Visible());
  g.CancelClick();
  EXPECT_EQ(cancels, 1);
}

}  // namespace
}  // namespace rovanel::app
