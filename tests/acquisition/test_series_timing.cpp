#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/series_timing.h"

namespace rovanel::acquisition {
namespace {

constexpr BoxKind kUsb = BoxKind::kUsb;
constexpr BoxKind kPort = BoxKind::kParallelPort;

TEST(SeriesTiming, LevelTimesCodesCaptionsAndGrids) {
  struct Row {
    int level;
    double ms;
    int code;
    const char* caption;
    int usbStep, usbMax, portStep, portMax;  // port box at 4096 points
  };
  for (const Row& r : std::vector<Row>{{0, 10.0, 0, " 0", 5, 1306, 41, 2621},  // 5.12, 40.96
                                       {1, 12.5, 8, " 1", 6, 1632, 51, 3277},  // 6.4, 51.2
                                       {4, 20.0, 2, " 4", 10, 2611, 82, 5243},
                                       {11, 37.5, 13, "11", 19, 4896, 154, 9830},
                                       {15, 47.5, 15, "15", 24, 6202, 195, 12452}}) {
    EXPECT_DOUBLE_EQ(IntegrationTimeMs(r.level), r.ms) << r.level;
    EXPECT_EQ(SensiCode(r.level), r.code) << r.level;
    EXPECT_EQ(LevelCaption(r.level), r.caption) << r.level;
    EXPECT_EQ(UsbGrid(r.level).step, r.usbStep) << r.level;
    EXPECT_EQ(UsbGrid(r.level).max, r.usbMax) << r.level;
    EXPECT_EQ(PortGrid(r.level, 4096).step, r.portStep) << r.level;
    EXPECT_EQ(PortGrid(r.level, 4096).max, r.portMax) << r.level;
  }
  EXPECT_EQ(PortGrid(0, 8192).step, 82);  // 81.92
  EXPECT_EQ(PortGrid(0, 8192).max, 5243);
  EXPECT_EQ(SensiPlus(15), 15);
  EXPECT_EQ(SensiMoins(0), 0);
}

TEST(SeriesTiming, NormalisedDurations) {
  struct Row {
    BoxKind box;
    int level, points, in, out;
  };
  for (const Row& r : std::vector<Row>{
           {kUsb, 0, 0, 20, 20},      // nearest(3.906 + 0.5) = 4 blocks, 20.48
           {kUsb, 0, 0, 21, 26},      // 4.10 -> 5 blocks, 25.6
           {kUsb, 0, 0, 0, 5},        // never an empty series
           {kUsb, 0, 0, 9999, 1311},  // cut to 1306, which rounds up to 256 blocks
           {kUsb, 0, 0, 256, 256},    // exactly 50 blocks: 50.5 goes to even 50
           {kUsb, 1, 0, 32, 38},      // exactly 5 blocks of 6.4: 5.5 goes to 6
           {kUsb, 15, 0, 100, 122},   // 4.11 -> 5 blocks of 24.32, 121.6
           {kPort, 0, 4096, 20, 41},
           {kPort, 0, 4096, 100, 123},
           {kPort, 0, 4096, 82, 82},
           {kPort, 0, 4096, 0, 41},  // rate divider never below 1
           {kPort, 0, 4096, 2583, 2583},
           {kPort, 0, 4096, 9999, 2624},  // cut to 2621, then up onto step 64
           {kPort, 1, 4096, 3277, 3264},  // 65 steps would overflow the 6-bit rate
           {kPort, 0, 8192, 100, 164},
       }) {
    const int got = r.box == kUsb ? NormaliseUsbDuration(r.in, r.level)
                                  : NormalisePortDuration(r.in, r.level, r.points);
    EXPECT_EQ(got, r.out) << r.level << " " << r.points << " " << r.in;
  }
  for (auto [text, value] : std::vector<std::pair<std::string, int>>{
           {" 0020 ", 20}, {"0", 0}, {"", -1}, {"  ", -1}, {"2a", -1}})
    EXPECT_EQ(ParseDuration(text), value) << '"' << text << '"';
}

TEST(SeriesTiming, RequestSurvivesLevelAndPointChanges) {
  SeriesControls c;
  c.durationText = " 24";
  EXPECT_EQ(UpdateDuration(c, false), 26);
  EXPECT_EQ(c.durRequested, 24);
  EXPECT_EQ(c.durStep, 5);
  EXPECT_EQ(c.durMax, 1306);
  EXPECT_TRUE(c.durValid);
  EXPECT_DOUBLE_EQ(SensiChanged(c, 15), 47.5);
  EXPECT_EQ(c.durationText, "24");            // from the request: 0.99 -> 1 block
  EXPECT_DOUBLE_EQ(SensiPlusClick(c), 47.5);  // at the end: still recomputed
  EXPECT_DOUBLE_EQ(SensiChanged(c, 0), 10.0);
  EXPECT_EQ(c.durationText, "26");

  c.durationText = "";  // unreadable: the request stays
  EXPECT_FALSE(InterAccKeyPress(c, '5'));
  EXPECT_FALSE(c.durValid);
  EXPECT_TRUE(InterAccKeyPress(c, kEnterKey));
  EXPECT_TRUE(c.durValid);
  EXPECT_EQ(c.durationText, "26");
  EXPECT_EQ(c.durRequested, 24);

  c.box = kPort;
  c.durationText = "100";
  EXPECT_TRUE(InterAccKeyPress(c, kEnterKey));
  EXPECT_EQ(c.durationText, "123");
  NbPtsClick(c);
  EXPECT_EQ(c.nbPtsCaption, "8192");
  EXPECT_EQ(c.durationText, "164");
  NbPtsClick(c);
  EXPECT_EQ(c.nbPtsCaption, "4096");
  EXPECT_EQ(c.durationText, "123");
}

TEST(SeriesTiming, DurationButtons) {
  struct Row {
    BoxKind box;
    const char* start;
    const char* clicks;
    std::vector<int> seen;
  };
  for (const Row& r : std::vector<Row>{
           {kUsb, "20", "++-------", {26, 31, 26, 20, 15, 10, 5, 5, 5}},
           {kUsb, "1311", "+", {1311}},
           {kPort, "20", "++---", {82, 123, 82, 41, 41}},
           {kPort, "2624", "+", {2624}},
       }) {
    SeriesControls c;
    c.box = r.box;
    c.durationText = r.start;
    UpdateDuration(c, false);
    std::vector<int> seen;
    for (const char* k = r.clicks; *k; ++k)
      seen.push_back(*k == '+' ? DureePlusClick(c) : DureeMoinsClick(c));
    EXPECT_EQ(seen, r.seen) << r.start << " " << r.clicks;
  }
}

TEST(SeriesTiming, SeriesPlans) {
  struct Row {
    BoxKind box;
    int level;
    const char* caption;
    const char* text;
    bool valid;
    int duration, points, code;
  };
  for (const Row& r : std::vector<Row>{
           {kUsb, 0, "4096", "20", false, 20, 2048, 0},
           {kUsb, 0, "4096", "21", true, 21, 2048, 0},  // already normalised: as is
           {kUsb, 0, "4096", "21", false, 26, 2560, 0},
           {kUsb, 4, "4096", "1000", false, 1004, 50176, 0},  // 98 blocks of 10.24
           {kPort, 0, "4096", "100", false, 123, 4096, 2},
           {kPort, 0, "4096", "2621", false, 2624, 4096, 63},
           {kPort, 0, "8192", "20", false, 82, 8192, 0},
       }) {
    SeriesControls c;
    c.box = r.box;
    c.level = r.level;
    c.nbPtsCaption = r.caption;
    c.durationText = r.text;
    c.durValid = r.valid;
    const SeriesPlan p = r.box == kUsb ? PlanUsbSeries(c) : PlanPortSeries(c);
    EXPECT_EQ(p.duration, r.duration) << r.text;
    EXPECT_EQ(p.points, r.points) << r.text;
    EXPECT_EQ(p.blocks, r.points / 512) << r.text;
    EXPECT_EQ(p.durationCode, r.code) << r.text;
    EXPECT_EQ(p.sensiCode, SensiCode(r.level)) << r.text;
  }
  EXPECT_EQ(DurationCode(40, 41), -1);
}

TEST(SeriesTiming, SampleTimesSpectrumBinsAndGaugeLine) {
  EXPECT_DOUBLE_EQ(SampleSeconds(100, 4, 0), 2.0);
  EXPECT_DOUBLE_EQ(SampleSeconds(512, 0, 2), 15.36);
  EXPECT_DOUBLE_EQ(SpectrumHertz(4096, 8192, 4, 1), 12.5);
  EXPECT_DOUBLE_EQ(SpectrumHertz(5, 0, 4, 1), 0.0);
  EXPECT_EQ(PointsLine(2048, "points"), "2048 points");
}

}  // namespace
}  // namespace rovanel::acquisition
