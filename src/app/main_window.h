// TFp: the main window's behaviour, without widgets. It is a façade: the
// handlers keep their names and translate the state of the controls into
// calls on small owned models (the curves, the pipeline's steps, the plot,
// the experiment) and the layers below; its data are its own, read through
// const accessors, and set from outside only through a few named setters.
// The view renders what the model says has changed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <vector>

#include "acquisition/series_timing.h"
#include "acquisition/single.h"
#include "app/box.h"
#include "app/config.h"
#include "app/controls.h"
#include "app/dialogs/affichage.h"
#include "app/dialogs/csv_style.h"
#include "app/dialogs/dialog_script.h"
#include "app/dialogs/feature.h"
#include "app/dialogs/file_dialog.h"
#include "app/dialogs/imp.h"
#include "app/dialogs/mi_calc.h"
#include "app/dialogs/paraint.h"
#include "app/dialogs/sel_lge.h"
#include "app/files/curve_files.h"
#include "app/files/data_table.h"
#include "app/files/exports.h"
#include "app/gauge_progress.h"
#include "app/help.h"
#include "app/lang/dictionary.h"
#include "app/model/curve_set.h"
#include "app/model/experiment.h"
#include "app/model/pipeline_steps.h"
#include "app/model/plot_view.h"
#include "app/progress_gauge.h"
#include "app/settings.h"
#include "app/ui_port.h"
#include "device/timing.h"
#include "display/canvas.h"
#include "display/plot_drawing.h"
#include "display/traces.h"
#include "optics/fit.h"
#include "optics/lamp_lines.h"
#include "optics/line_identification.h"
#include "optics/wavelength_table.h"
#include "signal/stores.h"

namespace rovanel::app {

inline constexpr int kScreenWidth = model::kPlotWidth;
inline constexpr int kScreenHeight = model::kPlotHeight;
inline constexpr const char* kApplicationTitle = "ROVANEL";

class TFp {
 public:
  TFp(Box& box, UiPort& ui);
  ~TFp();
  TFp(const TFp&) = delete;
  TFp& operator=(const TFp&) = delete;

  // ---- Before FormCreate: how this run starts ----
  // The language for this run only (--lang), without the dialog.
  void SetForcedLanguage(std::optional<int> language) { ForcedLanguage = language; }
  // Whether a start without configuration runs the first-start path (the
  // window always; the command line when asked), or just uses French.
  void AllowFirstStart(bool allowed) { FirstStartAllowed = allowed; }
  // Where the shipped files are read from (the program's folder by
  // default), and where the user's go (empty: the user folder rules).
  void SetShippedDir(std::string dir) { ShippedDir = std::move(dir); }
  void SetUserDir(std::string dir) { AppDir = std::move(dir); }
  const std::string& ShippedFolder() const { return ShippedDir; }
  // The clock of the printed page's date.
  void SetNow(std::function<std::int64_t()> now) { Now = std::move(now); }

  // ---- Life cycle ----
  void FormCreate();
  void FormShow();
  void FormClose();
  // A curve file opened as Open would (named on the command line, chosen
  // among the recent files); one that cannot be read is said. True if opened.
  bool OpenFile(const std::string& path);
  // Asks every loop that lets messages run to end after its pass.
  void StopLoops();
  // Ends the loops that run until told to (the live view, a zoom held
  // down); a series, an average or a spectrum under way runs to its end.
  void StopEndlessLoops();
  bool EndlessLoopRunning() const { return !RtStopped || Zooming; }
  // A loop that lets messages run and ends by itself (averaging, a series,
  // the spectrum's gauge) is under way.
  bool FiniteLoopRunning() const { return busy_; }
  bool Closed() const { return closed_; }

