// The program's signal stores: the block arrays and the small fixed tables,
// created once by the main window and kept for its life (the curves are the
// window's curve set).
#pragma once

#include <array>
#include <cstdint>

#include "base/sizes.h"
#include "signal/large_tab.h"

namespace rovanel::signal {

using rovanel::kPixels;  // sensor pixels per profile
inline constexpr int kMaxCurves = 4;
inline constexpr int kSpectrumColourCount = 2591;       // 400 nm up; the last entry is black
inline constexpr std::uint32_t kMiInitLength = 131072;  // series elements cleared by InitTabs

using Curve = std::array<std::uint8_t, kPixels>;

// Four curves addressed as curve 1..4.
struct CurveSet {
  std::array<Curve, kMaxCurves> curves{};

  // k = 1..kMaxCurves; any other k is a programming error and throws std::out_of_range
  // rather than touching a neighbouring store.
  Curve& operator[](int k) { return curves.at(static_cast<std::size_t>(k - 1)); }
  const Curve& operator[](int k) const { return curves.at(static_cast<std::size_t>(k - 1)); }
  void Clear() {
    for (Curve& c : curves) c.fill(0);
  }
};

// The inventory; the block arrays are created in declaration order.
struct Stores {
  TLargeTab MiSerie{5};
  TLargeTab MiFftLevels{5};
  TLargeTab PeakMarks{5};
  TLargeTab MiSerieRaw{5};
  TLargeTab WorkTab{1};
  TLargeTab PeakFlags{5};
  TDblTab FftData{2};
  TDblTab SplineTab{2};
  TDblTab FftTwiddles{2};
  TDblTab FftWork{2};
  std::array<std::uint8_t, kPixels> FftLevels{};
  std::array<float, kPixels> LambdaTab{};
  std::array<std::array<std::uint8_t, 3>, kSpectrumColourCount> SpectrumColours{};  // (b, g, r)

  // Blocks missing over all block arrays (0 when every allocation succeeded).
  int MissingBlocks() const;
};

// Clears elements 0..131071 of MiSerie and MiSerieRaw.
void InitTabs(Stores& s);

}  // namespace rovanel::signal
