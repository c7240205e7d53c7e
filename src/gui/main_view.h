// The main window's widgets: they show the model's state and forward the
// user's clicks to it. No behaviour lives here.
#pragma once

#include <QMainWindow>
#include <QTranslator>
#include <map>
#include <string>

#include "app/main_window.h"
#include "app/ui_port.h"

class QAction;
class QScrollBar;
class QGroupBox;
class QLineEdit;
class QLabel;
class QMenu;
class QLayout;
class QToolButton;

namespace rovanel::gui {

class GaugeWindow;
class HelpWindow;
class PlotWidget;

// The preview under the plot: the whole curve, and the part in view.
class PreviewBar : public QWidget {
 public:
  PreviewBar(const app::TFp& fp, QWidget* parent);
  // Repainted only when the part shown moved: the live view changes the
  // picture a hundred times a second, the view of it hardly ever, and each
  // repaint costs the window a flush to the display.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Where the part shown starts in the bar.
  int FrontLeft() const;

  const app::TFp& fp_;
  int shownLeft_ = -1, shownWidth_ = -1;  // the part drawn last
};

class MainView : public QMainWindow, public app::UiPort {
 public:
  explicit MainView(app::Box& box);
  ~MainView() override;

  app::TFp& Model() { return fp_; }
  bool CloseRequested() const { return closeRequested_; }
  // The window's settings (the recent files) are written when it closes;
  // scripted runs leave them alone.
  void KeepSettingsOnClose() { keepSettings_ = true; }

  // Renders every control from the model's state.
  void Sync();
  // Renders what the model says has changed (app::kChanged... bits).
  void Changed(unsigned what) override;

  // UiPort.
  void ProcessMessages() override;
  void SetHourglass(bool on) override;
  void MessageBox(const std::string& text, app::MessageKind kind) override;
  bool Confirm(const std::string& text) override;
  void PictureChanged() override;
  void GaugeChanged() override;
  void StatusText(const std::string& text) override;
  void CloseMainWindow() override;
  app::QuitChoice AskBeforeQuit(const std::string& text) override;
  bool RunModal(app::DialogModel& dialog) override;
  void Note(const std::string& text) override;
  // Opens the help window (main_view_help.cpp); a missing page is said in
  // a message box.
  void ShowHelp(const std::string& path, const std::string& note) override;
  // Printing (main_view_print.cpp).
  bool PrintPage(const app::PrintJob& job, const std::function<void()>& confirmed) override;
  void PreviewPage(const app::PrintJob& job) override;
  void CopyText(const std::string& text) override;  // clipboard.cpp
  bool CopyPlot() override;                          // clipboard.cpp
  // With ROVANEL_DIALOG_SHOTS set, grabs the next modal window as NAME.png
  // and closes it.
  void GrabNextModal(const QString& name, int delayMs);
  // How the plot is shown: 0 fitted to the window, 1..3 `ecran` at that
  // many pixels a plot pixel. The View menu's choice.
  void SetPlotScale(int scale);
  int PlotScale() const;
  PlotWidget* Plot() { return plot_; }
  // The size the window opens at on this screen when none is remembered.
  static QSize DefaultSize();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The side panels' scroll bars.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* AddButton(const std::string& name, bool toggle);
  QAction* AddAction(QMenu* menu, const std::string& name, bool checkable);
  void Press(const std::string& name);
  void BuildSceneMenu();
  // The plot's scale choices at the end of the View menu.
  void BuildPlotScaleMenu();
  // The simulation's bars and the lamp-line menu (optics_widgets.cpp).
  void AddScrollBar(const std::string& name, bool vertical, QWidget* parent, QLayout* row,
                    QLayout* column);
  void SyncScrollBars();
  // A bar let go ends its accelerated scroll; true when `watched` is a bar.
  bool ScrollBarEvent(QObject* watched, QEvent* event);
  void AttachLampLines(QToolButton* button);
  void FillLampLines(QMenu* menu);
  // The recent files: read at start, listed when the menu opens, kept at close.
  void AttachRecentFiles();
  void KeepRecentFiles();

  app::TFp fp_;
  PlotWidget* plot_ = nullptr;
  QScrollBar* deplacement_ = nullptr;
  PreviewBar* preview_ = nullptr;
  std::map<std::string, QAction*> plotScaleActions_;

  GaugeWindow* gauge_ = nullptr;
  std::map<std::string, QToolButton*> buttons_;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QLabel*> labels_;
  std::map<std::string, QGroupBox*> groups_;
  std::map<std::string, QLineEdit*> edits_;
  std::map<std::string, QScrollBar*> scrolls_;
  std::map<std::string, QLabel*> scrollLabels_;
  // Menu titles and scene items, by language key.
  std::map<std::string, QMenu*> menus_;
  std::map<std::string, QAction*> sceneActions_;
  QLabel* note_ = nullptr;
  HelpWindow* help_ = nullptr;
  // Qt's own dialogs (printing, files, message box buttons) in the
  // window's language (main_view_ports.cpp).
  void FollowLanguage();
  QTranslator qtTranslator_;
  int qtLanguage_ = 0;
  int hourglass_ = 0;
  bool closeRequested_ = false;
  bool keepSettings_ = false;
};

// Qt's raster engine hands large fills to its thread pool; for a window
// redrawn a hundred times a second the hand-over costs more than it saves
// (a quarter of the live view's CPU). The pool keeps one thread: the plot
// is painted on it (PaintInPool), where its fills stay put, and the other
// widgets' few large fills wait for it in turn. Called once, after the
// application object.
void DrawOnOneThread();

}  // namespace rovanel::gui
