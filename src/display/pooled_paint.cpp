#include "display/pooled_paint.h"

#include <QSemaphore>
#include <QThreadPool>
#include <exception>

namespace rovanel::display {

void PaintInPool(QImage& image, const std::function<void(QPainter&)>& paint) {
  QThreadPool* pool = QThreadPool::globalInstance();
  const auto run = [&] {
    QPainter painter(&image);
    paint(painter);
  };
  if (pool->contains(QThread::currentThread())) return run();
  QSemaphore done;
  std::exception_ptr failure;
  pool->start([&] {
    try {
      run();
    } catch (...) {
      failure = std::current_exception();
    }
    done.release();
  });
  done.acquire();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace rovanel::display
