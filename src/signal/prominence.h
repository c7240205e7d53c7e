// How much a peak stands out from its surroundings: its prominence, the
// height it rises above the higher of the two lowest points a walk must pass
// to reach higher ground on either side (or the curve's end). A noise bump
// on a line's flank has a small prominence; a spectral line or a fringe a
// large one, whatever its absolute height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rovanel::signal {

// The prominence in levels of the peak at or next to sample `i`: from `i`
// the walk first climbs to the top of its hill (to the higher neighbour,
// across plateaus, as long as the curve rises), so that a mark placed on a
// peak's flank counts the peak itself. From that top it walks left and
// right until a sample strictly higher than the top, or the curve's end,
// keeping the lowest sample on each side; the prominence is the top minus
// the higher of the two. 0 for an empty curve or `i` outside it.
int PeakProminence(std::span<const std::uint8_t> curve, std::size_t i);

// True when the peak at `i` stands out by at least `percent` of the full
// scale (255 levels); every peak passes 0 %.
bool ProminentEnough(std::span<const std::uint8_t> curve, std::size_t i, double percent);

// A copy of `curve` smoothed as the peak detector smooths it: 10 in-place
// sweeps of round((a[i-1] + a[i] + a[i+1]) / 3) over samples 1..n-2.
std::vector<std::uint8_t> PeakSmoothed(std::span<const std::uint8_t> curve);

// Clears the marks (non-zero entries of `marks`, over the first
// min(curve, marks) samples) of the peaks that do not stand out by
// `percent` of full scale on `curve` as the detector saw it (smoothed by
// PeakSmoothed); returns the number of marks left. 0 % keeps every mark.
std::uint32_t KeepProminentMarks(std::span<const std::uint8_t> curve, std::span<std::uint8_t> marks,
                                 double percent);

// A peak the detector finds on `raw` that stands out by at least `percent`
// of full scale: its centre (the centroid, over its top and 4 samples on
// each side, of the smoothed curve above the lowest of them) and its
// prominence, by rising pixel.
struct ProminentPeak {
  double centre = 0;
  int prominence = 0;
};
std::vector<ProminentPeak> ProminentPeaks(std::span<const std::uint8_t> raw, double percent);

}  // namespace rovanel::signal
