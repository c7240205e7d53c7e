// A time series from the USB box: the sample count sent, then the wait for
// the whole series while the window lives, its gauge following the time.
#pragma once

#include <cstdint>
#include <span>

#include "acquisition/progress.h"
#include "device/board.h"
#include "device/clock.h"

namespace rovanel::acquisition {

// Asks the box for `points` samples taken every `integrationMs` and reads
// them into words[1..points] (`words` holds points + 1). Before the wait the
// gauge is told 0 and messages run once; during it the gauge is told the
// samples recorded so far (by the time passed) at each of the link's pumps,
// and a cancel seen after a pump gives the wait up with device::kCancelled.
// Returns the protocol's status.
device::Status AcquireSeriesUsb(device::Board& board, device::Clock& clock, std::int32_t points,
                                double integrationMs, std::span<std::uint16_t> words,
                                Progress& progress);

}  // namespace rovanel::acquisition