  // ---- Clicks, keys, the mouse and the bars, as the user gives them ----
  // Presses a button or menu item by its component name, as a user would:
  // a toggle changes its down state first. False for an unknown name.
  bool Click(std::string_view name);
  // Whether a click on `name` would run now: not while a loop that lets
  // messages run owns the data, unless the control touches none of it.
  bool RunsNow(std::string_view name) const;
  // The names Click accepts.
  static std::vector<std::string_view> ClickableNames();
  // Types `text` into the edit `name` (its caption), as the user does
  // before pressing Enter; false for a control that is no edit.
  bool TypeText(std::string_view name, std::string text);
  // A key (its character code; 13 is Enter) in an edit that reads keys;
  // false for an edit that reads none.
  bool KeyPress(std::string_view name, int key);
  // A value given to the control `name` as the user would give it (typed,
  // chosen, the bar moved), by the setter the control table names for it;
  // false with the reason when it cannot take it (fp_entry.cpp).
  bool SetValue(std::string_view name, std::string_view value, std::string& why);
  // The setters of the table: typed; typed then Enter; a duration typed
  // key by key then Enter; the sensitivity; a bar; a lamp line.
  bool Type(std::string_view name, std::string_view value, std::string& why);
  bool TypeThenEnter(std::string_view name, std::string_view value, std::string& why);
  bool TypeDuration(std::string_view name, std::string_view value, std::string& why);
  bool ChooseLevel(std::string_view name, std::string_view value, std::string& why);
  bool MoveBar(std::string_view name, std::string_view value, std::string& why);
  bool ChooseLampLine(std::string_view name, std::string_view value, std::string& why);
  enum class MouseButton { Left, Right };
  void ecranMouseDown(MouseButton button, int x, int y);
  void ecranMouseMove(int x, int y);
  void ecranMouseUp();
  // The mouse wheel over column x: `notches` zoom steps in (up, > 0) or out
  // (< 0) that keep the sample under the pointer where it is.
  void ecranWheel(int x, int notches);
  // An arrow key on the plot: the selected cursor moves by `delta` columns
  // (vertical cursors) or rows (horizontal ones). False when none is shown.
  bool ecranArrow(int delta, bool vertical);
  // The plot as the window draws it at its size (fp_screen_plot.cpp), in a
  // frame of `width` x `height` device units at `dpi`.
  using ScreenPlot = display::PlotPicture;
  ScreenPlot MakeScreenPlot(const display::PageFrame& frame, double dpi) const;
  // The size the window's plot is drawn at; dump:axes reads its ticks.
  void SetPlotSize(double width, double height, double dpi);
  // The ticks the window shows: "x=VALUE label" and "y=VALUE label" lines.
  std::vector<std::string> AxisLines() const;
  // A panel held down (true) or released (false), as the view reports it.
  bool Hold(std::string_view name, bool down);
  // The simulation's bars by component name ("bar", "intensbar",
  // "BarWaist"), read only; and the plot's scroll bar.
  const ScrollBar* ScrollBarOf(std::string_view name) const;
  const ScrollBar& PlotScroll() const { return deplacement; }
  // Moves a bar as the user does (clamped); its OnChange runs when the
  // position changed. False for an unknown bar.
  bool ScrollTo(std::string_view name, int position);
  // A scroll event of a bar held down (its step doubles), or its end.
  void ScrollStep(std::string_view name, bool end);
  // The user dragged or clicked the plot's scroll bar to `position`.
  void deplacementScroll(int position);
  // A line of the library chosen for the wavelength entry (nm, as listed).
  bool LampLineChosen(double nm);

