// Painting on a pool thread: the same pixels as painting here, a failure
// carried back to the caller, and no wait on itself when the caller is the
// pool's only thread.
#include <gtest/gtest.h>

#include <QImage>
#include <QSemaphore>
#include <QThreadPool>
#include <stdexcept>

#include "display/pooled_paint.h"
#include "gui/driving.h"

namespace rovanel::display {
namespace {

// Fills tall enough for Qt to hand their rows to the pool, a line, a text.
void Paint(QPainter& p) {
  p.fillRect(0, 0, 300, 400, Qt::white);
  p.fillRect(10, 5, 3, 380, QColor(20, 40, 200));
  p.setRenderHint(QPainter::Antialiasing);
  p.drawLine(QPointF(0.5, 399.5), QPointF(299.5, 0.5));
  p.drawText(QPointF(100, 200), QStringLiteral("25000"));
}

TEST(PaintInPool, SamePixelsFailuresBackAndNoWaitOnItself) {
  gui::EnsureApp();
  QImage here(300, 400, QImage::Format_RGB32), pooled = here.copy();
  {
    QPainter p(&here);
    Paint(p);
  }
  PaintInPool(pooled, Paint);
  EXPECT_EQ(pooled, here);

  EXPECT_THROW(PaintInPool(pooled, [](QPainter&) { throw std::runtime_error("out of memory"); }),
               std::runtime_error);

  // From a task of a one-thread pool: painted there and then, not queued
  // behind the task that waits for it.
  QThreadPool* pool = QThreadPool::globalInstance();
  const int threads = pool->maxThreadCount();
  pool->setMaxThreadCount(1);
  QImage inner(300, 400, QImage::Format_RGB32);
  QSemaphore done;
  pool->start([&] {
    PaintInPool(inner, Paint);
    done.release();
  });
  EXPECT_TRUE(done.tryAcquire(1, 10000));
  pool->setMaxThreadCount(threads);
  EXPECT_EQ(inner, here);
}

}  // namespace
}  // namespace rovanel::display
