#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <sstream>

#include "app/script/action_runner.h"
#include "display/gauge_picture.h"
#include "display/image_io.h"
#include "gui/gauge_window.h"
#include "gui/help_window.h"
#include "gui/main_view.h"
#include "gui/plot_widget.h"
#include "gui/window_settings.h"

namespace rovanel::gui {
namespace {

// One application for the whole run, never destroyed: widgets' statics may
// outlive any order of destruction at exit.
QApplication& App() {
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  static QApplication* app = QCoreApplication::instance()
                                 ? static_cast<QApplication*>(QCoreApplication::instance())
                                 : new QApplication(argc, argv);
  return *app;
}

struct View : ::testing::Test {
  device::ManualClock clock;
  std::unique_ptr<app::Box> box;
  std::unique_ptr<MainView> view;

  void SetUp() override {
    App();
    app::BoxOptions options;
    options.kind = app::BoxKind::Sim;
    box = std::make_unique<app::Box>(options, clock);
    view = std::make_unique<MainView>(*box);
    view->Model().SetForcedLanguage(2);
    view->Model().FormCreate();
    view->Sync();
    view->show();
    view->Model().FormShow();
    view->Sync();
  }
  // Closed as a scripted run closes it: the measurement is not asked about.
  void TearDown() override {
    view->Model().FormClose();
    view->close();
  }
};

TEST_F(View, TheWindowShowsTheSamePictureAsTheModel) {
  std::ostringstream out, err;
  script::ActionRunner runner(view->Model(), out, err);
  ASSERT_TRUE(runner.RunAll({"click:acquisition"})) << err.str();
  view->Sync();
  QApplication::processEvents();

  // Pixels x 1: the model's picture as it is, from the plot's corner.
  view->SetPlotScale(1);
  QApplication::processEvents();
  auto* ecran = view->findChild<PlotWidget*>("ecran");
  ASSERT_NE(ecran, nullptr);
  EXPECT_GE(ecran->width(), 512);
  EXPECT_GE(ecran->height(), 256);
  const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint at = ecran->mapTo(view.get(), QPoint(0, 0));
  const QImage shown = shot.copy(QRect(at, QSize(512, 256)));
  EXPECT_EQ(shown, display::ToQImage(view->Model().Picture()));
}

// The fitted plot as the window's backing store holds it, where the plot
// is painted into straight, against the plot drawn apart (a grab draws it
// into an image of its own): the same after every kind of change, and
// nothing left of what the store held before (the band's area is not
// filled first).
TEST_F(View, TheFittedPlotOnScreenIsThePlotDrawnApart) {
  auto* ecran = view->findChild<PlotWidget*>("ecran");
  ASSERT_NE(ecran, nullptr);
  std::ostringstream out, err;
  script::ActionRunner runner(view->Model(), out, err);
  const auto onScreen = [&] {
    QPaintDevice* store = view->backingStore()->paintDevice();
    EXPECT_EQ(store->devType(), QInternal::Image);
    auto* image = static_cast<QImage*>(store);
    const QRect at(ecran->mapTo(view.get(), QPoint(0, 0)), ecran->size());
    QPainter(image).fillRect(at, Qt::magenta);
    ecran->repaint();
    return image->copy(at).convertToFormat(QImage::Format_RGB32);
  };
  const auto apart = [&] { return ecran->grab().toImage().convertToFormat(QImage::Format_RGB32); };
  const char* const steps[] = {"click:acquisition", "click:acquisition", "click:ZoomPlus",
                               "click:realgris",    "click:cursv",       "click:acquisition"};
  for (const char* step : steps) {
    ASSERT_TRUE(runner.RunAll({step})) << err.str();
    view->Sync();
    QApplication::processEvents();
    EXPECT_EQ(onScreen(), apart()) << "after " << step;
  }
}

// Counts the paints of a widget.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Pictures faster than the screen shows them are drawn once a screen
// period, and the last one is never left undrawn.
TEST_F(View, PicturesComingFasterThanTheScreenAreDrawnOncePerPeriodAndTheLastIsDrawn) {
  auto* ecran = view->findChild<PlotWidget*>("ecran");
  ASSERT_NE(ecran, nullptr);
  PaintCounter counter;
  ecran->installEventFilter(&counter);
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 100) QApplication::processEvents();
  counter.paints = 0;
  ecran->Refresh();
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
  for (int k = 0; k < 5; ++k) {
    ecran->Refresh();  // at once after a paint: held to the period's end
    QApplication::processEvents();
  }
  EXPECT_EQ(counter.paints, 1);
  QElapsedTimer wait;
  wait.start();
  while (counter.paints < 2 && wait.elapsed() < 500) QApplication::processEvents();
  EXPECT_EQ(counter.paints, 2);
  ecran->removeEventFilter(&counter);
}

// The bar under the plot, which shows the part of the curve in view, is
// repainted when that part moves, not for every new picture.
TEST_F(View, ThePreviewBarIsRepaintedWhenTheViewMovesOnly) {
  auto* bar = view->findChild<QWidget*>("visubackbar");
  ASSERT_NE(bar, nullptr);
  std::ostringstream out, err;
  script::ActionRunner runner(view->Model(), out, err);
  ASSERT_TRUE(runner.RunAll({"click:acquisition"})) << err.str();
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 100) QApplication::processEvents();
  PaintCounter counter;
  bar->installEventFilter(&counter);
  ASSERT_TRUE(runner.RunAll({"click:acquisition", "click:acquisition"})) << err.str();
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  ASSERT_TRUE(runner.RunAll({"click:ZoomPlus"})) << err.str();
  QApplication::processEvents();
  EXPECT_GE(counter.paints, 1);
  bar->removeEventFilter(&counter);
}

