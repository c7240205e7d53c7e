#include "optics/lamp_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace rovanel::optics {
namespace {

const std::string kShipped = ROVANEL_SOURCE_DIR "/resources/lamp_lines_nm.csv";

// Writes `text` to a fresh file in the test's temporary folder.
std::string Write(const std::string& name, const std::string& text) {
  const auto path = std::filesystem::temp_directory_path() / ("rovanel_lamp_" + name + ".csv");
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

std::vector<double> Wavelengths(const std::vector<LampLine>& lines) {
  std::vector<double> out;
  for (const LampLine& l : lines) out.push_back(l.wavelengthNm);
  return out;
}

TEST(LampLines, ShippedLibraryHoldsTheClassicLines) {
  std::string error;
  const auto lines = LoadLampLines(kShipped, error);
  ASSERT_TRUE(lines) << error;
  EXPECT_EQ(lines->size(), 43u);
  const auto hg = VisibleLines(*lines, "Hg");
  EXPECT_EQ(Wavelengths(hg),
            (std::vector<double>{404.656, 407.783, 435.833, 491.607, 546.074, 576.960, 579.066}));
  EXPECT_EQ(hg[2].label, "blue");
  const auto na = VisibleLines(*lines, "Na");
  ASSERT_EQ(na.size(), 2u);
  EXPECT_NEAR(na[0].wavelengthNm, 589.0, 0.01);
  EXPECT_NEAR(na[1].wavelengthNm, 589.6, 0.01);
  EXPECT_EQ(na[0].label, "D2");
  EXPECT_EQ(VisibleLines(*lines, "H").size(), 4u);
  // Neon's lines are unlabelled; every one lies in the visible range.
  for (const LampLine& l : VisibleLines(*lines, "Ne")) EXPECT_EQ(l.label, "");
  EXPECT_TRUE(VisibleLines(*lines, "Xe").empty());
  EXPECT_TRUE(VisibleLines(*lines, "hg").empty());  // symbols are exact
}

TEST(LampLines, VisibleRangeIsInclusiveAndSorted) {
  std::string error;
  const auto lines = LoadLampLines(
      Write("range", "X,780.0,top\nX,379.99,below\nX,500,mid\nX,380,bottom\nX,780.01,above\n"
                     "Y,450,other lamp\nX,500.0,again\n"),
      error);
  ASSERT_TRUE(lines) << error;
  const auto v = VisibleLines(*lines, "X");
  EXPECT_EQ(Wavelengths(v), (std::vector<double>{380.0, 500.0, 500.0, 780.0}));
  EXPECT_EQ(v[1].label, "mid");  // equal wavelengths keep the file's order
  EXPECT_EQ(v[2].label, "again");
}

TEST(LampLines, CommentsBlankLinesAndLineEndsAreAccepted) {
  std::string error = "stale";
  const auto lines =
      LoadLampLines(Write("ok", "# a source\r\n#element,wavelength_nm,note\r\n\r\nHg,546.074,green\r\nNa,588.995,"), error);
  ASSERT_TRUE(lines) << error;
  EXPECT_TRUE(error.empty());
  ASSERT_EQ(lines->size(), 2u);
  EXPECT_EQ((*lines)[0].lamp, "Hg");
  EXPECT_EQ((*lines)[0].wavelengthNm, 546.074);
  EXPECT_EQ((*lines)[0].label, "green");
  EXPECT_EQ((*lines)[1].label, "");
}

TEST(LampLines, BadInputsAreRefusedWithTheirLineNumber) {
  struct Case {
    const char* name;
    std::string text;
    std::string where;  // part of the message
  };
  const std::vector<Case> cases = {
      {"two fields", "# c\nHg,546.074\n", "line 2:"},
      {"one field", "Hg\n", "line 1:"},
      {"four fields", "Hg,1,2,3\n", "line 1:"},
      {"empty lamp", "Hg,546.074,\n,500,x\n", "line 2:"},
      {"lamp with a blank", "Hg ,546.074,\n", "line 1:"},
      {"empty wavelength", "Hg,,green\n", "line 1:"},
      {"text wavelength", "Hg,green,546\n", "line 1:"},
      {"negative", "Hg,-546,\n", "line 1:"},
      {"zero", "Hg,0.000,\n", "line 1:"},
      {"exponent", "Hg,5.46e2,\n", "line 1:"},
      {"infinity", "Hg,inf,\n", "line 1:"},
      {"trailing dot", "Hg,546.,\n", "line 1:"},
      {"leading dot", "Hg,.5,\n", "line 1:"},
      {"blank after number", "Hg,546.0 ,\n", "line 1:"},
      {"too long a number", "Hg," + std::string(400, '9') + ",\n", "line 1:"},
      {"header without #", "element,wavelength_nm,note\nHg,546.074,\n", "line 1:"},
      {"bad line after good ones", "Hg,1,\nHg,2,\n\nHg,3,\nHg,x,\n", "line 5:"},
      {"only comments", "# nothing\n", "no lines"},
      {"empty file", "", "no lines"},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(LoadLampLines(Write("bad" + std::to_string(k), c.text), error));
    EXPECT_NE(error.find(c.where), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(LoadLampLines("/nonexistent/lamp_lines_nm.csv", error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
}  // namespace rovanel::optics