  // ---- Named setters for scripts and tests ----
  // What NivPotar shows (0..15); SensiChanged then applies it.
  void SetSensitivity(int level);
  // Frames averaged when moyenne is down (1..49), as the filter dialog sets.
  void SetAvgCount(int count);
  // The peaks' minimum prominence (0..99 % of full scale), as the filter
  // dialog sets it; the peaks are found again when shown.
  void SetPeakProminence(int percent);
  // Levels into the last curve as acquired, or into the series (its point
  // count follows), then processed as a load would be.
  void FillLastCurve(const signal::Curve& levels);
  // Levels into curve k (1..4) as acquired, not processed (the next
  // ProcessCurves shows them).
  void SetRawCurve(int k, const signal::Curve& levels) { curves_.Raw(k) = levels; }
  void FillSeries(std::span<const std::uint8_t> levels);
  // The answers queued for the next modal dialogs (dialog: actions).
  DialogScript& Answers() { return dialogScript; }
  // The last text Copy data put on the clipboard.
  const std::string& CopiedText() const { return copiedText_; }
  // The CSV style the next export proposes: the one kept, else the
  // language's default.
  CsvStyle CurrentCsvStyle() const;
  // What the screen shows as a table: the X of the experiment's unit, then
  // every curve shown, with their names in the window's language.
  DataTable ShownTable();
  // A queued answer that could not be played, read, or taken once.
  const std::string& ScriptError() const { return scriptError; }
  std::string TakeScriptError() { return std::exchange(scriptError, {}); }
  // The model talks to `port` from now on (a script wraps the window's
  // port for as long as it runs); returns the port it used before.
  UiPort& UsePort(UiPort& port) { return *std::exchange(ui_, &port); }
  UiPort& Ui() { return *ui_; }
  Box& GetBox() { return box_; }

  // ---- What the window shows (read only) ----
  const Tools& Controls() const { return tools; }
  // The experiment the mode buttons say; the computed pattern shown.
  Experiment Mode() const { return ExperimentOf(tools); }
  bool SimulationShown() const { return app::SimulationShown(tools); }
  const model::CurveSet& Curves() const { return curves_; }
  const model::PlotView& Plot() const { return plot_; }
  // `ecran`, the 512 x 256 picture.
  const display::Canvas& Picture() const { return plot_.Picture(); }
  const signal::Stores& Stores() const { return stores; }
  const ProfParamsRec& Prof() const { return ProfParams; }
  const MiParamsRec& Mi() const { return MiParams; }
  const RtParamsRec& Rt() const { return RtParams; }
  const OptoParamsRec& Opto() const { return OptoParams; }
  const SpectroParamsRec& Spectro() const { return SpectroParams; }
  const PrintNotesRec& Notes() const { return PrintNotes; }
  const ConfigRec& Configuration() const { return Config; }
  const acquisition::SeriesControls& Series() const { return series; }
  // Samples of the data shown.
  std::int32_t PointCount() const { return NbPoints; }
  int Lang() const { return Language; }
  const Dictionary& Words() const { return dictionary; }
  std::string WindowTitle() const;
  // The measurement's file, "*" first while a new one was never saved.
  std::string FileTitle() const;
  bool Unsaved() const { return unsaved_; }
  // At most kMaxRecentFiles, the latest first; the view keeps them between runs.
  static constexpr std::size_t kMaxRecentFiles = 8;
  const std::vector<std::string>& RecentFiles() const { return recent_; }
  void SetRecentFiles(std::vector<std::string> files);
  void OpenRecent(std::size_t index);  // one that is gone: said and dropped
  // Before closing: asks about a measurement never saved; false: stay.
  bool CanClose();
  // The text of a language key in the current language (the key itself when
  // the dictionary lacks it), and the same with its %d / %s filled in order.
  std::string Text(std::string_view key) const;
  std::string Text(std::string_view key, std::initializer_list<std::string> args) const;
  // A reason given in English by the layers below, in the window's language.
  std::string Reason(const std::string& english) const;
  const TPBar& Gauge() const { return gjauge; }
  // The gauge's Cancel button, pressed.
  void CancelGauge() { gjauge.CancelClick(); }
  const device::TWAIT_Calib_ms& DelayLoopCalibration() const { return *WaitCalib; }
  bool HasDelayLoop() const { return WaitCalib != nullptr; }
  bool LiveStopped() const { return RtStopped; }
  bool SeriesStopAsked() const { return SerieStop; }
  bool SeriesFromPortBox() const { return PortBox; }
  device::Status LastSeries() const { return LastSeriesStatus; }
  // Status of the first frame of the last acquisition that did not arrive
  // whole (0: all did), and what that acquisition met on the link.
  device::Status LastAcquisition() const { return LastAcquisitionStatus; }
  const acquisition::AcquisitionReport& LastAcquisitionLink() const { return LastAcquisitionReport; }
  // The references being edited (SpectroParams.CalPoints keeps a copy) and
  // the one shown (1..6).
  const optics::CalPoints& References() const { return ActiveCalPoints; }
  int ReferenceNumber() const { return RefNumber; }
  const std::vector<optics::LampLine>& Lamps() const { return LampLines; }
  // The lamp whose lines Identify looks for (the lamp of the last line
  // chosen, mercury at start), and the lines it last proposed.
  const std::string& ChosenLamp() const { return LampChosen; }
  const std::vector<optics::IdentifiedLine>& IdentifiedLines() const { return Identified; }
  const std::optional<optics::FitResult>& Fit() const { return LastFit; }
  int FitModel() const { return fitModel_; }
  const std::array<double, 4>& FitRmsByModel() const { return fitRms_; }
  // Peaks found by the last detection, and the one shown (0-based).
  std::uint32_t Peaks() const { return PeakCount; }
  int PeakShown() const { return PeakIndex; }
  int PeakProminence() const { return PeakProminencePct; }
  int Fringes() const { return FringeCount; }
  enum class Pointer { Default, SizeWE, SizeNS };
  Pointer EcranPointer() const { return ecranPointer_; }
  // Histogram classes of 2^(exp + 3) levels.
  int HistogramClassExp() const { return HistClassExp; }
  // The value of one sample in the X unit (not in "nm"), as the page gets it.
  double SampleWidth() const { return SampleValue; }
  // The scroll bar's position that zooming keeps in the middle of the view.
  int ViewCentreKept() const { return ViewCentre; }
  // A zoom panel held down repeats.
  bool ZoomHeld() const { return Zooming; }
  // The preview bar under the plot: the whole curve, and the part in view.
  const Shape& PreviewBack() const { return visubackbar; }
  const Shape& PreviewFront() const { return visufrontbar; }