// Answers the question box that the next modal loop shows with `button`.
void AnswerNextQuestion(const QString& button) {
  QTimer::singleShot(0, [button] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w))
        for (QAbstractButton* b : box->buttons())
          if (b->text() == button) b->click();
  });
}

TEST_F(View, QuittingANewMeasurementAsksAndCancelKeepsTheWindowOpen) {
  std::ostringstream out, err;
  script::ActionRunner runner(view->Model(), out, err);
  ASSERT_TRUE(runner.RunAll({"click:acquisition"})) << err.str();
  EXPECT_EQ(view->windowTitle().left(1), "*");
  AnswerNextQuestion("Cancel");
  EXPECT_FALSE(view->close());
  EXPECT_TRUE(view->isVisible());
  AnswerNextQuestion("Quit without saving");
  EXPECT_TRUE(view->close());
}

TEST_F(View, CopyPlotPutsThePlotAsShownOnTheClipboard) {
  std::ostringstream out, err;
  script::ActionRunner runner(view->Model(), out, err);
  ASSERT_TRUE(runner.RunAll({"click:acquisition", "click:CopierCourbe1"})) << err.str();
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), view->Plot()->size());
}

// A press, a move and a release of the left button at widget points.
void Drag(QWidget& w, QPointF from, QPointF to) {
  QMouseEvent press(QEvent::MouseButtonPress, from, w.mapToGlobal(from), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &press);
  QMouseEvent move(QEvent::MouseMove, to, w.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&w, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, w.mapToGlobal(to), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
}

TEST_F(View, CursorsFollowTheMouseAtAnySizeAndTheWheelZooms) {
  app::TFp& fp = view->Model();
  fp.Click("cursv");
  PlotWidget plot(fp, nullptr);
  // Fitted at an odd size: X1 dragged onto where column 250 is drawn.
  plot.resize(1029, 517);
  plot.show();
  QApplication::processEvents();
  const display::PageFrame frame = plot.Frame();
  EXPECT_GT(frame.width, 900);
  const display::PagePoint from = display::PlotToDevice(frame, 100.5, 60);
  const display::PagePoint to = display::PlotToDevice(frame, 250.5, 60);
  Drag(plot, {from.x, from.y}, {to.x, to.y});
  EXPECT_EQ(fp.Plot().Cursor().x1, 250);
  // Pixels x 2: two pixels a column.
  plot.SetScale(2);
  Drag(plot, {2 * 250 + 1, 121}, {2 * 330 + 1.9, 121});
  EXPECT_EQ(fp.Plot().Cursor().x1, 330);
  EXPECT_EQ(fp.Plot().Cursor().x2, 300);
  // One notch of the wheel: one zoom step in.
  const int step = fp.Plot().ZoomStep();
  QWheelEvent wheel({200, 100}, plot.mapToGlobal(QPointF(200, 100)), {}, {0, 120}, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&plot, &wheel);
  EXPECT_EQ(fp.Plot().ZoomStep(), step - 1);
}

TEST_F(View, SizePositionAndPlotScaleComeBackNextRun) {
  QTemporaryDir home;
  const QByteArray before = qgetenv("ROVANEL_HOME");
  qputenv("ROVANEL_HOME", home.path().toUtf8());
  EXPECT_EQ(WindowSettingsFile(), home.filePath("rovanel.ini"));
  view->resize(900, 640);
  view->SetPlotScale(2);
  SaveWindow(*view, std::nullopt);
  MainView next(*box);
  RestoreWindow(next, std::nullopt);
  EXPECT_EQ(next.size(), QSize(900, 640));
  EXPECT_EQ(next.PlotScale(), 2);
  // The command line's scale wins for its run and is not kept.
  RestoreWindow(next, 0);
  EXPECT_EQ(next.PlotScale(), 0);
  SaveWindow(next, 0);
  MainView third(*box);
  RestoreWindow(third, std::nullopt);
  EXPECT_EQ(third.PlotScale(), 2);
  qputenv("ROVANEL_HOME", before);
}

TEST_F(View, QtsOwnDialogsFollowTheLanguageMenu) {
  // Qt's own texts, as its print and file dialogs and message boxes show them.
  // The Language menu keeps its choice in the configuration: a folder of
  // this test's own, so the other tests' language stays as it was.
  QTemporaryDir home;
  view->Model().SetUserDir(home.path().toStdString() + "/");
  const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
  EXPECT_EQ(cancel(), "Cancel");
  view->Model().Click("Deutsch1");
  view->Sync();
  // The gauge's own Cancel button too.
  EXPECT_EQ(view->findChild<QPushButton*>("Annuler")->text(), "Abbrechen");
  if (cancel() == "Cancel") GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
  EXPECT_EQ(cancel(), "Abbrechen");
  view->Model().Click("Francais1");
  view->Sync();
  EXPECT_EQ(cancel(), "Annuler");
  view->Model().Click("English1");
  view->Sync();
  EXPECT_EQ(cancel(), "Cancel");
}

TEST_F(View, ControlsCarryTheComponentNamesAndFollowTheModel) {
  for (const char* name : {"acquisition", "superposition", "suppression", "moyenne"})
    EXPECT_NE(view->findChild<QToolButton*>(name), nullptr) << name;
  auto* acquire = view->findChild<QAction*>("Acqurir1");
  ASSERT_NE(acquire, nullptr);
  EXPECT_EQ(acquire->shortcut(), QKeySequence(Qt::Key_F8));
  EXPECT_EQ(acquire->text(), "Acquire");
  EXPECT_TRUE(view->windowTitle().contains("simulated"));

  auto* superposition = view->findChild<QToolButton*>("superposition");
  superposition->click();
  EXPECT_TRUE(view->Model().Controls().superposition.down);
  EXPECT_TRUE(superposition->isChecked());
  EXPECT_EQ(superposition->toolTip(),
            "When down, each new acquisition is added to the curves shown instead of replacing "
            "the last one.");

  auto* points = view->findChild<QAction*>("Points1");
  points->trigger();
  EXPECT_EQ(view->Model().Plot().Style(), display::TraceStyle::Points);
  EXPECT_TRUE(points->isChecked());
  EXPECT_FALSE(view->findChild<QAction*>("Pics1")->isChecked());
}

TEST_F(View, ADialogsHelpButtonOpensTheContentsInAWindowOfThatDialog) {
  // A window of the main window would be blocked by the dialog's modality.
  bool ownedByTheDialog = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    modal->findChild<QPushButton*>("hlpfeat")->click();
    // HelpWindow has no meta-object of its own: find it by its C++ type.
    for (QWidget* child : modal->findChildren<QWidget*>())
      if (auto* help = dynamic_cast<HelpWindow*>(child))
        ownedByTheDialog = ownedByTheDialog || help->isVisible();
    modal->close();
  });
  view->Model().Click("FiltrageMoyennage1");
  EXPECT_TRUE(ownedByTheDialog);
}

