// The window's clipboard: the data copied as text, the plot as a picture.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "gui/main_view.h"
#include "gui/plot_widget.h"

namespace rovanel::gui {

void MainView::CopyText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

bool MainView::CopyPlot() {
  // The plot as drawn at its size and the screen's resolution.
  const QImage picture = plot_->grab().toImage();
  QGuiApplication::clipboard()->setImage(picture);
  return !picture.isNull();
}

}  // namespace rovanel::gui
