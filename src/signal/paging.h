// Block-wise copies between the paged sample arrays and contiguous buffers,
// with the arrays' rules: a missing block reads as zeros and drops writes,
// and nothing past the capacity is touched.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "signal/large_tab.h"

namespace rovanel::signal {

// out[i] := t[first + i] for every i of out (0 where t holds no element).
void ReadSamples(const TLargeTab& t, std::uint32_t first, std::span<std::uint8_t> out);
// t[first + i] := in[i] where t holds the element.
void WriteSamples(TLargeTab& t, std::uint32_t first, std::span<const std::uint8_t> in);
// The first n samples of t.
std::vector<std::uint8_t> ReadSamples(const TLargeTab& t, std::uint32_t n);

}  // namespace rovanel::signal