TEST_F(View, QuitClosesTheWindowAndTheBox) {
  view->findChild<QAction*>("Quitter1")->trigger();
  EXPECT_TRUE(view->CloseRequested());
  EXPECT_TRUE(view->Model().Closed());
  EXPECT_FALSE(box->Link().UsbOpened);
}

TEST(Gauge, TheWindowShowsTheModelsTextsBarAndCancelButton) {
  App();
  app::TPBar model;
  GaugeWindow window(model, [&model] { model.CancelClick(); }, nullptr);
  model.Changed = [&] { window.Render(); };
  model.MinValue = 0;
  model.MaxValue = 4;
  model.ProgDisp = true;
  model.CancelVisible = true;
  model.Show();
  model.SetLigne1("first");
  model.SetLigne2("second");
  model.SetPosition(1);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.size(), QSize(300, 100));
  EXPECT_EQ(window.findChild<QLabel*>("Ligne1")->text(), "first");
  auto* cancel = window.findChild<QPushButton*>("Annuler");
  ASSERT_NE(cancel, nullptr);
  EXPECT_TRUE(cancel->isVisible());
  EXPECT_EQ(cancel->geometry(), QRect(100, 73, 100, 20));
  const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage bar = display::RenderGaugeBar(model.BarWidth(), model.BarHeight(), 25)
                         .convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.copy(QRect(11, 41, 278, 25)), bar);
  int cancels = 0;
  model.SetOnCancel([&] { ++cancels; });
  cancel->click();
  EXPECT_EQ(cancels, 1);
  model.Hide();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace rovanel::gui
