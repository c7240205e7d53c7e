#include "gui/main_view.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <type_traits>

#include "app/control_table.h"
#include "display/image_io.h"
#include "gui/dialog_views.h"
#include "gui/elided_label.h"
#include "gui/flow_layout.h"
#include "gui/gauge_window.h"
#include "gui/plot_widget.h"

namespace rovanel::gui {

namespace {
QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

}  // namespace

PreviewBar::PreviewBar(const app::TFp& fp, QWidget* parent) : QWidget(parent), fp_(fp) {
  setObjectName("visubackbar");
  setAttribute(Qt::WA_OpaquePaintEvent);  // nothing under it to paint first
  setFixedSize(fp.PreviewBack().width, fp.PreviewBack().height);
}

int PreviewBar::FrontLeft() const {
  return fp_.PreviewFront().left - fp_.PreviewBack().left;
}

void PreviewBar::Refresh() {
  if (FrontLeft() != shownLeft_ || fp_.PreviewFront().width != shownWidth_) update();
}

void PreviewBar::paintEvent(QPaintEvent*) {
  // The whole curve in navy, the part shown on top of it.
  shownLeft_ = FrontLeft();
  shownWidth_ = fp_.PreviewFront().width;
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0, 0, 128));
  painter.fillRect(QRect(shownLeft_, 0, shownWidth_, height()), QColor(0, 128, 255));
}

