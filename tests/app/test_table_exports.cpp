// The CSV and clipboard tables, and the JCAMP-DX writer's resampling and
// refusals, against hand-written values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/files/data_table.h"
#include "app/files/jcamp.h"

namespace rovanel::app {
namespace {

TEST(TableExports, NumbersAreFixedWithTheChosenSeparator) {
  struct Case {
    double v;
    bool single;
    char decimal;
    const char* want;
  };
  const Case cases[] = {
      {28658, false, '.', "28658"},
      {0.35, false, ',', "0,35"},                       // 35 hundredths of a second
      {1.0 / 0.028672, false, '.', "34.877232"},        // one spatial-frequency bin, 1/m
      {2.5e-7, false, '.', "0"},                        // below the sixth decimal, no "-0"
      {-2.5e-7, false, ',', "0"},
      {-12.5, false, ',', "-12,5"},
      {1e20, false, '.', "100000000000000000000"},      // never an exponent
      {static_cast<float>(532.1), true, ',', "532,1"},  // the float's own shortest form
      {static_cast<float>(400.0), true, '.', "400"},
      {std::numeric_limits<double>::quiet_NaN(), false, '.', ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TableNumber(c.v, c.single, c.decimal), c.want) << c.want;
}

TEST(TableExports, TheTwoStylesAndTheClipboard) {
  DataTable t;
  t.columns.push_back({"wavelength (nm)", {400.25f, 401.5f}, true});
  t.columns.push_back({"a, b", {12, 255}, false});     // quoted where the comma separates
  t.columns.push_back({"say \"x\"", {0, 1}, false});  // a quote is always quoted, doubled
  EXPECT_EQ(CsvText(t, CsvStyle::PointComma),
            "wavelength (nm),\"a, b\",\"say \"\"x\"\"\"\r\n400.25,12,0\r\n401.5,255,1\r\n");
  EXPECT_EQ(CsvText(t, CsvStyle::CommaSemicolon),
            "wavelength (nm);a, b;\"say \"\"x\"\"\"\r\n400,25;12;0\r\n401,5;255;1\r\n");
  EXPECT_EQ(TabText(t, CsvStyle::CommaSemicolon),
            "wavelength (nm)\ta, b\t\"say \"\"x\"\"\"\n400,25\t12\t0\n401,5\t255\t1\n");
  EXPECT_EQ(CsvText(DataTable{}, CsvStyle::PointComma), "\r\n");
}

TEST(TableExports, StyleByLanguageUnlessOneWasKept) {
  EXPECT_EQ(EffectiveCsvStyle(CsvStyle::Unset, 1), CsvStyle::CommaSemicolon);
  EXPECT_EQ(EffectiveCsvStyle(CsvStyle::Unset, 2), CsvStyle::PointComma);
  EXPECT_EQ(EffectiveCsvStyle(CsvStyle::Unset, 3), CsvStyle::CommaSemicolon);
  EXPECT_EQ(EffectiveCsvStyle(CsvStyle::PointComma, 1), CsvStyle::PointComma);
  EXPECT_EQ(EffectiveCsvStyle(CsvStyle::CommaSemicolon, 2), CsvStyle::CommaSemicolon);
  EXPECT_EQ(EffectiveCsvStyle(static_cast<CsvStyle>(9), 2), CsvStyle::PointComma);
}

TEST(Jcamp, ResamplesLinearlyOnTheWholeNanometresCovered) {
  using Grid = std::vector<std::pair<int, double>>;
  const std::vector<std::uint8_t> levels = {0, 100, 200};
  // Rising: 401 lies halfway between 400.5 and 401.5, 402 between 401.5 and 402.5.
  const std::vector<float> up = {400.5f, 401.5f, 402.5f};
  EXPECT_EQ(ResampleToNanometres(up, levels), (Grid{{401, 50.0}, {402, 150.0}}));
  // Falling wavelengths give the same grid, rising.
  const std::vector<float> down = {402.5f, 401.5f, 400.5f};
  EXPECT_EQ(ResampleToNanometres(down, levels), (Grid{{401, 150.0}, {402, 50.0}}));
  // Ends on whole nanometres are kept; a quarter of the way is a quarter.
  const std::vector<float> whole = {400.0f, 404.0f};
  const std::vector<std::uint8_t> two = {0, 100};
  EXPECT_EQ(ResampleToNanometres(whole, two),
            (Grid{{400, 0.0}, {401, 25.0}, {402, 50.0}, {403, 75.0}, {404, 100.0}}));
  // Not monotonic, or too short: nothing.
  const std::vector<float> bent = {400.0f, 402.0f, 401.0f};
  EXPECT_TRUE(ResampleToNanometres(bent, levels).empty());
  EXPECT_TRUE(ResampleToNanometres(std::vector<float>{400.0f}, levels).empty());
}

TEST(Jcamp, RefusesWhatItCannotWriteWhole) {
  const std::vector<float> nan = {400.0f, std::numeric_limits<float>::quiet_NaN()};
  const std::vector<float> flat = {400.2f, 400.2f};
  const std::vector<float> narrow = {400.2f, 400.7f};  // no whole nanometre inside
  const std::vector<std::uint8_t> levels = {1, 2};
  struct Case {
    std::span<const float> lambda;
    std::span<const std::uint8_t> levels;
    bool resample;
  };
  const Case cases[] = {{{}, {}, false}, {nan, levels, false}, {flat, levels, true},
                        {narrow, levels, true}};
  for (const Case& c : cases) {
    JcampInput in;
    in.lambda = c.lambda;
    in.levels = c.levels;
    in.resample = c.resample;
    std::string text = "old", error;
    EXPECT_FALSE(JcampText(in, text, error));
    EXPECT_TRUE(text.empty());
    EXPECT_NE(error.find("nothing was exported"), std::string::npos) << error;
  }
  // Uneven but rising wavelengths are written pair by pair, as they are.
  JcampInput in;
  in.lambda = flat;
  in.levels = levels;
  std::string text, error;
  EXPECT_TRUE(JcampText(in, text, error)) << error;
  EXPECT_NE(text.find("##XYPOINTS=(XY..XY)\r\n400.2, 1\r\n400.2, 2\r\n##END=\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace rovanel::app
