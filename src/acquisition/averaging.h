// An averaged acquisition: several frames read one after the other into one
// curve slot, with the window's gauge following and its Cancel answered.
#pragma once

#include <cstdint>
#include <span>

#include "acquisition/progress.h"
#include "acquisition/single.h"
#include "base/sizes.h"
#include "device/board.h"
#include "device/clock.h"

namespace rovanel::acquisition {

struct AverageResult {
  int added = 0;  // frames summed into the average
  bool cancelled = false;
};

// Reads `count` frames (at least one) into `slot`, each after the first
// following a busy pause of 10 + 5 * level ms, and leaves there the mean of
// the frames that arrived whole, to nearest with halves to even. Every frame
// is counted in `report`. After each frame the gauge is told its number, and
// after each but the first messages run; a cancel seen before a frame is
// added leaves that frame out
// and ends the run with the mean of the frames added so far. With no frame
// whole the slot keeps what the last one brought, as a single frame would.
AverageResult AcquireAverage(device::Board& board, device::Clock& clock,
                             std::span<std::uint8_t, kPixels> slot, int count, int level,
                             AcquisitionReport& report, Progress& progress);

}  // namespace rovanel::acquisition
