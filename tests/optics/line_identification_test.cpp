#include "optics/line_identification.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace rovanel::optics {
namespace {

const std::vector<double> kMercury = {404.656, 407.783, 435.833, 491.607,
                                      546.074, 576.960, 579.066};

// A bent dispersion: λ(p) = 380 + 0.16 p - 1e-5 p², inverted by hand.
double PixelOf(double nm) {
  const double a = -1e-5, b = 0.16, c = 380.0 - nm;
  return (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
}

TEST(IdentifyLines, FindsTheLampsLinesAmongSpuriousPeaks) {
  struct Case {
    const char* what;
    std::vector<double> shownNm;  // the lines in the spectrum
    std::vector<double> spurious;  // pixels of peaks that are no line
    std::size_t most;
    std::vector<double> expectedNm;
  };
  const Case cases[] = {
      {"every line but 407.783, and two stray peaks",
       {404.656, 435.833, 491.607, 546.074, 576.960, 579.066},
       {150.0, 1900.0},
       7,
       {404.656, 435.833, 491.607, 546.074, 576.960, 579.066}},
      {"at most four: the ends, then the strongest",
       {404.656, 435.833, 491.607, 546.074, 576.960, 579.066},
       {},
       4,
       {404.656, 435.833, 546.074, 579.066}},
      {"three lines are enough", {435.833, 546.074, 579.066}, {}, 6, {435.833, 546.074, 579.066}},
  };
  for (const Case& c : cases) {
    std::vector<SpectrumPeak> peaks;
    // Strengths: 435.833 strongest, then 546.074; the rest weaker.
    for (double nm : c.shownNm)
      peaks.push_back({PixelOf(nm), nm == 435.833 ? 100.0 : nm == 546.074 ? 90.0 : 40.0});
    for (double p : c.spurious) peaks.push_back({p, 30.0});
    const std::vector<IdentifiedLine> found = IdentifyLines(peaks, kMercury, c.most);
    ASSERT_EQ(found.size(), c.expectedNm.size()) << c.what;
    for (std::size_t k = 0; k < found.size(); ++k) {
      EXPECT_DOUBLE_EQ(found[k].nm, c.expectedNm[k]) << c.what;
      EXPECT_NEAR(found[k].pixel, PixelOf(found[k].nm), 1e-9) << c.what;
    }
  }
}

TEST(IdentifyLines, ProposesNothingWithoutThreeAgreeingPeaks) {
  const std::vector<SpectrumPeak> two = {{PixelOf(435.833), 1}, {PixelOf(546.074), 1}};
  EXPECT_TRUE(IdentifyLines(two, kMercury).empty());
  EXPECT_TRUE(IdentifyLines({}, kMercury).empty());
}

}  // namespace
}  // namespace rovanel::optics
