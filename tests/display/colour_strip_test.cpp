// The spectral colour table: wavelength to entry, and loading the strip
// picture, the shipped one included.
#include "display/colour_strip.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "display/image_io.h"

namespace rovanel::display {
namespace {

TEST(SpectrumColourIndex, RoundedStepsFrom400nmAndTheBlackEntryOutside) {
  const std::pair<float, int> cases[] = {
      {400.0f, 0},
      {400.07f, 0},   // 0.45 of a step
      {400.08f, 1},   // 0.52
      {550.0f, 971},  // 150 / 0.15444015 = 971.25
      // 300 / 0.15444015 = 1942.50006 (1942.5 in single precision): 1943.
      {700.0f, 1943},
      {799.9f, 2589},
      {800.0f, 2590},
      {399.99f, 2590},
      {800.01f, 2590},
      {-550.0f, 2590},
      {std::numeric_limits<float>::quiet_NaN(), 2590},
      {std::numeric_limits<float>::infinity(), 2590},
  };
  for (const auto& [lambda, index] : cases) EXPECT_EQ(SpectrumColourIndex(lambda), index) << lambda;
}

TEST(SpectrumRgb, EntriesAreBlueGreenRed) {
  SpectrumColourTable t{};
  t[5] = {1, 2, 3};
  EXPECT_EQ(SpectrumRgb(t, 5), (Rgb{3, 2, 1}));
  t[0] = {9, 9, 9};
  EXPECT_EQ(SpectrumRgb(t, -1), kBlack);
  EXPECT_EQ(SpectrumRgb(t, 2591), kBlack);
}

// A folder of its own under the test temporary folder.
std::filesystem::path Folder(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteStrip(const std::filesystem::path& dir, const Canvas& picture) {
  ASSERT_TRUE(
      ToQImage(picture).save(QString::fromStdString((dir / kSpectrumStripFile).string()), "BMP"));
}

SpectrumColourTable Grey() {
  SpectrumColourTable t{};
  for (auto& e : t) e = {9, 9, 9};
  return t;
}

bool AllBlack(const SpectrumColourTable& t) {
  for (const auto& e : t)
    if (e[0] != 0 || e[1] != 0 || e[2] != 0) return false;
  return true;
}

TEST(LoadSpectrumColours, TopRowLeftToRightThenBlack) {
  Canvas picture(2600, 3, kWhite);
  for (int x = 0; x < 2600; ++x)
    picture.SetPixel(
        x, 0, Rgb{static_cast<std::uint8_t>(x % 256), static_cast<std::uint8_t>(x / 256), 77});
  const auto dir = Folder("strip_ok");
  WriteStrip(dir, picture);
  SpectrumColourTable t = Grey();
  ASSERT_TRUE(LoadSpectrumColours(dir.string(), t));
  for (int x : {0, 1, 255, 256, 1000, 2589}) {
    const std::array<std::uint8_t, 3> bgr{77, static_cast<std::uint8_t>(x / 256),
                                          static_cast<std::uint8_t>(x % 256)};
    EXPECT_EQ(t[static_cast<std::size_t>(x)], bgr) << x;
  }
  EXPECT_EQ(t[2590], (std::array<std::uint8_t, 3>{0, 0, 0}));
}

TEST(LoadSpectrumColours, MissingUnreadableOrNarrowStripsGiveBlack) {
  const auto missing = Folder("strip_missing");
  const auto text = Folder("strip_text");
  std::ofstream(text / kSpectrumStripFile) << "not a picture\n";
  const auto narrow = Folder("strip_narrow");
  WriteStrip(narrow, Canvas(2589, 8, kRed));
  for (const auto& dir : {missing, text, narrow}) {
    SpectrumColourTable t = Grey();
    EXPECT_FALSE(LoadSpectrumColours(dir.string(), t)) << dir;
    EXPECT_TRUE(AllBlack(t)) << dir;
  }
}

// The strip shipped with the program looks like the spectrum.
TEST(LoadSpectrumColours, ShippedStripHasTheSpectrumsHues) {
  const std::filesystem::path source = ROVANEL_SOURCE_DIR;
  SpectrumColourTable t{};
  ASSERT_TRUE(LoadSpectrumColours((source / "resources").string(), t)) << source;
  auto at = [&t](float nm) { return SpectrumRgb(t, SpectrumColourIndex(nm)); };

  // One channel clearly above both others.
  const Rgb blue = at(450.0f), green = at(530.0f), red = at(610.0f);
  EXPECT_GT(blue.b, 2 * std::max(blue.r, blue.g)) << int(blue.r) << "," << int(blue.g);
  EXPECT_GT(green.g, 2 * std::max(green.r, green.b)) << int(green.r) << "," << int(green.b);
  EXPECT_GT(red.r, 2 * std::max(red.g, red.b)) << int(red.g) << "," << int(red.b);
  EXPECT_GE(std::max({blue.b, green.g, red.r}), 200);
  // Yellow-orange: red and green both strong, little blue.
  const Rgb yellow = at(580.0f);
  EXPECT_GE(std::min(yellow.r, yellow.g), 150) << int(yellow.r) << "," << int(yellow.g);
  EXPECT_LT(2 * yellow.b, std::min(yellow.r, yellow.g));
  // Dimmer where the eye is less sensitive, black beyond it and outside 400..800.
  EXPECT_LT(at(400.0f).b, blue.b);
  EXPECT_LT(at(700.0f).r, red.r);
  EXPECT_EQ(at(790.0f), kBlack);
  EXPECT_EQ(SpectrumRgb(t, 2590), kBlack);
}

}  // namespace
}  // namespace rovanel::display
