// The main window's widgets of the simulation and the calibration: the
// scroll bars that move, scale and size the computed pattern, and the menu
// of lamp lines beside the wavelength entry.
#include <QLabel>
#include <QEvent>
#include <QLayout>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <cstdio>

#include "gui/main_view.h"

namespace rovanel::gui {

void MainView::AddScrollBar(const std::string& name, bool vertical, QWidget* parent,
                            QLayout* row, QLayout* column) {
  auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent);
  bar->setObjectName(QString::fromStdString(name));
  // What the bar moves, written beside it (the simulation's height and shift).
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromStdString(name + "Label"));
  scrollLabels_[name] = label;
  if (vertical) {
    bar->setFixedHeight(56);
    row->addWidget(label);
    row->addWidget(bar);
  } else {
    column->addWidget(label);
    column->addWidget(bar);
  }
  // Holding an arrow accelerates: each step doubles the next one.
  connect(bar, &QScrollBar::actionTriggered, this, [this, name](int action) {
    if (action == QAbstractSlider::SliderSingleStepAdd ||
        action == QAbstractSlider::SliderSingleStepSub)
      fp_.ScrollStep(name, false);
  });
  connect(bar, &QScrollBar::valueChanged, this, [this, name](int value) {
    fp_.ScrollTo(name, value);
  });
  bar->installEventFilter(this);
  scrolls_[name] = bar;
}

bool MainView::ScrollBarEvent(QObject* watched, QEvent* event) {
  for (auto& [name, bar] : scrolls_)
    if (bar == watched) {
      if (event->type() == QEvent::MouseButtonRelease) {
        fp_.ScrollStep(name, true);
        Changed(app::kChangedScrollBars);
      }
      return true;
    }
  return false;
}

void MainView::SyncScrollBars() {
  for (auto& [name, bar] : scrolls_) {
    const app::ScrollBar& s = *fp_.ScrollBarOf(name);
    const app::Control& c = *fp_.Controls().Find(name);
    const QSignalBlocker quiet(bar);
    bar->setRange(s.min, s.max);
    bar->setPageStep(s.largeChange);
    bar->setSingleStep(s.smallChange);
    bar->setValue(s.position);
    bar->setToolTip(QString::fromStdString(c.hint));
    bar->setVisible(c.visible && s.visible);
    bar->setEnabled(c.enabled);
    QLabel* label = scrollLabels_.at(name);
    label->setText(QString::fromStdString(c.caption));
    label->setVisible(c.visible && s.visible && !c.caption.empty());
  }
}

void MainView::AttachLampLines(QToolButton* button) {
  // One submenu per lamp, named by its element; choosing a line fills the
  // wavelength entry. The lines are read at start-up, after the window is
  // built: the menu is filled each time it opens.
  auto* menu = new QMenu(button);
  menu->setObjectName("spLinesMenu");
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillLampLines(menu); });
  button->setMenu(menu);
  button->setPopupMode(QToolButton::InstantPopup);
}

void MainView::FillLampLines(QMenu* menu) {
  menu->clear();
  std::map<std::string, QMenu*> lamps;
  for (const optics::LampLine& line : fp_.Lamps()) {
    QMenu*& lamp = lamps[line.lamp];
    if (lamp == nullptr) lamp = menu->addMenu(QString::fromStdString(line.lamp));
    char text[96];
    std::snprintf(text, sizeof text, "%.3f nm  %s", line.wavelengthNm, line.label.c_str());
    const double nm = line.wavelengthNm;
    lamp->addAction(QString::fromUtf8(text), this, [this, nm] { fp_.LampLineChosen(nm); });
  }
}

}  // namespace rovanel::gui