  // ---- The dialogs, created with the window and reused (models of their own) ----
  Tfeature& Feature() { return feature; }
  Tparaint& Paraint() { return paraint; }
  TAffichage& Affichage() { return affichage; }
  const TAffichage& Affichage() const { return affichage; }
  TMiCalc& MiCalc() { return miCalc; }
  Timp& Imp() { return imp; }
  TappForm& Tapp() { return tapp; }
  TSelLge& SelLge() { return selLge; }

  // ---- Handlers, by feature (each in its fp_*.cpp) ----
  // Acquisition and the curve set (fp_acquisition.cpp).
  void acquisitionClick();
  void superpositionClick();
  void suppressionClick();
  void moyenneClick() {}
  // Drawing style and life (main_window.cpp, fp_drawing.cpp).
  void Vecteurs1Click();
  void Pics1Click();
  void Points1Click();
  void Quitter1Click();
  void GJaugeCancel();
  // Processing (fp_processing.cpp).
  void calibrationClick();
  void FiltrageMoyennage1Click();
  void fftClick();
  // Peaks (fp_peaks.cpp).
  void picsClick();
  void picgClick();
  void picdClick();
  void ShowPeak();
  // Look-up tables and histograms (fp_lut.cpp).
  void lutlnClick();
  void lutnorClick();
  void lutexpClick();
  void plutClick();
  void gaussClick();
  void cumulClick();
  void phisClick();
  // Michelson series (fp_series.cpp).
  void SensiPlusClick();
  void SensiMoinsClick();
  void SensiChanged();
  // The box of the series (the parallel-port one or the USB one), with its
  // duration rules.
  void SetPortBox(bool portBox);
  void DureePlusClick();
  void DureeMoinsClick();
  void InterAccKeyPress(int key);
  // Enter in the duration edit: the key press of Enter.
  void InterAccEnter() { InterAccKeyPress(13); }
  void NbPtsClick();
  void startmiClick();
  // False when the series was cancelled (the previous one is kept).
  bool AcquireSerieUsb();
  bool AcquireSeriePort();
  // Live view (fp_live.cpp).
  void rtClick();
  // Freeze: the last live frame, whole, becomes the acquired curve and the
  // live view stops.
  void rtFreezeClick();
  // One live frame, every fourth pixel into the last curve; a frame that
  // did not arrive leaves it as it was. The protocol's status.
  device::Status AcquireFrameRt();
  // Modes (fp_modes.cpp).
  void miClick();
  void SetupMode();
  void SetupXScale();
  // Spectrometer calibration (fp_spectro.cpp).
  void RefPlusClick();
  void RefMoinsClick();
  void spLbdKeyPress(int key);
  void spLbdEnter() { spLbdKeyPress(13); }
  void EditLambda1Click();
  void spInitClick();
  void spCalculClick();
  // Finds the clear lines of the lamp spectrum shown, matches them to the
  // chosen lamp's lines and, once the user agrees, takes them as the
  // references 1, 2, ... (fp_spectro.cpp).
  void spIdentifyClick();
  void spOpnCalClick();
  void spCalYClick();
  // Keeps the shown reference (false, with a message, when the wavelength
  // is not a number: nothing is stored), and shows the current one.
  bool StoreReference();
  // Why a reference line cannot be kept (a pixel outside 0..2047, a
  // wavelength that is not a number of 0 to 3000 nm), or empty; `field`
  // names the faulty one ("pixel", "wavelength").
  std::string ReferenceFault(const std::string& pixel, const std::string& wavelength,
                             std::string* field = nullptr) const;
  void ShowReference();
  // The panel's texts of the current reference, without drawing.
  void ShowReferenceTexts();
  // Simulation and calculator (fp_simulation.cpp).
  void gosimuClick();
  void Simulation1Click();
  void barChange();
  void barScroll(bool end);
  void intensbarScroll(bool end);
  void BarWaistChange();
  void ebxWaistKeyPress(int key);
  void ebxWaistEnter() { ebxWaistKeyPress(13); }
  void AjusterClick();
  void calcClick();
  void ComputeSimulation(int shift);
  // Help (fp_help.cpp): the theory reminder of the mode in use (none in
  // analysis), and the contents (F1).
  void rappelsClick();
  void Sommaire1Click();
  void OpenHelp(HelpTopic topic);
  // Printing (fp_print.cpp): the print dialog, then the platform's print
  // dialog; the same page written to a PDF or PNG file (the dialog's
  // answer decides, as for printing). False, with the reason, when nothing
  // was written.
  void imprimerClick();
  void Imprimer1Click() { imprimerClick(); }
  enum class PageFile { Pdf, Png };
  bool PrintToFile(const std::string& path, PageFile kind, std::string& error);
  // The page of what the plot shows, with these annotations.
  PrintJob MakePrintJob(const PrintNotesRec& notes);
  // Display: grid, axes, bands, settings (fp_display.cpp).
  void GridClick();
  void Grille1Click();
  void Axes1Click();
  void colorniv1Click();
  void realgrisClick();
  void spColorClick();
  // Cursors (fp_cursors.cpp).
  void cursvClick();
  void curshClick();
  void Curseurs1Click();
  void DrawCursors();
  // Spectrum (fp_spectrum.cpp).
  void SetFftSize();
  // The spectrum of the current mode's data over `size` samples; true when
  // it ran to the end (false: cancelled from the gauge).
  bool ComputeSpectrum(std::uint32_t size, bool showGauge);
  // Zoom and scrolling (fp_zoom.cpp).
  static constexpr int ScrollUnit = 32;
  void SetZoom(std::int32_t points, std::int32_t wantedStep);
  // The scroll bar moved (by the user or by SetZoom).
  void deplacementChange();
  void ZoomPlusMouseDown();
  void ZoomMoinsMouseDown();
  void ZoomPlusMouseUp();
  void SpeedButton1Click();
  void minizoomClick();
  // A whole press and release of a zoom panel: one step.
  void ZoomPlusClick();
  void ZoomMoinsClick();
  // Lets messages run for `ms` milliseconds (or once, when stopNow).
  void PumpWait(int ms, bool stopNow);
  // Curve files and exports (fp_files.cpp).
  void Sauver1Click();
  void ouvrirClick();
  // Open's work once its dialog is run: true when a file was opened.
  bool OpenChosenFile();
  // Each says what fails (file and reason) and returns false; a load that
  // fails changes nothing.
  bool SaveCCD(const std::string& name);
  bool SaveCCT(const std::string& name);
  bool LoadCCD(const std::string& name);
  bool LoadCCT(const std::string& name);
  // The curve of a .CCD into curve `slot` (1..4), the settings in force kept.
  bool LoadCCDCurveOnly(const std::string& name, int slot);
  void Texte1Click();
  void IDMITBASRegressi1Click();
  void IDMITBASSynchronie1Click();
  void Bitmap1Click();
  // The table exports and the clipboard (fp_table_exports.cpp).
  void Csv1Click();
  void Jcamp1Click();
  void JcampNm1Click();
  void CopierDonnees1Click();
  void CopierCourbe1Click();
  // Configuration and language (fp_language.cpp).
  // First display: the configuration file, the language dialog and the
  // delay-loop calibration on a first start, the texts of the language.
  void StartupConfig();
  void ApplyConfig();
  // Times the delay loop (a small window says so) and keeps the result in
  // the configuration file.
  void CalibrateDelayLoop();
  // Puts the texts of the current language into every form.
  void LoadLanguage();
  // The Language menu: switches the texts at once and keeps the choice.
  void LanguageChosen(int language);
  void Francais1Click() { LanguageChosen(1); }
  void English1Click() { LanguageChosen(2); }
  void Deutsch1Click() { LanguageChosen(3); }

