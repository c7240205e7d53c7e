// The printed page through a painter that records every call, against
// positions worked out by hand from the frame, the samples and the ticks;
// then the PDF and PNG files.
#include "display/print_page.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "display/page_output.h"
#include "display/recording_painter.h"

namespace rovanel::display {
namespace {

double Mm(double mm, double dpi) {
  return mm * dpi / 25.4;
}

struct Paper {
  const char* name;
  PaperSize size;
  bool landscape;
};
constexpr Paper kPapers[] = {{"A4 portrait", PaperSize::A4, false},
                             {"A4 landscape", PaperSize::A4, true},
                             {"Letter portrait", PaperSize::Letter, false},
                             {"Letter landscape", PaperSize::Letter, true}};

RecordingPainter Device(const Paper& p, double dpi) {
  const PaperMm mm = PaperDimensions(p.size);
  return p.landscape ? RecordingPainter(Mm(mm.height, dpi), Mm(mm.width, dpi), dpi)
                     : RecordingPainter(Mm(mm.width, dpi), Mm(mm.height, dpi), dpi);
}

// A page with everything, `lines` entries in each text block and a
// 300-character remark.
PrintPage FullPage(std::size_t lines = 6) {
  PrintPage page;
  page.title = "Rovanel  -  Michelson";
  page.date = "12/03/2024  10:15";
  page.nomLabel = "Name:";
  page.nom = "Ada and Blaise";
  page.manipLabel = "Experiment:";
  page.manip = "Sodium doublet";
  page.remarkLabel = "Remarks:";
  for (int i = 0; page.remark.size() < 300; ++i)
    page.remark += (i ? " fringe" : "fringe") + std::to_string(i * 37);
  page.remark.resize(300);
  for (std::size_t i = 0; i < page.span; ++i) page.x.push_back(0.5 * static_cast<double>(i));
  page.curves.push_back({std::vector<double>(2048, 100.0), kBlue});
  page.xLegend = "X  ( µm )";
  page.yLegend = "Y";
  for (std::size_t i = 0; i < lines; ++i) {
    page.readouts.push_back("X" + std::to_string(i) + " = 12.5 µm");
    page.settings.push_back("Setting " + std::to_string(i) + " = on");
    page.references.push_back("Ref." + std::to_string(i) + "  Pixel n°120     Lambda =  546nm");
  }
  return page;
}

void ExpectAt(PagePoint got, double x, double y, const std::string& what) {
  EXPECT_NEAR(got.x, x, 1e-6) << what;
  EXPECT_NEAR(got.y, y, 1e-6) << what;
}

TEST(PagePlotFrame, InsideThePaperWithRoomForTheTexts) {
  EXPECT_DOUBLE_EQ(PaperDimensions(PaperSize::A4).width, 210.0);
  EXPECT_DOUBLE_EQ(PaperDimensions(PaperSize::A4).height, 297.0);
  EXPECT_DOUBLE_EQ(PaperDimensions(PaperSize::Letter).width, 215.9);
  EXPECT_DOUBLE_EQ(PaperDimensions(PaperSize::Letter).height, 279.4);
  for (const Paper& p : kPapers) {
    const RecordingPainter d = Device(p, 300);
    const PageFrame f = PlotFrame(d.Width(), d.Height(), 300);
    const auto mm = [](double dots) { return dots * 25.4 / 300; };
    EXPECT_GE(mm(f.left), 22) << p.name;                         // margin and Y labels
    EXPECT_GE(mm(d.Width() - f.left - f.width), 10) << p.name;   // right margin
    EXPECT_GE(mm(f.top), 30) << p.name;                          // header
    EXPECT_GE(mm(d.Height() - f.top - f.height), 75) << p.name;  // legends and text blocks
    EXPECT_GE(mm(f.height), 60) << p.name;
    if (!p.landscape) {
      EXPECT_NEAR(f.width / f.height, 2.0, 0.1) << p.name;
    }
    const PageFrame g = PlotFrame(2 * d.Width(), 2 * d.Height(), 600);  // a finer device
    ExpectAt({g.left, g.top}, 2 * f.left, 2 * f.top, p.name);
    ExpectAt({g.width, g.height}, 2 * f.width, 2 * f.height, p.name);
  }
}

TEST(PageSamplePoint, HandWorkedPositions) {
  const PageFrame f{100, 200, 1024, 510};  // bottom at 710
  struct Case {
    double i, level, x, y;
  };
  const Case cases[] = {{0, 0, 100, 710},         {1024, 255, 612, 200}, {512, 51, 356, 608},
                        {2048, 127.5, 1124, 455}, {3, 300, 101.5, 200},  {3, -5, 101.5, 710}};
  for (const Case& c : cases)
    ExpectAt(SamplePoint(f, 2048, c.i, c.level), c.x, c.y, std::to_string(c.i));
}

TEST(PageCurves, PolylineVerticesAreTheSamplesUpToTheSpan) {
  RecordingPainter d = Device(kPapers[0], 72);
  PrintPage page;
  page.span = 4;  // the last curve is longer than the span, the second shorter
  page.curves = {{{0, 51, 255, 127.5}, kBlack}, {{255, 0}, kBlack}, {{0, 0, 0, 0, 0, 0}, kBlack}};
  DrawPage(d, page, PageStyle{});
  const PageFrame f = PlotFrame(d.Width(), d.Height(), 72);
  const std::vector<Drawn> lines = d.Of(Kind::Polyline);
  ASSERT_EQ(lines.size(), 3u);
  // Fractions of the frame's width and height from its top left corner.
  const std::vector<std::vector<double>> fx = {{0, .25, .5, .75}, {0, .25}, {0, .25, .5, .75}};
  const std::vector<std::vector<double>> fy = {{1, .8, 0, .5}, {0, 1}, {1, 1, 1, 1}};
  for (std::size_t k = 0; k < 3; ++k) {
    ASSERT_EQ(lines[k].p.size(), fx[k].size()) << k;
    for (std::size_t i = 0; i < fx[k].size(); ++i)
      ExpectAt(lines[k].p[i], f.left + f.width * fx[k][i], f.top + f.height * fy[k][i],
               std::to_string(k) + "/" + std::to_string(i));
  }
}

TEST(PageCurves, DenseCurvesKeepTheirEnvelopeInFewerVertices) {
  // 8 samples per dot at 72 dpi, alternating 0 and 255: every dot column
  // still spans the whole height, and the ends are the first and last samples.
  RecordingPainter d = Device(kPapers[0], 72);
  const PageFrame f = PlotFrame(d.Width(), d.Height(), 72);
  PrintPage page;
  page.span = static_cast<std::size_t>(f.width) * 8;
  PageCurve c;
  for (std::size_t i = 0; i < page.span; ++i) c.levels.push_back(i % 2 ? 255 : 0);
  c.levels.back() = 100;
  page.curves = {c};
  DrawPage(d, page, PageStyle{});
  const std::vector<PagePoint> v = d.Of(Kind::Polyline).at(0).p;
  EXPECT_LE(v.size(), 4 * (static_cast<std::size_t>(f.width) + 2));
  ExpectAt(v.front(), f.left, f.top + f.height, "first");
  ExpectAt(v.back(), f.left + f.width * (page.span - 1) / page.span,
           f.top + f.height * (1 - 100 / 255.0), "last");
  std::map<int, std::pair<double, double>> column;  // dot -> lowest, highest y
  for (const PagePoint& p : v) {
    auto [it, fresh] = column.try_emplace(static_cast<int>(std::floor(p.x)), p.y, p.y);
    it->second = {std::min(it->second.first, p.y), std::max(it->second.second, p.y)};
  }
  for (const auto& [dot, ys] : column) {
    EXPECT_NEAR(ys.first, f.top, 1e-6) << dot;
    EXPECT_NEAR(ys.second, f.top + f.height, 1e-6) << dot;
  }
}

TEST(PageCurves, SpectralColoursFillUnderTheLastCurveOnColourPagesOnly) {
  const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
  PrintPage page;
  page.curves = {{{255, 255, 255, 255, 9}, kBlack}, {{0, 255, 127.5, 51, 9}, kNavy}};
  page.span = 5;
  // The fourth sample is black (no visible light), the fifth has none.
  page.sampleColours = {red, green, blue, kBlack};
  for (const bool colour : {true, false}) {
    RecordingPainter d = Device(kPapers[0], 72);
    DrawPage(d, page, PageStyle{colour, 1, 0.5});
    const std::vector<Drawn> fills = d.Of(Kind::Fill);
    if (!colour) {
      EXPECT_TRUE(fills.empty());
      continue;
    }
    const PageFrame f = PlotFrame(d.Width(), d.Height(), 72);
    ASSERT_EQ(fills.size(), 3u);
    const double tops[] = {1, 0, 0.5};  // fractions of the height from the top
    const Rgb colours[] = {red, green, blue};
    for (std::size_t i = 0; i < 3; ++i) {
      ExpectAt(fills[i].p[0], f.left + f.width * i / 5, f.top + f.height * tops[i], "fill");
      EXPECT_NEAR(fills[i].p[0].y + fills[i].p[1].y, f.top + f.height, 1e-9);  // to the bottom
      EXPECT_GE(fills[i].p[1].x, f.width / 5);  // no gap to the next bar
      EXPECT_EQ(fills[i].pen.colour, colours[i]);
    }
    // Under the grid: the fills come before any line.
    const auto first = [&](Kind k) {
      return std::find_if(d.drawn.begin(), d.drawn.end(), [k](const Drawn& x) { return x.kind == k; });
    };
    EXPECT_LT(first(Kind::Fill), first(Kind::Line));
  }
}

TEST(PageCurves, PensFollowTheColourOrBlackAndWhiteStyle) {
  const Rgb colours[] = {kBlue, kRed, kNavy, kYellow, Rgb{0, 128, 0}};
  const LinePattern patterns[] = {LinePattern::Solid, LinePattern::Dash, LinePattern::Dot,
                                  LinePattern::DashDot, LinePattern::Solid};
  for (bool colour : {true, false}) {
    RecordingPainter d = Device(kPapers[0], 300);
    PrintPage page;
    for (Rgb c : colours) page.curves.push_back({std::vector<double>(10, 50.0), c});
    DrawPage(d, page, PageStyle{colour, 1.5, 0.5});
    const std::vector<Drawn> lines = d.Of(Kind::Polyline);
    ASSERT_EQ(lines.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
      EXPECT_EQ(lines[k].pen.colour, colour ? colours[k] : kBlack) << colour << k;
      EXPECT_EQ(lines[k].pen.pattern, colour ? LinePattern::Solid : patterns[k]) << colour << k;
      EXPECT_DOUBLE_EQ(lines[k].pen.widthPt, 1.5);
    }
  }
}

// An axis x[i] = 2 i over 1024 samples: ticks every 200 from 0 to 2000 at
// samples 0, 100, .. 1000. Grid lines are told apart by their 2 pt pen.
TEST(PageGrid, LinesAndLabelsAtTheTicks) {
  for (bool colour : {true, false}) {
    RecordingPainter d = Device(kPapers[1], 300);
    PrintPage page;
    page.span = 1024;
    for (int i = 0; i < 1024; ++i) page.x.push_back(2.0 * i);
    DrawPage(d, page, PageStyle{colour, 1.0, 2.0});
    const PageFrame f = PlotFrame(d.Width(), d.Height(), 300);
    const double bottom = f.top + f.height, right = f.left + f.width;
    std::vector<Drawn> grid;
    for (const Drawn& l : d.Of(Kind::Line))
      if (l.pen.widthPt == 2.0) grid.push_back(l);
    ASSERT_EQ(grid.size(), 17u);  // 11 vertical, 6 horizontal
    // The texts are black whatever the grid (a printer writes them with the pen).
    for (const Drawn& t : d.Of(Kind::Text)) EXPECT_EQ(t.pen.colour, kBlack) << t.text;
    for (const Drawn& l : grid) {
      const Rgb c = l.pen.colour;
      EXPECT_TRUE(colour ? c.r == c.g && c.g == c.b && c.r >= 160 && c.r < 255  // light grey
                         : c == kBlack);
      EXPECT_EQ(l.pen.pattern, colour ? LinePattern::Solid : LinePattern::Dot);
    }
    for (int k = 0; k <= 10; ++k) {
      const double x = f.left + f.width * (100.0 * k) / 1024;
      const std::string what = "x " + std::to_string(200 * k);
      ExpectAt(grid[k].p[0], x, f.top, what);
      ExpectAt(grid[k].p[1], x, bottom, what);
      const Drawn* label = d.Find(std::to_string(200 * k), Align::Centre);
      ASSERT_NE(label, nullptr) << what;
      EXPECT_NEAR(label->p[0].x, x, 1e-6) << what;
      EXPECT_GT(label->p[0].y, bottom) << what;
      EXPECT_LT(label->p[0].y, bottom + Mm(8, 300)) << what;
    }
    for (int k = 0; k <= 5; ++k) {
      const double y = bottom - f.height * k / 5;
      const std::string what = "y " + std::to_string(20 * k);
      ExpectAt(grid[11 + k].p[0], f.left, y, what);
      ExpectAt(grid[11 + k].p[1], right, y, what);
      const Drawn* label = d.Find(std::to_string(20 * k), Align::Right);
      ASSERT_NE(label, nullptr) << what;
      EXPECT_LT(label->p[0].x, f.left) << what;
      EXPECT_NEAR(label->p[0].y, y, Mm(3, 300)) << what;
    }
  }
}

TEST(PageGrid, TickLabelsFollowAFallingXTable) {
  RecordingPainter d = Device(kPapers[0], 300);
  PrintPage page;
  page.span = 400;
  for (int i = 0; i < 400; ++i) page.x.push_back(700 - 0.75 * i);  // 700 down to 400.75
  DrawPage(d, page, PageStyle{});
  const PageFrame f = PlotFrame(d.Width(), d.Height(), 300);
  for (int v = 450; v <= 700; v += 50) {
    const Drawn* label = d.Find(std::to_string(v));
    ASSERT_NE(label, nullptr) << v;
    EXPECT_NEAR(label->p[0].x, f.left + f.width * ((700.0 - v) / 0.75) / 400, 1e-6) << v;
  }
  EXPECT_EQ(d.Find("400"), nullptr);  // beyond the last sample's 400.75
}

TEST(PageNiceTicks, StepsOfOneTwoOrFiveRising) {
  struct Case {
    double a, b;
    int wanted;
    std::vector<double> ticks;
  };
  const Case cases[] = {
      // 2048 / 8 = 256: rounds to 200 (thresholds at 1.5, 3 and 7).
      {0, 2048, 8, {0, 200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000}},
      {700, 400, 6, {400, 450, 500, 550, 600, 650, 700}},  // falling range, step 50
      {400.75, 700, 8, {450, 500, 550, 600, 650, 700}},    // 37.4 rounds to 50
      {5, 5, 8, {5}},
      {0, 1, 5, {0, 0.2, 0.4, 0.6, 0.8, 1}},
      {-3, 7, 5, {-2, 0, 2, 4, 6}},
      {0.013, 0.087, 4, {0.02, 0.04, 0.06, 0.08}},
      {0, 95, 10, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90}},  // 9.5 rounds to 10
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks = NiceTicks(c.a, c.b, c.wanted);
    EXPECT_EQ(ticks, c.ticks) << c.a << ".." << c.b;
    for (double t : ticks) EXPECT_FALSE(t == 0 && std::signbit(t)) << "-0 prints as \"-0\"";
  }
}

TEST(PageHeader, TitleDateAndLabelledNamesAndExperiment) {
  RecordingPainter d = Device(kPapers[0], 300);
  PrintPage page = FullPage();
  page.manip = "";  // its label stays
  DrawPage(d, page, PageStyle{});
  const Drawn* title = d.Find(page.title);
  const Drawn* date = d.Find(page.date, Align::Right);
  ASSERT_TRUE(title && date);
  EXPECT_TRUE(title->font.bold);
  EXPECT_GE(title->font.sizePt, 12);
  EXPECT_NEAR(date->p[0].y, title->p[0].y, 1e-9);
  EXPECT_GT(date->p[0].x, d.Width() - Mm(20, 300));
  const Drawn* nomLabel = d.Find(page.nomLabel);
  const Drawn* nom = d.Find(page.nom);
  const Drawn* manipLabel = d.Find(page.manipLabel);
  ASSERT_TRUE(nomLabel && nom && manipLabel);
  EXPECT_TRUE(nomLabel->font.bold && manipLabel->font.bold && !nom->font.bold);
  EXPECT_DOUBLE_EQ(nom->p[0].y, nomLabel->p[0].y);
  EXPECT_GE(nom->p[0].x, nomLabel->p[0].x + d.TextWidth(page.nomLabel, nomLabel->font));
  EXPECT_GT(nomLabel->p[0].y, title->p[0].y);
  EXPECT_GT(manipLabel->p[0].y, nomLabel->p[0].y);
  EXPECT_LT(manipLabel->p[0].y, PlotFrame(d.Width(), d.Height(), 300).top);
}

// Texts drawn below the remark label, in order.
std::vector<Drawn> RemarkLines(const RecordingPainter& d, const std::string& label) {
  const Drawn* l = d.Find(label);
  std::vector<Drawn> out;
  for (const Drawn& t : d.Of(Kind::Text))
    if (l && t.p[0].y > l->p[0].y) out.push_back(t);
  return out;
}

// Words wrap between words; one word longer than a line (here 200 "é")
// is cut between characters.
TEST(PageTextBlocks, RemarkWrappedWithinTheTextWidthInItsFrame) {
  std::string word;
  for (int i = 0; i < 200; ++i) word += "é";
  for (const Paper& p : kPapers)
    for (const char* gap : {" ", ""}) {
      RecordingPainter d = Device(p, 300);
      PrintPage page = FullPage();
      if (*gap == 0) page.remark = word;
      DrawPage(d, page, PageStyle{});
      const std::vector<Drawn> lines = RemarkLines(d, page.remarkLabel);
      ASSERT_GE(lines.size(), 2u) << p.name;
      std::string joined;
      for (const Drawn& t : lines) {
        joined += (joined.empty() ? "" : gap) + t.text;
        EXPECT_NE(static_cast<unsigned char>(t.text.at(0)) & 0xC0, 0x80) << "cut in a character";
        EXPECT_GE(t.p[0].x, Mm(15, 300)) << p.name;
        EXPECT_LE(t.p[0].x + d.TextWidth(t.text, t.font), d.Width() - Mm(15, 300)) << p.name;
      }
      EXPECT_EQ(joined, page.remark) << p.name;
      const Drawn box = d.Of(Kind::Rect).back();  // around the label and the lines
      EXPECT_LT(box.p[0].y, d.Find(page.remarkLabel)->p[0].y) << p.name;
      EXPECT_GT(box.p[0].y + box.p[1].y, lines.back().p[0].y) << p.name;
    }
}

TEST(PageTextBlocks, ReadoutsSettingsThenReferencesUnderThePlot) {
  RecordingPainter d = Device(kPapers[0], 300);
  const PrintPage page = FullPage();
  DrawPage(d, page, PageStyle{});
  const PageFrame f = PlotFrame(d.Width(), d.Height(), 300);
  const double legend = d.Find(page.xLegend)->p[0].y;
  EXPECT_GT(legend, f.top + f.height);
  const double remark = d.Find(page.remarkLabel)->p[0].y;
  for (const auto* block : {&page.readouts, &page.settings, &page.references})
    for (const std::string& s : *block) {
      const Drawn* t = d.Find(s);
      ASSERT_NE(t, nullptr) << s;
      EXPECT_GT(t->p[0].y,
                block == &page.references ? d.Find(page.readouts.back())->p[0].y : legend);
      EXPECT_LT(t->p[0].y, remark) << s;
    }
  EXPECT_GT(d.Find(page.settings[0])->p[0].x, d.Find(page.readouts[0])->p[0].x);  // two columns

  // A read-out wider than its column puts the settings under the read-outs.
  PrintPage wide = page;
  wide.readouts.back() = std::string(200, 'w');
  RecordingPainter w = Device(kPapers[0], 300);
  DrawPage(w, wide, PageStyle{});
  EXPECT_EQ(w.Find(wide.settings[0])->p[0].x, w.Find(wide.readouts[0])->p[0].x);
  EXPECT_GT(w.Find(wide.settings[0])->p[0].y, w.Find(wide.readouts.back())->p[0].y);
}

// With the most text the page is laid out for, and with twice as many lines
// (set smaller, none dropped).
TEST(PageLayout, EverythingWithinTheMargins) {
  for (std::size_t lines : {6u, 12u})
    for (const Paper& p : kPapers) {
      RecordingPainter d = Device(p, 300);
      const PrintPage page = FullPage(lines);
      DrawPage(d, page, PageStyle{});
      const double margin = Mm(15, 300) - 1e-6;
      const std::string what = std::string(p.name) + " " + std::to_string(lines) + " ";
      for (const Drawn& t : d.Of(Kind::Text)) {
        const double w = d.TextWidth(t.text, t.font);
        const double x0 = t.p[0].x - (t.align == Align::Centre  ? w / 2
                                      : t.align == Align::Right ? w
                                                                : 0);
        EXPECT_GE(x0, margin) << what << t.text;
        EXPECT_LE(x0 + w, d.Width() - margin) << what << t.text;
        EXPECT_GE(t.p[0].y, margin) << what << t.text;
        EXPECT_LE(t.p[0].y, d.Height() - margin) << what << t.text;
      }
      for (const Drawn& r : d.Of(Kind::Rect)) EXPECT_LE(r.p[0].y + r.p[1].y, d.Height() - margin);
      for (const std::string& s : page.references) EXPECT_NE(d.Find(s), nullptr) << what << s;
      EXPECT_GE(RemarkLines(d, page.remarkLabel).size(), 2u) << what;
    }
}

TEST(PageMarks, CursorsSpanTheFrameDashed) {
  for (bool colour : {true, false}) {
    RecordingPainter d = Device(kPapers[0], 300);
    PrintPage page;
    page.cursorsX = {0.25, 1.5};  // the second one is off the plot
    page.cursorsY = {0.5};
    DrawPage(d, page, PageStyle{colour, 1.0, 1.0});
    const PageFrame f = PlotFrame(d.Width(), d.Height(), 300);
    std::vector<Drawn> dashed;
    for (const Drawn& l : d.Of(Kind::Line))
      if (l.pen.pattern == LinePattern::Dash) dashed.push_back(l);
    ASSERT_EQ(dashed.size(), 2u);
    for (const Drawn& l : dashed) {
      EXPECT_EQ(l.pen.colour, colour ? kRed : kBlack);
      EXPECT_DOUBLE_EQ(l.pen.widthPt, 0.5);
    }
    const double x = f.left + 0.25 * f.width, y = f.top + 0.5 * f.height;
    ExpectAt(dashed[0].p[0], x, f.top, "vertical");
    ExpectAt(dashed[0].p[1], x, f.top + f.height, "vertical");
    ExpectAt(dashed[1].p[0], f.left, y, "horizontal");
    ExpectAt(dashed[1].p[1], f.left + f.width, y, "horizontal");
  }
}

TEST(PageMarks, PeaksOfTheLastCurveAndTheSelectedOneCircled) {
  RecordingPainter d = Device(kPapers[0], 300);
  PrintPage page;
  page.span = 100;
  std::vector<double> last;
  for (int i = 0; i < 100; ++i) last.push_back(i <= 50 ? 2.0 * i : 200.0 - 2 * i);
  page.curves = {{std::vector<double>(100, 10.0), kBlack}, {last, kBlack}};
  page.peaks = {20, 50};
  page.selectedPeak = 1;
  DrawPage(d, page, PageStyle{});
  const PageFrame f = PlotFrame(d.Width(), d.Height(), 300);
  const auto at = [&](double i, double level) {
    return PagePoint{f.left + f.width * i / 100, f.top + f.height * (1 - level / 255)};
  };
  const std::vector<Drawn> lines = d.Of(Kind::Line);
  for (const PagePoint p : {at(20, 40), at(50, 100)}) {  // a short tick just above the point
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Drawn& l) {
      return std::abs(l.p[0].x - p.x) < 1e-9 && std::abs(l.p[1].x - p.x) < 1e-9 &&
             std::max(l.p[0].y, l.p[1].y) < p.y && std::min(l.p[0].y, l.p[1].y) > p.y - Mm(6, 300);
    })) << p.x;
  }
  const std::vector<Drawn> circles = d.Of(Kind::Ellipse);
  ASSERT_EQ(circles.size(), 1u);
  ExpectAt(circles[0].p[0], at(50, 100).x, at(50, 100).y, "circle");
  EXPECT_GT(circles[0].p[1].x, 0);
}

