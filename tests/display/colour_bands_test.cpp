// Level colours, the grey and spectral bands and the spectral bars, against
// colours and rows worked out by hand.
#include "display/colour_bands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "support/canvas_asserts.h"

namespace rovanel::display {
namespace {

using testsupport::RowsOfColour;

std::vector<int> Range(int from, int to) {  // from..to inclusive
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct LevelCase {
  const char* what;
  LevelColours levels;
  int level;
  Rgb expected;
};

TEST(LevelColour, ShadesOfTheMaximumOrPerChannelRule) {
  const LevelCase cases[] = {
      {"start colours", {kBlack, kWhite, false}, 200, {200, 200, 200}},
      {"single colour red", {kBlack, kRed, true}, 200, {200, 0, 0}},
      // 100 * 128 / 255 = 50.2.
      {"single colour orange", {kBlack, {255, 128, 0}, true}, 100, {100, 50, 0}},
      {"single ignores the minimum", {kBlue, kWhite, true}, 77, {77, 77, 77}},
      {"blue to yellow", {kBlue, kYellow, false}, 200, {200, 200, 55}},
      {"blue to yellow, level 0", {kBlue, kYellow, false}, 0, {0, 0, 255}},
      {"blue to yellow, level 255", {kBlue, kYellow, false}, 255, {255, 255, 0}},
      {"equal channel stays", {{0, 128, 0}, {255, 128, 255}, false}, 10, {10, 128, 10}},
      {"white to black", {kWhite, kBlack, false}, 200, {55, 55, 55}},
      // Not a blend: a minimum below 255 gives the level itself.
      {"dark red to red", {{100, 0, 0}, {200, 0, 0}, false}, 37, {37, 0, 0}},
      {"red to black", {kRed, kBlack, false}, 55, {200, 0, 0}},
  };
  for (const LevelCase& c : cases) EXPECT_EQ(LevelColour(c.level, c.levels), c.expected) << c.what;
}

// A plot in red, so that what the bands leave alone shows.
Canvas RedPlot() {
  Canvas c(512, 256, kRed);
  c.penColour = kNavy;
  c.penStyle = PenStyle::Dot;
  c.brushColour = kYellow;
  return c;
}

void ExpectPenUnchanged(const Canvas& c) {
  EXPECT_EQ(c.penColour, kNavy);
  EXPECT_EQ(c.penStyle, PenStyle::Dot);
  EXPECT_EQ(c.penWidth, 1);
  EXPECT_EQ(c.brushColour, kYellow);
}

TEST(DrawGreyBand, LinesOnRows10To117OfABandAtRow129OrAtTheTop) {
  const std::vector<std::uint8_t> curve(2048, 200);
  const Rgb grey{200, 200, 200};
  Canvas below = RedPlot();
  DrawGreyBand(below, curve, GreyBandParams{});
  for (int x : {0, 255, 511}) {
    EXPECT_EQ(RowsOfColour(below, x, kRed), Range(0, 128)) << x;
    EXPECT_EQ(RowsOfColour(below, x, grey), Range(139, 246)) << x;
    EXPECT_EQ(RowsOfColour(below, x, kWhite), Concat(Range(129, 138), Range(247, 255))) << x;
  }
  ExpectPenUnchanged(below);

  Canvas top = RedPlot();
  GreyBandParams p;
  p.atTop = true;
  p.levels = LevelColours{kBlack, kRed, true};
  DrawGreyBand(top, curve, p);
  EXPECT_EQ(RowsOfColour(top, 300, Rgb{200, 0, 0}), Range(10, 117));
  EXPECT_EQ(RowsOfColour(top, 300, kWhite), Concat(Range(0, 9), Range(118, 127)));
  EXPECT_EQ(RowsOfColour(top, 300, kRed), Range(128, 255));
}

TEST(DrawGreyBand, EachColumnShowsTheRoundedMeanOfItsSamples) {
  std::vector<std::uint8_t> curve(2048, 50);
  // Zoom 2 from sample 4: columns 0..3 hold 100 101 | 101 102 | 0 1 | 254 255,
  // means 100.5, 101.5, 0.5, 254.5 going to the even neighbour.
  const std::uint8_t head[] = {9, 9, 9, 9, 100, 101, 101, 102, 0, 1, 254, 255};
  std::copy(std::begin(head), std::end(head), curve.begin());
  Canvas c = RedPlot();
  DrawGreyBand(c, curve, GreyBandParams{4, 2, {}, false});
  const int expected[] = {100, 102, 0, 254, 50};
  for (int x = 0; x < 5; ++x) {
    const auto v = static_cast<std::uint8_t>(expected[x]);
    EXPECT_EQ(c.Pixel(x, 139 + 50), (Rgb{v, v, v})) << x;
  }

  // From sample 2040 at 4 a column only columns 0 and 1 have samples.
  Canvas end = RedPlot();
  DrawGreyBand(end, curve, GreyBandParams{2040, 4, {}, false});
  EXPECT_EQ(end.Pixel(1, 200), (Rgb{50, 50, 50}));
  EXPECT_EQ(end.Pixel(2, 200), kWhite);
  EXPECT_EQ(end.Pixel(511, 200), kWhite);
}

// Every entry dark grey but 971 (550 nm); the last one black.
SpectrumColourTable TestColours() {
  SpectrumColourTable t{};
  for (auto& e : t) e = {7, 7, 7};
  t[971] = {10, 200, 255};  // (blue, green, red)
  t[2590] = {0, 0, 0};
  return t;
}

std::array<float, 2048> Lambda(float first, float step) {
  std::array<float, 2048> l{};
  for (int p = 0; p < 2048; ++p) l[static_cast<std::size_t>(p)] = first + step * p;
  return l;
}

TEST(DrawSpectrumBand, EntryOfEachWavelengthAsBrightAsTheLight) {
  const SpectrumColourTable colours = TestColours();
  const auto at550 = Lambda(550.0f, 0.0f);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> head;  // first samples, the rest 128
    int zoom;
    Rgb column0;
  };
  const Case cases[] = {
      // Full light: the entry itself.
      {"full", {255, 255}, 2, {255, 200, 10}},
      // 128 / 255 of it: 128, 100.4, 5.02.
      {"half", {}, 4, {128, 100, 5}},
      // Sum 201 over 2 * 255: 100.5 -> 100, 78.8 -> 79, 3.94 -> 4.
      {"halves to even", {100, 101}, 2, {100, 79, 4}},
      // Sum 205: 102.5 -> 102, 80.4 -> 80, 4.02 -> 4.
      {"halves to even, odd below", {102, 103}, 2, {102, 80, 4}},
      {"dark", {0, 0, 0}, 3, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> curve(2048, 128);
    std::copy(c.head.begin(), c.head.end(), curve.begin());
    Canvas plot = RedPlot();
    DrawSpectrumBand(plot, curve, at550, colours, SpectrumViewParams{0, c.zoom, false, false});
    EXPECT_EQ(RowsOfColour(plot, 0, c.column0), Range(139, 246)) << c.what;
    EXPECT_EQ(RowsOfColour(plot, 0, kWhite), Concat(Range(129, 138), Range(247, 255))) << c.what;
    EXPECT_EQ(RowsOfColour(plot, 0, kRed), Range(0, 128)) << c.what;
    ExpectPenUnchanged(plot);
  }
}

TEST(DrawSpectrumBand, WavelengthsOfEveryFourthPixelInRealTime) {
  const SpectrumColourTable colours = TestColours();
  // 550 nm up to pixel 99, 900 nm (outside the strip: black) beyond.
  std::array<float, 2048> lambda = Lambda(900.0f, 0.0f);
  std::fill(lambda.begin(), lambda.begin() + 100, 550.0f);
  // Light on samples 0..9 only.
  std::vector<std::uint8_t> curve(2048, 0);
  std::fill(curve.begin(), curve.begin() + 10, 255);
  std::vector<std::uint8_t> bright(2048, 255);
  const Rgb entry{255, 200, 10};

  struct Case {
    const char* what;
    const std::vector<std::uint8_t>* curve;
    bool realTime;
    int lastLit;  // columns 0..lastLit in the entry's colour, the rest black
  };
  const Case cases[] = {
      {"one pixel a column", &bright, false, 99},
      {"real time: pixel 4x", &bright, true, 24},
      // The light still comes from sample x, not 4x.
      {"real time, light of sample x", &curve, true, 9},
  };
  for (const Case& c : cases) {
    Canvas plot = RedPlot();
    DrawSpectrumBand(plot, *c.curve, lambda, colours, SpectrumViewParams{0, 1, c.realTime, false});
    for (int x = 0; x < 512; ++x)
      ASSERT_EQ(plot.Pixel(x, 200), x <= c.lastLit ? entry : kBlack) << c.what << " column " << x;
  }

  // Past the table's end the band stays white.
  Canvas end = RedPlot();
  DrawSpectrumBand(end, bright, lambda, colours, SpectrumViewParams{2040, 4, false, false});
  EXPECT_EQ(end.Pixel(1, 200), kBlack);
  EXPECT_EQ(end.Pixel(2, 200), kWhite);
}

TEST(DrawSpectrumBars, BarsAsHighAsTheLightReplaceThePicture) {
  const SpectrumColourTable colours = TestColours();
  const auto at550 = Lambda(550.0f, 0.0f);
  const Rgb entry{255, 200, 10};
  struct Case {
    const char* what;
    bool band;
    std::uint8_t level;
    int zoom;
    int top;  // row of the black pixel; the bar fills top + 1 .. base
  };
  const Case cases[] = {
      {"full height", false, 100, 4, 155},    {"full light", false, 255, 1, 0},
      {"no light", false, 0, 2, 255},         {"band: half height", true, 100, 4, 77},
      {"band: 50.5 to 50", true, 101, 1, 77}, {"band: 51.5 to 52", true, 103, 1, 75},
      {"band: no light", true, 0, 1, 127},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> curve(2048, c.level);
    Canvas plot = RedPlot();
    DrawSpectrumBars(plot, curve, at550, colours, SpectrumViewParams{0, c.zoom, false, c.band});
    const int base = c.band ? 127 : 255;
    for (int x : {0, 511}) {
      EXPECT_EQ(RowsOfColour(plot, x, entry), Range(c.top + 1, base)) << c.what;
      EXPECT_EQ(RowsOfColour(plot, x, kBlack), std::vector<int>{c.top}) << c.what;
      EXPECT_EQ(RowsOfColour(plot, x, kWhite).size(), 255u - (base - c.top)) << c.what;
    }
    ExpectPenUnchanged(plot);
  }
}

}  // namespace
}  // namespace rovanel::display