  // ---- Pipeline and drawing ----
  // What the processing buttons say now.
  model::PipelineSteps Steps() const;
  void SaveModeToggles();
  void ProcessCurves();
  // SetupMode, then ProcessCurves, drawn once at the end: the zoom SetupMode
  // sets would otherwise draw the curves before they are processed.
  void SetupAndProcess();
  // A series just acquired (its points in MiSerieRaw): the zoom that shows
  // it whole, processed, drawn once.
  void ShowAcquiredSeries(std::int32_t points);
  void DrawCurves();
  void DrawLegends();

  // Runs a modal dialog: from the answers queued by the dialog: action when
  // one waits for it, else through the port. True when it closed with OK.
  bool RunDialog(DialogModel& dialog);

  // Scopes of the handlers (window_scopes.h): a drawing held, a finite loop.
  friend class DrawingHeld;
  friend class LoopScope;

 private:
  // The gauge's side of the loops (app/gauge_progress.*).
  friend class GaugeProgress;

  // ---- The owned models ----
  model::CurveSet curves_;
  model::PlotView plot_;

  // ---- Settings records, stores and the state of every control ----
  Tools tools;
  signal::Stores stores;
  ProfParamsRec ProfParams;
  MiParamsRec MiParams;
  RtParamsRec RtParams;
  OptoParamsRec OptoParams;
  SpectroParamsRec SpectroParams;
  PrintNotesRec PrintNotes;
  ConfigRec Config;
  acquisition::SeriesControls series;

