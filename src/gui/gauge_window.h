// The progress gauge's small window, drawn from the TPBar model.
#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace rovanel::app {
class TPBar;
}

namespace rovanel::gui {

class GaugeWindow : public QDialog {
 public:
  GaugeWindow(const app::TPBar& model, std::function<void()> cancel, QWidget* parent);
  // Shows, hides and redraws the window after the model changed.
  void Render();
  // The Cancel button's text, in the window's language.
  void SetCancelText(const QString& text);

 private:
  const app::TPBar& model_;
  std::function<void()> onCancel_;
  QLabel* ligne1_;
  QLabel* ligne2_;
  QFrame* bevel_;
  QLabel* bar_;
  QPushButton* cancel_;
};

}  // namespace rovanel::gui
