// The spectral colour table: one colour per 400/2590 nm from 400 nm up, read
// at start-up from the colour strip picture, and the index of a wavelength in it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "display/canvas.h"
#include "signal/stores.h"

namespace rovanel::display {

// Entries as (blue, green, red); the last one is black and stands for every
// wavelength outside 400..800 nm.
using SpectrumColourTable = std::array<std::array<std::uint8_t, 3>, signal::kSpectrumColourCount>;

// Nanometres per entry, 400 / 2590 in single precision.
inline constexpr float kLambdaStep = 0.15444015f;
inline constexpr int kOutOfSpectrumIndex = signal::kSpectrumColourCount - 1;  // 2590
// The strip's file name in the program folder; a BMP picture at least
// 2590 pixels wide whose top row runs from 400 nm (left) towards 800 nm.
inline constexpr char kSpectrumStripFile[] = "resc0001.uo";

// round((lambda - 400) / kLambdaStep), halves to even, for 400 <= lambda <= 800
// (the quotient taken in double from the two floats); any other lambda,
// NaN included, gives kOutOfSpectrumIndex. 800 nm gives it too.
int SpectrumColourIndex(float lambdaNm);

// Entry `index` as an Rgb; an index outside the table gives black.
Rgb SpectrumRgb(const SpectrumColourTable& colours, int index);

// Reads kSpectrumStripFile from `folder`: entry x (x = 0..2589) is the colour
// of pixel (x, 0), the last entry black. A missing or unreadable file, or one
// narrower than 2590 pixels, leaves every entry black and returns false.
bool LoadSpectrumColours(const std::string& folder, SpectrumColourTable& colours);

}  // namespace rovanel::display
