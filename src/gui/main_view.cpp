#include "gui/main_view.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/control_table.h"
#include "display/image_io.h"
#include "gui/gauge_window.h"

namespace rovanel::gui {

namespace {
QString Q(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

MainView::MainView(app::Box& box) : fp_(box, *this) {
  setObjectName("Fp");
  move(0, 0);
  resize(640, 480);

  auto* toolbar = addToolBar(QStringLiteral("tools"));
  toolbar->setObjectName("tools");
  toolbar->setMovable(false);
  QFont small = toolbar->font();
  small.setPointSize(8);
  toolbar->setFont(small);
  // Tool buttons and menu items, as the control table lists them.
  std::map<std::string_view, QMenu*> menus;
  for (const app::ControlSpec& spec : app::ControlTable()) {
    const std::string name(spec.name);
    if (spec.place == app::Place::Tool) AddButton(name, spec.toggle);
    if (spec.place != app::Place::Menu && spec.place != app::Place::Check) continue;
    QMenu*& menu = menus[spec.menu];
    if (menu == nullptr) {
      menu = menuBar()->addMenu(QString::fromUtf8(spec.menu.data(), int(spec.menu.size())));
      menu->setObjectName(QString::fromUtf8(spec.menu.data(), int(spec.menu.size())));
    }
    QAction* action = AddAction(menu, name, spec.place == app::Place::Check);
    if (!spec.shortcut.empty())
      action->setShortcut(
          QKeySequence(QString::fromUtf8(spec.shortcut.data(), int(spec.shortcut.size()))));
  }
  if (box.Simulated()) BuildSceneMenu();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  ecran_ = new QLabel(central);
  ecran_->setObjectName("ecran");
  ecran_->setFixedSize(app::kScreenWidth, app::kScreenHeight);
  column->addWidget(ecran_, 0, Qt::AlignLeft | Qt::AlignTop);
  // Text panels under the plot: short values framed, texts stretched.
  auto* row = new QHBoxLayout;
  for (const app::ControlSpec& spec : app::ControlTable()) {
    if (spec.place != app::Place::Label) continue;
    auto* label = new QLabel(central);
    label->setObjectName(QString::fromUtf8(spec.name.data(), int(spec.name.size())));
    const bool value = !spec.caption.empty() && spec.caption.size() <= 2;
    if (value) {
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      label->setMinimumWidth(28);
      label->setAlignment(Qt::AlignCenter);
    }
    row->addWidget(label, value ? 0 : 1);
    labels_[std::string(spec.name)] = label;
  }
  column->addLayout(row);
  column->addStretch(1);
  setCentralWidget(central);
  statusBar()->setObjectName("status");

  gauge_ = new GaugeWindow(fp_.gjauge, this);
  setWindowTitle(Q(fp_.WindowTitle()));
}

MainView::~MainView() = default;

QToolButton* MainView::AddButton(const std::string& name, bool toggle) {
  auto* button = new QToolButton(this);
  button->setObjectName(Q(name));
  button->setCheckable(toggle);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  static_cast<QToolBar*>(findChild<QToolBar*>("tools"))->addWidget(button);
  connect(button, &QToolButton::clicked, this, [this, name] { Press(name); });
  buttons_[name] = button;
  return button;
}

QAction* MainView::AddAction(QMenu* menu, const std::string& name, bool checkable) {
  QAction* action = menu->addAction(QString());
  action->setObjectName(Q(name));
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, name] { Press(name); });
  actions_[name] = action;
  return action;
}

void MainView::BuildSceneMenu() {
  QMenu* menu = menuBar()->addMenu(tr("Scene"));
  menu->setObjectName("scene");
  auto* group = new QActionGroup(this);
  auto* bench = fp_.GetBox().Bench();
  for (std::string_view name : device::sim::SceneNames()) {
    QAction* action = menu->addAction(QString::fromUtf8(name.data(), int(name.size())));
    action->setCheckable(true);
    const auto scene = *device::sim::SceneFromName(name);
    action->setChecked(bench->GetScene() == scene);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [bench, scene] { bench->SetScene(scene); });
  }
}

void MainView::Press(const std::string& name) {
  fp_.Click(name);
  Sync();
}

void MainView::Sync() {
  auto apply = [](auto* widget, const app::Control& c) {
    widget->setText(Q(c.caption));
    widget->setToolTip(Q(c.hint));
    widget->setEnabled(c.enabled);
    widget->setVisible(c.visible);
    if (widget->isCheckable()) widget->setChecked(c.down);
  };
  for (auto& [name, button] : buttons_) apply(button, *fp_.tools.Find(name));
  for (auto& [name, action] : actions_) apply(action, *fp_.tools.Find(name));
  for (auto& [name, label] : labels_) {
    const app::Control& c = *fp_.tools.Find(name);
    label->setText(Q(c.caption));
    label->setToolTip(Q(c.hint));
    label->setVisible(c.visible);
  }
}

void MainView::ProcessMessages() {
  QApplication::processEvents();
}

void MainView::SetHourglass(bool on) {
  if (on) {
    if (hourglass_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (hourglass_ > 0 && --hourglass_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

void MainView::MessageBox(const std::string& text, app::MessageKind kind) {
  if (kind == app::MessageKind::Error)
    QMessageBox::critical(this, Q(app::kApplicationTitle), Q(text));
  else
    QMessageBox::information(this, Q(app::kApplicationTitle), Q(text));
}

void MainView::PictureChanged() {
  ecran_->setPixmap(QPixmap::fromImage(display::ToQImage(fp_.ecran)));
}

void MainView::GaugeChanged() {
  gauge_->Render();
}

void MainView::StatusText(const std::string& text) {
  statusBar()->showMessage(Q(text));
}

void MainView::CloseMainWindow() {
  closeRequested_ = true;
  close();
}

void MainView::closeEvent(QCloseEvent* event) {
  fp_.FormClose();
  gauge_->hide();
  event->accept();
}

}  // namespace rovanel::gui