  // ---- Start-up ----
  std::optional<int> ForcedLanguage;
  bool FirstStartAllowed = false;
  std::string AppDir;
  // Where the shipped files are read from (the program's folder).
  std::string ShippedDir;
  std::function<std::int64_t()> Now;
  Dictionary dictionary;
  int Language = 1;  // 1 French, 2 English, 3 German

  // ---- The dialogs ----
  Tfeature feature;
  Tparaint paraint;
  // The display settings: X unit, Y scale, grid, cursors, colour levels.
  TAffichage affichage;
  TMiCalc miCalc;
  Timp imp;
  TappForm tapp;
  TSelLge selLge;
  TCsvStyle csvStyle;
  DialogScript dialogScript;
  // Set when a queued dialog answer could not be played; the action runner
  // takes it.
  std::string scriptError;
  TFileDialog Save{"Save", true,
                   "Rovanel  Distance (CCD)|*.CCD|Fichiers Texte     (*.TXT)|*.TXT|Images Bitmap "
                   "   (*.BMP)|*.BMP",
                   ""};
  TFileDialog open{"open", false, "ROVANEL Distance (CCD)|*.CCD", "*.CCD"};

  // ---- Loops, series and the box ----
  TPBar gjauge;
  std::unique_ptr<device::TWAIT_Calib_ms> WaitCalib;
  std::int32_t NbPoints = 2048;
  bool RtStopped = true;
  bool SerieStop = false;
  bool PortBox = false;
  std::int32_t SensiLevelCur = 0;
  std::int32_t SensiCode = 0;
  device::Status LastSeriesStatus = 0;
  device::Status LastAcquisitionStatus = 0;
  acquisition::AcquisitionReport LastAcquisitionReport;

