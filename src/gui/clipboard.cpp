// The window's clipboard: the data copied as text.
#include <QClipboard>
#include <QGuiApplication>

#include "gui/main_view.h"

namespace rovanel::gui {

void MainView::CopyText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace rovanel::gui
