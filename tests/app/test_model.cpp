// The window's small models on their own, without the window: the curve set
// and its pens, the pipeline's steps, and the plot view's cursors and
// drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/model/curve_set.h"
#include "app/model/pipeline_steps.h"
#include "app/model/plot_view.h"

namespace rovanel::app::model {
namespace {

using signal::Curve;

Curve Flat(std::uint8_t v) {
  Curve c;
  c.fill(v);
  return c;
}

TEST(CurveSetModel, SuperpositionAddsUpToTheLimitAndThePensRotate) {
  CurveSet set;
  EXPECT_EQ(set.Count(), 1);
  EXPECT_EQ(set.Pens(), CurveSet::kStartColours);
  // The newest is always drawn in black; the older ones take red and navy.
  const struct {
    int count;
    display::Rgb first, second, third;
  } steps[] = {{2, display::kRed, display::kBlack, display::kNavy},
               {3, display::kNavy, display::kRed, display::kBlack}};
  for (const auto& step : steps) {
    EXPECT_TRUE(set.Add(3));
    EXPECT_EQ(set.Count(), step.count);
    EXPECT_EQ(set.Pen(1), step.first);
    EXPECT_EQ(set.Pen(2), step.second);
    EXPECT_EQ(set.Pen(set.Count()), display::kBlack);
    EXPECT_EQ(set.Pen(3), step.third);
  }
  const auto full = set.Pens();
  EXPECT_FALSE(set.Add(3));  // at the limit: the last slot is taken again, pens stay
  EXPECT_EQ(set.Pens(), full);
  EXPECT_EQ(set.Pen(4), display::kBlack);  // entry 4 never rotates
  EXPECT_TRUE(set.RemoveNewest());
  EXPECT_TRUE(set.RemoveNewest());
  EXPECT_FALSE(set.RemoveNewest());
  EXPECT_EQ(set.Count(), 1);
  EXPECT_EQ(set.Pens(), CurveSet::kStartColours);
  set.SetCount(9);
  EXPECT_EQ(set.Count(), 4);
  set.SetSpectroPens();
  EXPECT_EQ(set.Pen(1), display::kSilver);
  set.ResetPens(true);
  EXPECT_EQ(set.Pen(3), display::kSilver);
}

// Hand-worked cases of each step and of their order.
TEST(PipelineModel, ProfileStepsRunInTheirOrderOnTheCurvesHeld) {
  Curve reference = Flat(128);
  reference[3] = 0;
  signal::CurveSet raw;
  Curve c = Flat(100);
  c[10] = 40;
  c[11] = 140;
  raw[1] = c;
  raw[2] = c;
  {
    ProfileSteps s;
    s.stretch = s.invert = true;
    const signal::CurveSet shown = Process(raw, 2, s, reference);
    EXPECT_EQ(shown[2][10], 255);                          // 40 -> 0 -> 255
    EXPECT_EQ(shown[2][11], 0);                            // 140 -> 255 -> 0
    EXPECT_EQ(shown[2][0], 255 - std::lround(60 * 2.55));  // round(60 * 255/100) = 153
    EXPECT_EQ(shown[1], shown[2]);
    EXPECT_EQ(raw[1], c);  // the stored curves are never changed
  }
  {
    // A computed pattern as curve 1: neither stretched nor smoothed, inverted.
    ProfileSteps s;
    s.stretch = s.smooth = s.invert = s.skipFirst = true;
    s.smoothPasses = 10;
    const signal::CurveSet shown = Process(raw, 2, s, reference);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(shown[1][i], 255 - c[i]) << i;
    EXPECT_NE(shown[2][12], shown[2][0]);  // curve 2 smoothed: the step spread
  }
  {
    // The log scale stretches every curve first: 40 -> 0 -> 0; 140 -> 255
    // -> round(46 ln 256) = 255; 100 -> 153 -> round(46 ln 154) = 232.
    ProfileSteps s;
    s.logScale = true;
    const signal::CurveSet shown = Process(raw, 1, s, reference);
    EXPECT_EQ(shown[1][10], 0);
    EXPECT_EQ(shown[1][11], 255);
    EXPECT_EQ(shown[1][0], std::lround(46 * std::log(154.0)));
  }
  {
    // The reference divides the last curve only; its zeros become 1.
    ProfileSteps s;
    s.correctByReference = true;
    const signal::CurveSet shown = Process(raw, 2, s, reference);
    EXPECT_EQ(shown[1][0], 100);
    EXPECT_EQ(shown[2][0], 199);  // round(255/128 * 100) = round(199.2)
    EXPECT_EQ(shown[2][3], 255);
    EXPECT_EQ(reference[3], 1);
  }
}

TEST(PipelineModel, SeriesStepsAndTheStepsReadFromTheButtons) {
  signal::TLargeTab raw(1), shown(1);
  const std::uint8_t levels[6] = {10, 20, 30, 40, 50, 60};
  for (std::uint32_t i = 0; i < 6; ++i) raw.SetValue(i, levels[i]);
  SeriesSteps s;
  s.invert = true;
  Process(raw, 6, s, shown);
  for (std::uint32_t i = 0; i < 6; ++i) EXPECT_EQ(shown.GetValue(i), 255 - levels[i]) << i;
  s.stretch = true;  // stretched to 0..255 first, then inverted
  Process(raw, 6, s, shown);
  EXPECT_EQ(shown.GetValue(0), 255);
  EXPECT_EQ(shown.GetValue(5), 0);
  EXPECT_EQ(raw.GetValue(0), 10);

  Tools t;
  t.filtrage.down = t.invert.down = t.spCalY.down = t.pics.down = true;
  ProfParamsRec prof;
  prof.FilterOrder = 8;
  MiParamsRec mi;
  mi.FilterOrder = 3;
  const PipelineSteps steps = PipelineSteps::FromControls(t, prof, mi, {}, "ln", true);
  EXPECT_TRUE(steps.profile.smooth && steps.profile.invert && steps.profile.correctByReference);
  EXPECT_EQ(steps.profile.smoothPasses, 10);  // the order + 2
  EXPECT_TRUE(steps.profile.logScale && steps.profile.skipFirst);
  EXPECT_FALSE(steps.profile.stretch || steps.fft);
  EXPECT_TRUE(steps.peaks);
  EXPECT_EQ(steps.series.smoothPasses, 3);
}

TEST(PlotViewModel, CursorsJumpToThePressDragAndStopAtTheEdges) {
  PlotView plot;
  EXPECT_FALSE(plot.Grab(10, 10, false, false, true));  // no cursor shown
  // X1 at 100 and X2 at 300 are both 100 away from 200: both jump.
  ASSERT_TRUE(plot.Grab(200, 150, true, false, true));
  EXPECT_EQ(plot.Cursor().x1, 200);
  EXPECT_EQ(plot.Cursor().x2, 200);
  EXPECT_EQ(plot.Cursor().active, 2);
  EXPECT_TRUE(plot.DragTo(511, 0));
  EXPECT_FALSE(plot.DragTo(512, 0));  // outside: stays at the edge
  EXPECT_EQ(plot.Cursor().x2, 511);
  plot.Release();
  EXPECT_FALSE(plot.DragTo(300, 0));
  // In band mode a row stops at 127.
  plot.SetBandMode(true);
  ASSERT_TRUE(plot.Grab(0, 250, false, true, true));  // Y1 at 100 is the nearer to 127
  EXPECT_EQ(plot.Cursor().y1, 127);
  EXPECT_EQ(plot.Cursor().active, 3);
  plot.HalveRows();
  EXPECT_EQ(plot.Cursor().y1, 63);
  EXPECT_EQ(plot.Cursor().y2, 100);
}

// Each drawing shows what is drawn now, whatever the one before left: the
// rows a band covers are the only ones not cleared first.
TEST(PlotViewModel, ARedrawLeavesNothingOfTheDrawingBefore) {
  signal::CurveSet full, dim;
  for (int i = 0; i < signal::kPixels; ++i) {
    full[1][static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i % 256);
    dim[1][static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 7);
  }
  struct Case {
    const char* name;
    bool bandMode, grey, histogram, grid;
  };
  const Case cases[] = {
      {"no band", false, false, false, true},
      {"grey band", true, true, false, true},
      {"grey band without grid", true, true, false, false},
      {"grey band over a histogram", true, true, true, false},
      {"band mode, no band drawn", true, false, false, true},
  };
  for (const Case& c : cases)
    for (const auto style : {display::TraceStyle::Pics, display::TraceStyle::Vecteurs}) {
      PlotInput in;
      in.pens = {display::kBlack, display::kBlack, display::kBlack, display::kBlack};
      in.grid = c.grid;
      in.grey = c.grey;
      in.histogram = c.histogram;
      PlotView reused, fresh;
      for (PlotView* p : {&reused, &fresh}) {
        p->SetBandMode(c.bandMode);
        p->SetStyle(style);
      }
      // Both drawn twice: the grid takes the pen a drawing leaves.
      in.curves = &full;
      reused.Draw(in);
      in.curves = &dim;
      reused.Draw(in);
      fresh.Draw(in);
      fresh.Draw(in);
      const display::Canvas& a = reused.Drawing();
      const display::Canvas& b = fresh.Drawing();
      const std::size_t n =
          static_cast<std::size_t>(a.Width()) * static_cast<std::size_t>(a.Height());
      EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + n, b.Bits())) << c.name;
    }
}

}  // namespace
}  // namespace rovanel::app::model