  // ---- Modes ----
  // Two-curve layouts in force, and the state of mi last seen.
  bool SpectroLayout = false;
  bool SimuLayout = false;
  bool MiSeen = false;
  // The spectrometer's lamp lines and references.
  std::vector<optics::LampLine> LampLines;
  std::string LampChosen = "Hg";
  std::vector<optics::IdentifiedLine> Identified;
  optics::CalPoints ActiveCalPoints = optics::DefaultCalPoints();
  int RefNumber = 1;  // 1..6
  // The simulation's bars, and the last fit of it to the measured curve.
  ScrollBar bar{optics::kShiftBarMin, optics::kShiftBarMax, 0, true, 16, 1};
  ScrollBar intensbar{optics::kIntensBarMin, optics::kIntensBarMax, optics::kIntensBarStart,
                      true, 3, 1};
  ScrollBar waistBar{optics::kWaistBarMin, optics::kWaistBarMax, 10, false, 10, 1};
  bool Simulating = false;
  std::optional<optics::FitResult> LastFit;
  // The page of the last fit, and the residual rms of each model on the
  // same curve (NaN: not fitted).
  int fitModel_ = -1;
  std::array<double, 4> fitRms_{};
  std::string OtherModels(const signal::Curve& measured);

  // ---- The plot's read-outs, peaks and scrolling ----
  // Histogram class width exponent: classes of 2^(HistClassExp + 3) levels.
  int HistClassExp = 1;
  // X distance of one screen column in the current unit (set by DrawLegends).
  float ColumnScale = 56.0f;
  // Handed to the print layout: the value of one sample (not in "nm"), and
  // the fringe count between the vertical cursors (-1: none).
  double SampleValue = 14.0;
  int FringeCount = -1;
  // Peaks: found by the last detection, and the one shown (0-based among
  // the visible ones).
  std::uint32_t PeakCount = 0;
  int PeakIndex = 0;
  // Peaks standing out by less (in % of full scale) are dropped; 0 keeps
  // every peak the detector finds.
  int PeakProminencePct = 0;
  Pointer ecranPointer_ = Pointer::Default;
  // The window's plot: its size in device units and the device's dpi.
  double plotWidth_ = 1000, plotHeight_ = 560, plotDpi_ = 96;
  ScrollBar deplacement{0, 0, 0, true, 2048, 8};
  int ViewCentre = 0;
  bool Zooming = false;
  Shape visubackbar{true, 0, 0, 100, 12};
  Shape visufrontbar{true, 0, 0, 100, 12};

