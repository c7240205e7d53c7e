// TFp: the main window's behaviour, without widgets. It owns the stores,
// the settings, the plot bitmaps and the state of every control, and runs
// the handlers under their own names. The view renders its state.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/single.h"
#include "app/box.h"
#include "app/controls.h"
#include "app/progress_gauge.h"
#include "app/settings.h"
#include "app/ui_port.h"
#include "device/timing.h"
#include "display/canvas.h"
#include "display/traces.h"
#include "signal/stores.h"

namespace rovanel::app {

inline constexpr int kScreenWidth = 512;
inline constexpr int kScreenHeight = 256;
inline constexpr const char* kApplicationTitle = "ROVANEL";

class TFp {
 public:
  TFp(Box& box, UiPort& ui);
  ~TFp();
  TFp(const TFp&) = delete;
  TFp& operator=(const TFp&) = delete;

  // Life cycle.
  void FormCreate();
  void FormShow();
  void FormClose();
  bool Closed() const { return closed_; }

  // Handlers.
  void acquisitionClick();
  void superpositionClick();
  void suppressionClick();
  void moyenneClick() {}
  void Vecteurs1Click();
  void Pics1Click();
  void Points1Click();
  void Quitter1Click();
  void GJaugeCancel();

  // Presses a button or menu item by its component name, as a user would:
  // a toggle changes its down state first. False for an unknown name.
  bool Click(std::string_view name);
  // The names Click accepts.
  static std::vector<std::string_view> ClickableNames();

  // Pipeline and drawing.
  void SaveModeToggles();
  void ProcessCurves();
  void DrawCurves();
  void DrawLegends();
  void RotateCurveColours();
  void RotateCurveColoursBack();

  std::string WindowTitle() const;

  // State shared by the handlers.
  Tools tools;
  signal::Stores stores;
  std::string AppDir;
  std::int32_t NbPoints = 2048;
  std::int32_t NbCurves = 1;
  std::array<display::Rgb, 4> CurveColours{display::kBlack, display::kNavy, display::kRed,
                                           display::kBlack};
  bool RtStopped = true;
  bool SerieStop = false;
  bool PortBox = false;
  std::int32_t SensiLevelCur = 0;
  std::int32_t SensiCode = 0;
  ProfParamsRec ProfParams;
  MiParamsRec MiParams;
  RtParamsRec RtParams;

  // Display state.
  std::int32_t ViewStart = 0;
  std::int32_t ZoomStep = 4;
  display::TraceStyle TraceStyle = display::TraceStyle::Pics;
  bool BandMode = false;
  display::Rgb GridColour = display::kSilver;
  display::PenStyle GridPenStyle = display::PenStyle::Solid;

  // Plot bitmaps.
  display::Canvas ecran{kScreenWidth, kScreenHeight};
  display::Canvas BackBitmap{kScreenWidth, kScreenHeight};
  display::Canvas DrawBitmap{kScreenWidth, kScreenHeight};
  display::Canvas CursorBitmap{kScreenWidth, kScreenHeight};

  TPBar gjauge;
  std::unique_ptr<device::TWAIT_Calib_ms> WaitCalib;

  // Status of the first frame of the last acquisition that did not arrive
  // whole (0: all did), and what that acquisition met on the link.
  device::Status LastAcquisitionStatus = 0;
  acquisition::AcquisitionReport LastAcquisitionReport;

  Box& GetBox() { return box_; }
  UiPort& Ui() { return ui_; }

 private:
  int SensitivityLevel() const;
  // Checks the menu item of `style` alone and redraws.
  void SetTraceStyle(display::TraceStyle style);
  // Tries once to open and identify a box that is not identified.
  bool EnsureBox(acquisition::AcquisitionReport& report);

  Box& box_;
  UiPort& ui_;
  bool closed_ = false;
  bool acquiring_ = false;
};

}  // namespace rovanel::app
