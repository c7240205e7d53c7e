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
  AddButton("acquisition", false);
  AddButton("superposition", true);
  AddButton("suppression", false);
  AddButton("moyenne", true);

  QMenu* fichier = menuBar()->addMenu(QStringLiteral("ID_MIT_BAS_Fichier"));
  AddAction(fichier, "Quitter1", false);
  QMenu* acquisition = menuBar()->addMenu(QStringLiteral("ID_MIT_BAS_Acquisition"));
  AddAction(acquisition, "Acqurir1", false)->setShortcut(QKeySequence(Qt::Key_F8));
  QMenu* affichage = menuBar()->addMenu(QStringLiteral("ID_MIT_BAS_Affichage"));
  auto* styles = new QActionGroup(this);
  for (const char* name : {"Vecteurs1", "Pics1", "Points1"})
    styles->addAction(AddAction(affichage, name, true));
  if (box.Simulated()) BuildSceneMenu();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  ecran_ = new QLabel(central);
  ecran_->setObjectName("ecran");
  ecran_->setFixedSize(app::kScreenWidth, app::kScreenHeight);
  column->addWidget(ecran_, 0, Qt::AlignLeft | Qt::AlignTop);
  auto* row = new QHBoxLayout;
  nivPotar_ = new QLabel(central);
  nivPotar_->setObjectName("NivPotar");
  nivPotar_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  nivPotar_->setMinimumWidth(28);
  nivPotar_->setAlignment(Qt::AlignCenter);
  row->addWidget(nivPotar_);
  fileNom_ = new QLabel(central);
  fileNom_->setObjectName("FileNom");
  row->addWidget(fileNom_, 1);
  column->addLayout(row);
  column->addStretch(1);
  setCentralWidget(central);
  statusBar()->setObjectName("status");

  gauge_ = new GaugeWindow(fp_.gjauge, this);
  setWindowTitle(Q(fp_.WindowTitle()));
}

MainView::~MainView() = default;

QToolButton* MainView::AddButton(const char* name, bool toggle) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setCheckable(toggle);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  static_cast<QToolBar*>(findChild<QToolBar*>("tools"))->addWidget(button);
  connect(button, &QToolButton::clicked, this, [this, n = std::string(name)] { Press(n); });
  buttons_[name] = button;
  return button;
}

QAction* MainView::AddAction(QMenu* menu, const char* name, bool checkable) {
  QAction* action = menu->addAction(QString());
  action->setObjectName(name);
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, n = std::string(name)] { Press(n); });
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
  nivPotar_->setText(Q(fp_.tools.NivPotar.caption));
  nivPotar_->setToolTip(Q(fp_.tools.NivPotar.hint));
  fileNom_->setText(Q(fp_.tools.FileNom.caption));
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