TEST(PageOutput, PdfStartsWithItsSignatureAndAFailureLeavesNoFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("page.pdf").toStdString();
  std::string error;
  ASSERT_TRUE(WritePagePdf(path, FullPage(), PageStyle{}, PageSetup{}, error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::string head(4, '\0');
  in.read(head.data(), 4);
  EXPECT_EQ(head, "%PDF");

  const std::string bad = dir.filePath("missing/page.pdf").toStdString();
  EXPECT_FALSE(WritePagePdf(bad, FullPage(), PageStyle{}, PageSetup{}, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::ifstream(bad).good());
}

TEST(PageOutput, PngIsThePaperAtTheDpiWithTheCurveDrawn) {
  struct Case {
    PageSetup setup;
    int width, height;
  };
  // 210 mm at 100 dpi: 826.8 px; 297 mm: 1169.3; Letter 8.5 x 11 in.
  const Case cases[] = {{{PaperSize::A4, false}, 827, 1169},
                        {{PaperSize::A4, true}, 1169, 827},
                        {{PaperSize::Letter, false}, 850, 1100}};
  QTemporaryDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.filePath("page.png").toStdString();
    PrintPage page = FullPage();
    page.curves = {{std::vector<double>(2048, 128.0), kBlack}};
    std::string error;
    ASSERT_TRUE(WritePagePng(path, page, PageStyle{}, c.setup, 100, error)) << error;
    const QImage img(QString::fromStdString(path), "PNG");
    ASSERT_EQ(img.width(), c.width);
    ASSERT_EQ(img.height(), c.height);
    EXPECT_EQ(img.dotsPerMeterX(), 3937);    // 100 / 0.0254
    EXPECT_EQ(qGray(img.pixel(2, 2)), 255);  // white paper
    const PageFrame f = PlotFrame(c.width, c.height, 100);
    const int row = static_cast<int>(std::lround(f.top + f.height * (1 - 128.0 / 255)));
    const int quiet = static_cast<int>(std::lround(f.top + f.height * 0.3));  // off the grid
    int dark = 0, darkQuiet = 0, columns = 0;
    for (int x = static_cast<int>(f.left) + 3; x < static_cast<int>(f.left + f.width) - 3; ++x) {
      ++columns;
      dark += std::min({qGray(img.pixel(x, row - 1)), qGray(img.pixel(x, row)),
                        qGray(img.pixel(x, row + 1))}) < 128;
      darkQuiet += qGray(img.pixel(x, quiet)) < 128;
    }
    EXPECT_GT(dark, 0.95 * columns);
    EXPECT_LT(darkQuiet, 0.1 * columns);
  }
}

}  // namespace
}  // namespace rovanel::display