MainView::MainView(app::Box& box) : fp_(box, *this) {
  setObjectName("Fp");
  // Compact buttons in the tool rows.
  setStyleSheet(QStringLiteral("#toolarea QToolButton { padding: 1px 3px; }"));
  resize(DefaultSize());

  // The tool buttons in rows that wrap when the window narrows, so none
  // hides behind an overflow button; then the plot and its read-outs on the
  // left, the panels of the current experiment in a column on the right,
  // which scrolls only when the window is really small.
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(4, 2, 4, 4);
  outer->setSpacing(4);
  auto* toolArea = new QWidget(central);
  toolArea->setObjectName("toolarea");
  QFont small = toolArea->font();
  small.setPointSize(8);
  toolArea->setFont(small);
  auto* toolFlow = new FlowLayout(toolArea, 2);
  toolFlow->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(toolArea);
  auto* body = new QHBoxLayout;
  body->setSpacing(4);
  outer->addLayout(body, 1);
  auto* column = new QVBoxLayout;
  body->addLayout(column, 1);
  auto* panels = new QWidget;
  auto* side = new QVBoxLayout(panels);
  side->setContentsMargins(0, 0, 0, 0);
  side->setSpacing(2);
  auto* sideScroll = new QScrollArea(central);
  sideScroll->setObjectName("panels");
  sideScroll->setWidget(panels);
  sideScroll->setWidgetResizable(true);
  sideScroll->setFrameShape(QFrame::NoFrame);
  sideScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Wide enough for the panels' longest rows, and no wider.
  sideScroll->setMinimumWidth(150);
  sideScroll->setMaximumWidth(250);
  sideScroll->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  body->addWidget(sideScroll, 0);
  QFont panelFont = panels->font();
  panelFont.setPointSize(8);
  panels->setFont(panelFont);
  plot_ = new PlotWidget(fp_, central);
  column->addWidget(plot_, 1);
  // Under the plot: the scroll bar and the preview of the part shown.
  auto* scrollRow = new QHBoxLayout;
  deplacement_ = new QScrollBar(Qt::Horizontal, central);
  deplacement_->setObjectName("deplacement");
  connect(deplacement_, &QScrollBar::actionTriggered, this, [this](int) {
    // The slider's new position is known only after the action: read it then.
    QTimer::singleShot(0, this, [this] {
      if (deplacement_->value() != fp_.PlotScroll().position) {
        fp_.deplacementScroll(deplacement_->value());
      }
    });
  });
  scrollRow->addWidget(deplacement_, 1);
  preview_ = new PreviewBar(fp_, central);
  scrollRow->addWidget(preview_);
  column->addLayout(scrollRow);
  auto* row = new QHBoxLayout;
  column->addLayout(row);
  // The measuring tools that read the plot sit right under it.
  auto* below = new QHBoxLayout;
  below->setSpacing(4);
  column->addLayout(below);

  // Every widget as the control table lists it: tool buttons, menu items,
  // group boxes of the side panel with their buttons and texts, and the
  // text panels under the plot.
  std::map<std::string_view, QMenu*> menus;
  std::string_view toolRow;
  // A group box: a row of buttons, then its texts one under the other.
  // Under the plot, the texts go in columns of three.
  std::map<std::string_view, QVBoxLayout*> groupTexts;
  std::map<std::string_view, QGridLayout*> groupGrid;
  std::map<std::string_view, int> groupTextCount;
  std::map<std::string_view, FlowLayout*> groupButtons;
  for (const app::ControlSpec& spec : app::ControlTable()) {
    const std::string name(spec.name);
    switch (spec.place) {
      case app::Place::Tool: {
        // A thin line between the groups of tools (files, view, the
        // experiments, the sensitivity).
        if (spec.parent != toolRow && toolFlow->count() > 0) {
          auto* line = new QFrame(toolArea);
          line->setFrameShape(QFrame::VLine);
          line->setFrameShadow(QFrame::Sunken);
          line->setFixedHeight(18);
          toolFlow->addWidget(line);
        }
        toolRow = spec.parent;
        QToolButton* button = AddButton(name, spec.toggle);
        button->setParent(toolArea);
        toolFlow->addWidget(button);
        break;
      }
      case app::Place::Menu:
      case app::Place::Check: {
        QMenu*& menu = menus[spec.parent];
        if (menu == nullptr) {
          menu = menuBar()->addMenu(Q(spec.parent));
          menu->setObjectName(Q(spec.parent));
          menus_[std::string(spec.parent)] = menu;
        }
        QAction* action = AddAction(menu, name, spec.place == app::Place::Check);
        if (!spec.shortcut.empty()) action->setShortcut(QKeySequence(Q(spec.shortcut)));
        break;
      }
      case app::Place::Submenu: {
        QMenu* parent = menus.at(spec.parent);
        QMenu*& menu = menus[spec.caption];
        menu = parent->addMenu(Q(spec.caption));
        menu->setObjectName(Q(spec.name));
        menus_[std::string(spec.caption)] = menu;
        break;
      }
      case app::Place::Group: {
        const bool underPlot = spec.parent == "below";
        auto* group = new QGroupBox(underPlot ? central : panels);
        group->setObjectName(Q(spec.name));
        group->setFont(panelFont);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(1);
        auto* buttons = new FlowLayout;
        texts->addLayout(buttons);
        groupTexts[spec.name] = texts;
        groupButtons[spec.name] = buttons;
        if (underPlot) {
          // Buttons on the left, the read-outs beside them.
          auto* across = new QHBoxLayout(group);
          across->setContentsMargins(4, 0, 4, 2);
          auto* grid = new QGridLayout;
          grid->setHorizontalSpacing(10);
          grid->setVerticalSpacing(0);
          across->addLayout(texts);
          across->addLayout(grid, 1);
          groupGrid[spec.name] = grid;
          below->addWidget(group, 1, Qt::AlignTop);
        } else {
          group->setLayout(texts);
          texts->setContentsMargins(4, 0, 4, 2);
          side->addWidget(group);
        }
        groups_[name] = group;
        break;
      }
      case app::Place::Button:
        groupButtons.at(spec.parent)->addWidget(AddButton(name, spec.toggle));
        break;
      case app::Place::Edit: {
        // The model reads the text and the keys; Enter runs the handler.
        auto* edit = new QLineEdit(panels);
        edit->setObjectName(Q(spec.name));
        // A wavelength takes a few more characters than a duration.
        const bool wide = name == "spLbd";
        edit->setMaxLength(wide ? 8 : 5);
        edit->setFixedWidth(wide ? 60 : 44);
        if (wide) edit->setValidator(new QRegularExpressionValidator(kWavelengthText, edit));
        connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
          fp_.TypeText(name, text.toStdString());
        });
        connect(edit, &QLineEdit::returnPressed, this, [this, name, edit] {
          Press(name);
          // The next reference's wavelength is typed over the old one.
          if (name == "spLbd") edit->selectAll();
        });
        groupButtons.at(spec.parent)->addWidget(edit);
        edits_[name] = edit;
        break;
      }
      case app::Place::Hold: {
        // Acts while held down: the model loops until the release arrives.
        QToolButton* panel = AddButton(name, false);
        disconnect(panel, &QToolButton::clicked, this, nullptr);
        connect(panel, &QToolButton::pressed, this, [this, name] {
          fp_.Hold(name, true);
        });
        connect(panel, &QToolButton::released, this, [this, name] {
          fp_.Hold(name, false);
        });
        groupButtons.at(spec.parent)->addWidget(panel);
        break;
      }
      case app::Place::HScroll:
      case app::Place::VScroll:
        AddScrollBar(name, spec.place == app::Place::VScroll, panels, groupButtons.at(spec.parent),
                     groupTexts.at(spec.parent));
        break;
      case app::Place::Text:
      case app::Place::Label: {
        const bool inGroup = spec.place == app::Place::Text;
        // A long text (the curve folder) is cut in its middle rather than
        // widen the window.
        auto* label =
            name == "FileNom" ? new ElidedLabel(central) : new QLabel(inGroup ? panels : central);
        label->setObjectName(Q(spec.name));
        // Short values framed; texts take the room left.
        // Only a value that can be changed is framed like a field (the
        // sensitivity); a legend ("Y") is plain text.
        const bool value = !inGroup && spec.set != nullptr;
        if (value) {
          label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
          label->setMinimumWidth(28);
          label->setAlignment(Qt::AlignCenter);
        }
        if (inGroup && groupGrid.count(spec.parent) != 0) {
          const int k = groupTextCount[spec.parent]++;
          groupGrid.at(spec.parent)->addWidget(label, k % 3, k / 3);
          // Room for the longest read-out, kept while the pair is off: the
          // box neither clips a value nor shifts when a pair comes on.
          label->setMinimumWidth(label->fontMetrics().horizontalAdvance(
              QStringLiteral("|X1-X2| = 888888.88µm ")));
          QSizePolicy keep = label->sizePolicy();
          keep.setRetainSizeWhenHidden(true);
          label->setSizePolicy(keep);
        } else if (inGroup && (spec.parent == "spectro1" || spec.parent == "int1")) {
          // The calibration's and the simulation's values sit in the row,
          // beside the buttons they go with.
          groupButtons.at(spec.parent)->addWidget(label);
        } else if (inGroup) {
          label->setWordWrap(true);
          groupTexts.at(spec.parent)->addWidget(label);
        } else {
          if (name == "FileNom") label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
          row->addWidget(label, value ? 0 : 1);
        }
        labels_[name] = label;
        break;
      }
      case app::Place::None:
        break;
    }
  }
  side->addStretch(1);
  AttachLampLines(buttons_.at("spLines"));
  AttachRecentFiles();
  // One drawing style at a time: radio marks, not check marks.
  auto* styles = new QActionGroup(this);
  for (const char* style : {"Vecteurs1", "Pics1", "Points1"}) styles->addAction(actions_.at(style));
  if (box.Simulated()) BuildSceneMenu();
  BuildPlotScaleMenu();
  setCentralWidget(central);
  statusBar()->setObjectName("status");

  gauge_ = new GaugeWindow(fp_.Gauge(), [this] { fp_.CancelGauge(); }, this);
  setWindowTitle(Q(fp_.WindowTitle()));
}

