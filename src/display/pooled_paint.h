// Painting an image on a thread of Qt's global pool. Qt's raster engine
// cuts every fill taller than about a hundred rows into tasks for that pool
// and waits for them, unless the painting thread is one of the pool's own:
// a plot with a dense curve drawn as bars made thousands of hand-offs (and
// as many sleeps and wake-ups) per paint. Painted from a pool thread, the
// fills run where they are, and a paint costs one hand-off.
#pragma once

#include <QImage>
#include <QPainter>
#include <functional>

namespace rovanel::display {

// Runs `paint` with a painter on `image` on a pool thread and waits for it.
// An exception thrown by `paint` comes out of this call.
void PaintInPool(QImage& image, const std::function<void(QPainter&)>& paint);

}  // namespace rovanel::display
