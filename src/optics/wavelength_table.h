// The spectrometer's wavelength table: the wavelength in nm of every sensor
// pixel, built from up to six reference lines (a pixel and its known
// wavelength each) either piecewise linearly or by a parametric cubic spline.
//
// Every function works on its own copy of the references: the caller's
// table keeps its order and contents (the reference numbers the user sees).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/sizes.h"

namespace rovanel::optics {

// One reference line. A wavelength of 0 marks an unused entry (pixel -1).
struct CalPoint {
  std::int32_t pixel = -1;
  float lambda = 0.0f;  // nm
  friend bool operator==(const CalPoint&, const CalPoint&) = default;
};

inline constexpr int kCalPointCount = 9;    // entries in a reference table
inline constexpr int kLinearCalPoints = 6;  // entries the linear method reads
inline constexpr int kSplineCalPoints = 7;  // entries the spline method reads

using CalPoints = std::array<CalPoint, kCalPointCount>;

// What a user may enter as a reference line, so that every saved file can
// be opened again: a pixel of the sensor, and a finite wavelength of 0 (the
// line unused) to kMaxReferenceNm.
inline constexpr float kMaxReferenceNm = 3000.0f;
inline bool ValidReferencePixel(double pixel) { return pixel >= 0 && pixel <= 2047; }
inline bool ValidReferenceWavelength(float nm) { return nm >= 0.0f && nm <= kMaxReferenceNm; }
using LambdaTable = std::array<float, kPixels>;

// Interpolation kinds, as stored in the spectrometry settings.
inline constexpr std::int32_t kLinearKind = 0;
inline constexpr std::int32_t kSplineKind = 1;

// (200, 450), (400, 550), (800, 600), (1000, 650), (1200, 700), (1400, 800),
// then three unused entries.
CalPoints DefaultCalPoints();

// Piecewise-linear table through the used entries among the first six, the
// first and last segments extended to pixels 0 and 2047. Two entries on the
// same pixel give a slope of 1.0. Returns false, leaving `lambda` unchanged,
// when fewer than two entries are used.
bool FillLinear(const CalPoints& points, LambdaTable& lambda);

// Spline table through the used entries among the first seven, extended
// linearly below the first and above the last reference pixel. Returns
// false, leaving `lambda` unchanged, when fewer than two entries are used.
// Pixels the method does not reach keep their value in `lambda` (only
// references outside 0..2047 leave any).
bool FillSpline(const CalPoints& points, LambdaTable& lambda);

// The table of kind `kind` (kSplineKind, or linear for any other value) from
// `points`; when the method finds fewer than two used references, the linear
// table of the default references. `lambda` is the table being replaced.
void CalibrationCurve(const CalPoints& points, std::int32_t kind, LambdaTable& lambda);

// The table at start: the default references, linear method.
LambdaTable StartLambdaTab();

// Second derivatives M[0..n-1] of the natural cubic spline through y[0..n-1]
// at unit spacing: M[0] = M[n-1] = 0 and M[k-1] + 4 M[k] + M[k+1] =
// 6 (y[k+1] - 2 y[k] + y[k-1]). Solved with the homogeneous sequence of
// SplineSequence(); at most kSplineSequenceLength - 1 intervals (n <= 9).
// Fewer than three values: all zero.
std::vector<double> NaturalSplineMoments(std::span<const double> y);

// a(0) = 0, a(1) = -1, a(n) = -(a(n-2) + 4 a(n-1)): 0, -1, 4, -15, 56, ...
// Long enough for the largest knot list (seven references and two copies).
inline constexpr int kSplineSequenceLength = kSplineCalPoints + 2;
std::array<float, kSplineSequenceLength> SplineSequence();

// Writes SplineSequence() into the first float of the first cells of the
// spline work table (second float 0); `Tab` is the program's TDblTab.
template <class Tab>
void FillSplineTab(Tab& tab) {
  const auto a = SplineSequence();
  for (int n = 0; n < kSplineSequenceLength; ++n) {
    tab.SetComplex(static_cast<std::uint32_t>(n), a[static_cast<std::size_t>(n)], 0.0f);
  }
}

}  // namespace rovanel::optics