  // ---- Steps of the handlers ----
  ScrollBar* MutableScrollBar(std::string_view name);
  // Checks the menu item of `style` alone and redraws.
  void SetTraceStyle(display::TraceStyle style);
  // The plot's input from the controls and settings.
  model::PlotInput PlotInputs() const;
  void ShowSeriesControls();
  // The gauge of a series: shown with its texts at 0 of `max`, Cancel
  // offered; then hidden.
  void ShowSeriesGauge(int max, std::int32_t points);
  void HideSeriesGauge();
  // The file commands' steps.
  std::string& ModeFileName();
  void PrepareFileDialogs(bool defaultExtension);
  std::string TakeChosenName(const TFileDialog& dialog, bool ok);
  void FileError(std::string_view key, const std::string& file, const std::string& why);
  bool WriteFile(const std::string& name, std::span<const std::uint8_t> bytes);
  bool ReadFileOrSay(const std::string& name, std::vector<std::uint8_t>& bytes);
  // Reads and decodes a .CCD into `d` (which holds the defaults of older
  // layouts); changes nothing else.
  bool ReadCCD(const std::string& name, CcdData& d);
  ExportInput ExportState();
  void Export(ExportKind kind, std::string filter, std::string ext);
  std::vector<std::uint8_t> exportSerie_;
  // Asks for a name with the Save dialog and writes `bytes` to it; false
  // when cancelled, refused or not written (the user was told).
  bool SaveExport(const std::string& filter, const std::string& ext, const std::string& bytes);
  void KeepCsvStyle(CsvStyle style);
  void ExportJcamp(bool resample);
  std::string copiedText_;
  // What start-up has to tell once the texts are loaded.
  std::vector<std::function<void()>> startupNotes_;
  // The controls of every translated form with the passes each gets, in
  // the order the texts are loaded.
  struct FormPass {
    FormControls controls;
    bool captions, hints, items;
  };
  std::vector<FormPass> TranslatedForms();
  // Shows Timp with PrintNotes; on OK keeps what it holds.
  bool RunPrintDialog();
  // The page's parts.
  std::vector<display::PageCurve> PageCurves() const;
  // The plot part of the page: samples, X values, curves, cursors, peaks.
  void FillPagePlot(display::PrintPage& page) const;
  std::vector<std::string> PageSettings() const;
  std::vector<std::string> PageReadouts() const;
  // What the status bar says of an acquisition that met link failures.
  std::string AcquisitionText(const acquisition::AcquisitionReport& report) const;
  // Says in the status bar how many samples of the series are at 255.
  void ReportSaturation(std::int32_t points);
  // Tries once to open and identify a box that is not identified.
  bool EnsureBox(acquisition::AcquisitionReport& report);
  // Profile-mode steps of ProcessCurves, and the Michelson ones.
  void ProcessProfiles();
  void ProcessSeries();
  // Peak search on the shown data (last curve, or the series).
  void DetectShownPeaks();
  // Shared by the three LUT buttons: one of them is always down.
  void LutClicked(Control& button);
  // Moves the scroll bar within its range; runs deplacementChange on a change.
  void SetScrollPosition(int p);
  void SetScrollMax(int max);
  // A zoom panel's release that the scripted click delivers at the first wait.
  bool releasePending_ = false;
  bool liveRunning_ = false;
  // The live view meets no frame: said once, the box tried again once a
  // second, the loop waiting meanwhile.
  void LiveFrameFailed(device::Status status);
  static constexpr std::int64_t kLiveRetryUs = 1'000'000;
  static constexpr std::int64_t kLiveBackOffUs = 100'000;
  bool liveFailing_ = false;
  // The last live frame, all its pixels, for the freeze.
  signal::Curve liveFrame_{};
  bool liveFrameValid_ = false;
  std::int64_t liveRetryUs_ = 0;
  // Tells the view what changed since it was last told.
  void Changed(unsigned what) { ui_->Changed(what); }

  Box& box_;
  UiPort* ui_;
  bool closed_ = false;
  bool busy_ = false;
  // A new measurement since the last save or open; its file and the recent ones.
  void MeasurementChanged();
  void FileTaken(const std::string& name, bool whole);
  bool unsaved_ = false;
  std::string fileName_;
  std::vector<std::string> recent_;
  int drawHeld_ = 0;
  bool drawDue_ = false;
};

}  // namespace rovanel::app
