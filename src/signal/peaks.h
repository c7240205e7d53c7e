// Peak detection by descending-threshold flooding.
//
// A copy of the curve is smoothed (10 sweeps of the in-place 3-point integer
// mean). The levels are then visited from 255 down to 0 and, within a level,
// the samples 1..n-2 at that level in increasing order. Sample states are
// 0 untouched, 1 flooded (on the slope of a known peak), 2 start of a peak;
// samples 0 and 1 start flooded. An untouched sample starts a peak: with w
// the length of its run at that level (not followed past n-2), the sample
// round(w/2 + 0.49) further on gets the mark. Started or flooded samples
// then flood their neighbours: the right one if untouched; the left one if
// untouched, together with the run of equal samples to its left. So a
// peak's slopes are absorbed down to the valleys on each side, and a local
// maximum the flooding has not reached becomes a peak of its own.
#pragma once

#include <cstdint>
#include <span>

#include "signal/large_tab.h"

namespace rovanel::signal {

inline constexpr std::uint8_t kPeakMark = 20;
inline constexpr int kPeakSmoothPasses = 10;

// Finds the peaks of `curve` (which is not changed). marks[i] := kPeakMark at
// each peak's mark and 0 elsewhere, for i < curve.size(); `states`, when not
// empty, receives the final sample states. A shorter marks or states span
// limits the search to its length. Returns the number of peaks.
std::uint32_t DetectPeaks(std::span<const std::uint8_t> curve, std::span<std::uint8_t> marks,
                          std::span<std::uint8_t> states = {});

// The flooding alone, on a curve that is already smoothed.
std::uint32_t FloodPeaks(std::span<const std::uint8_t> smoothed, std::span<std::uint8_t> marks,
                         std::span<std::uint8_t> states = {});

// The same on the first n samples of paged arrays.
std::uint32_t DetectPeaks(const TLargeTab& curve, std::uint32_t n, TLargeTab& marks,
                          TLargeTab* states = nullptr);

}  // namespace rovanel::signal