void DrawOnOneThread() {
  QThreadPool::globalInstance()->setMaxThreadCount(1);
}

MainView::~MainView() = default;

QToolButton* MainView::AddButton(const std::string& name, bool toggle) {
  auto* button = new QToolButton(this);
  button->setObjectName(Q(name));
  button->setCheckable(toggle);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
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
  QMenu* menu = menuBar()->addMenu(QString());
  menu->setObjectName("scene");
  menus_["ID_MIT_SIM_Scene"] = menu;
  auto* group = new QActionGroup(this);
  auto* bench = fp_.GetBox().Bench();
  for (std::string_view name : device::sim::SceneNames()) {
    QAction* action = menu->addAction(QString());
    sceneActions_["ID_MIT_SIM_" + std::string(name)] = action;
    action->setCheckable(true);
    const auto scene = *device::sim::SceneFromName(name);
    action->setChecked(bench->GetScene() == scene);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [bench, scene] { bench->SetScene(scene); });
  }
}

void MainView::Press(const std::string& name) {
  fp_.Click(name);  // the model says what changed
}

void MainView::Sync() {
  Changed(app::kChangedAll);
}

void MainView::Changed(unsigned what) {
  // A text whose key the dictionary lacks shows in red.
  auto mark = [](QWidget* widget, const app::Control& c) {
    const QString style = c.marked ? QStringLiteral("color: red") : QString();
    if (widget->styleSheet() != style) widget->setStyleSheet(style);
  };
  auto apply = [&mark](auto* widget, const app::Control& c) {
    if constexpr (std::is_base_of_v<QWidget, std::remove_pointer_t<decltype(widget)>>)
      mark(widget, c);
    widget->setText(Q(c.caption));
    widget->setToolTip(Q(c.hint));
    widget->setEnabled(c.enabled);
    widget->setVisible(c.visible);
    if (widget->isCheckable()) widget->setChecked(c.down);
  };
  const app::Tools& tools = fp_.Controls();
  if (what & app::kChangedControls) {
    FollowLanguage();
    for (auto& [name, button] : buttons_) apply(button, *tools.Find(name));
    for (auto& [name, action] : actions_) apply(action, *tools.Find(name));
    for (auto& [name, group] : groups_) {
      const app::Control& c = *tools.Find(name);
      mark(group, c);
      group->setTitle(Q(c.caption));
      group->setToolTip(Q(c.hint));
      group->setVisible(c.visible);
    }
    for (auto& [name, edit] : edits_) {
      const app::Control& c = *tools.Find(name);
      if (edit->text().toStdString() != c.caption) edit->setText(Q(c.caption));
      edit->setEnabled(c.enabled);
      edit->setVisible(c.visible);
      edit->setToolTip(Q(c.hint));
    }
  }
  if (what & app::kChangedScrollBars) {
    {
      const QSignalBlocker quiet(deplacement_);
      deplacement_->setRange(0, std::max(0, fp_.PlotScroll().max));
      deplacement_->setPageStep(fp_.PlotScroll().largeChange);
      deplacement_->setSingleStep(fp_.PlotScroll().smallChange);
      deplacement_->setValue(fp_.PlotScroll().position);
    }
    preview_->Refresh();
    SyncScrollBars();
  }
  if (what & app::kChangedTitle) {
    for (auto& [key, menu] : menus_) menu->setTitle(Q(fp_.Text(key)));
    for (auto& [key, action] : sceneActions_) action->setText(Q(fp_.Text(key)));
    for (auto& [key, action] : plotScaleActions_) action->setText(Q(fp_.Text(key)));
    setWindowTitle(Q(fp_.WindowTitle()));
    if (gauge_ != nullptr) gauge_->SetCancelText(Q(fp_.Text("ID_BTN_BAS_Annuler")));
  }
  if (what & app::kChangedCaptions) {
    for (auto& [name, label] : labels_) {
      const app::Control& c = *tools.Find(name);
      mark(label, c);
      label->setText(Q(c.caption));
      label->setToolTip(Q(c.hint));
      label->setVisible(c.visible);
    }
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

QSize MainView::DefaultSize() {
  // Room for the plot and the panels, within the screen's free area.
  QSize size(1100, 720);
  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr)
    size = size.boundedTo(screen->availableGeometry().size());
  return size;
}

int MainView::PlotScale() const {
  return plot_->Scale();
}

void MainView::SetPlotScale(int scale) {
  plot_->SetScale(scale);
  const std::string key = "ID_MIT_PLT_" + std::to_string(plot_->Scale());
  for (auto& [k, action] : plotScaleActions_) action->setChecked(k == key);
}

void MainView::BuildPlotScaleMenu() {
  QMenu* view = menus_.count("ID_MIT_BAS_Affichage") != 0 ? menus_.at("ID_MIT_BAS_Affichage")
                                                          : menuBar()->addMenu(QString());
  view->addSeparator();
  auto* group = new QActionGroup(this);
  for (int scale = 0; scale <= 3; ++scale) {
    QAction* action = view->addAction(QString());
    action->setObjectName(QStringLiteral("plotScale%1").arg(scale));
    action->setCheckable(true);
    action->setChecked(scale == 0);
    group->addAction(action);
    plotScaleActions_["ID_MIT_PLT_" + std::to_string(scale)] = action;
    connect(action, &QAction::triggered, this, [this, scale] { SetPlotScale(scale); });
  }
}

void MainView::PictureChanged() {
  plot_->Refresh();
  if (preview_ != nullptr) preview_->Refresh();
}

bool MainView::eventFilter(QObject* watched, QEvent* event) {
  if (ScrollBarEvent(watched, event)) return false;
  return QMainWindow::eventFilter(watched, event);
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
  if (!fp_.CanClose()) {
    closeRequested_ = false;
    event->ignore();
    return;
  }
  if (keepSettings_) KeepRecentFiles();
  fp_.FormClose();
  gauge_->hide();
  event->accept();
}

}  // namespace rovanel::gui
