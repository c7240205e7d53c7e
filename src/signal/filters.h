// The processing steps that rebuild the shown curves from the stored ones:
// level stretch, the two smoothing filters, the reference correction, the
// logarithmic scale, inversion and copying.
//
// Every step works on a plain byte span; the curve-set forms apply it to
// curves 1..count, and the series forms to the first n samples of a paged
// array (in one contiguous pass, so the paging costs nothing per sample).
// Rounding is to nearest with halves to even throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "signal/large_tab.h"
#include "signal/stores.h"

namespace rovanel::signal {

// Maps [min, max] of the samples onto 0..255: v := round((v - min) * 255 / (max - min)),
// with max := min + 1 for a flat input (which then becomes all zeros).
void StretchLevels(std::span<std::uint8_t> samples);
void StretchLevels(TLargeTab& series, std::uint32_t n);

// Profile filter: `passes` in-place sweeps of the 3-point mean over samples
// 1..n-2 in single precision (each sweep sees the values it has already
// replaced), then round back to bytes. The end samples keep their values.
void Smooth3(std::span<std::uint8_t> curve, int passes);
// The same on curves 1..count (first n samples), curve 1 left alone when skipFirst.
void Smooth3(CurveSet& curves, int count, bool skipFirst, int passes, std::size_t n = kPixels);

// Series filter: `passes` in-place sweeps of the 5-point mean over samples
// 2..n-3, each sample rounded as it is replaced. Nothing happens for
// passes < 1 or fewer than 5 samples.
void Smooth5(std::span<std::uint8_t> series, int passes);
void Smooth5(TLargeTab& series, std::uint32_t n, int passes);

// Spectral response correction: zero reference samples become 1 (the
// reference is changed), then curve[i] := min(255, round(255 / reference[i] * curve[i])).
// Works over the shorter of the two spans.
void CorrectByReference(std::span<std::uint8_t> reference, std::span<std::uint8_t> curve);

// Logarithmic Y scale: v := round(46 * ln(v + 1)); 255 stays 255.
void LogLevels(std::span<std::uint8_t> samples);
void LogLevels(CurveSet& curves, int count, std::size_t n = kPixels);

// v := 255 - v.
void InvertLevels(std::span<std::uint8_t> samples);
void InvertCurves(CurveSet& curves, int count, std::size_t n = kPixels);
void InvertSeries(TLargeTab& series, std::uint32_t n);

// dest[i] := src[i] for i < n.
void CopySamples(TLargeTab& dest, const TLargeTab& src, std::uint32_t n);

}  // namespace rovanel::signal
