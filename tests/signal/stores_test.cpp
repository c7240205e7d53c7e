#include "signal/stores.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace rovanel::signal {
namespace {

TEST(Stores, InventorySizes) {
  auto s = std::make_unique<Stores>();
  EXPECT_EQ(s->MissingBlocks(), 0);
  for (const TLargeTab* t :
       {&s->MiSerie, &s->MiFftLevels, &s->PeakMarks, &s->MiSerieRaw, &s->PeakFlags}) {
    EXPECT_EQ(t->Capacity(), 163840u);
  }
  EXPECT_EQ(s->WorkTab.Capacity(), 32768u);
  for (const TDblTab* t : {&s->FftData, &s->SplineTab, &s->FftTwiddles, &s->FftWork}) {
    EXPECT_EQ(t->Capacity(), 8192u);
  }
  // The longest USB series, 255 blocks of 512 samples, fits the series arrays.
  EXPECT_TRUE(s->MiSerie.Holds(255 * 512 - 1));
  EXPECT_EQ(s->SpectrumColours.size(), 2591u);
  EXPECT_EQ(s->LambdaTab.size(), 2048u);
  EXPECT_EQ(s->FftLevels.size(), 2048u);
}

TEST(Stores, InitTabsClearsSeriesHeads) {
  auto s = std::make_unique<Stores>();
  for (std::uint32_t i : {0u, 32767u, 32768u, 131071u, 131072u}) {
    s->MiSerie.SetValue(i, 200);
    s->MiSerieRaw.SetValue(i, 201);
  }
  InitTabs(*s);
  for (std::uint32_t i : {0u, 32767u, 32768u, 131071u}) {
    EXPECT_EQ(s->MiSerie.GetValue(i), 0) << i;
    EXPECT_EQ(s->MiSerieRaw.GetValue(i), 0) << i;
  }
  // Only elements 0..131071 are cleared.
  EXPECT_EQ(s->MiSerie.GetValue(131072), 200);
  EXPECT_EQ(s->MiSerieRaw.GetValue(131072), 201);
}

TEST(CurveSet, CurvesAreNumberedOneToFour) {
  CurveSet c;
  c[1][5] = 11;
  c[4][6] = 44;
  EXPECT_EQ(c.curves[0][5], 11);
  EXPECT_EQ(c.curves[3][6], 44);
  const CurveSet& cc = c;
  EXPECT_EQ(cc[4][6], 44);
  EXPECT_THROW(c[0], std::out_of_range);
  EXPECT_THROW(c[5], std::out_of_range);
}

}  // namespace
}  // namespace rovanel::signal
