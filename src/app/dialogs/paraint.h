// The simulation and calibration parameters dialog. The caller shows one of
// its three panels:
// - `pplut`: the coefficients of the logarithmic and exponential look-up
//   tables, each an edit with a scroll bar, a reset button and a live
//   preview of the three transfer curves;
// - `choice`: the simulation notebook, one page per model (one slit, two
//   slits, a grating, a Gaussian beam), each with its parameter edits;
// - `ppdisp`: the spectrometer's wavelength table drawn against the pixel
//   number, with the choice of interpolation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/controls.h"
#include "app/dialogs/dialog.h"
#include "optics/calibration_residuals.h"
#include "optics/fit.h"
#include "optics/simulation.h"
#include "optics/wavelength_table.h"

namespace rovanel::app {

// Virtual-key codes the parameter edits' rule tells apart on key release.
inline constexpr int kVkEnter = 13, kVkShift = 16, kVkPoint = 190, kVkKeypadPoint = 110;
inline constexpr int kVkDigit0 = 48, kVkKeypad0 = 96;

// The text of a parameter edit after the key `vk` was released: a
// main-keyboard digit or the point key replaces the last character by
// itself; keypad digits and point, Enter and Shift leave it; any other key
// (letters, Backspace, arrows) empties it.
std::string ParamKeyRule(std::string text, int vk);

// A number as the edits show it: two decimals, "." as separator.
std::string TwoDecimals(double v);

// A number typed in mm: optionally signed, "." or "," as separator.
std::optional<double> ReadLooseDecimal(std::string_view text);

// The check of a calibration as the panel shows it: a title, a table of the
// used lines (number, pixel, wavelength, the table without the line at its
// pixel, the difference; in nm) and the rms, in the dialog's language; or
// why there is nothing to check.
std::string CalibrationCheckText(const optics::CalResiduals& r, const DialogModel& say);

class Tparaint : public DialogModel {
 public:
  Tparaint();

  std::string_view Name() const override { return "Tparaint"; }
  // FormShow: the waist edit shows the waist; the calibration panel
  // recomputes its table with the stored kind.
  void Activate() override;
  // Fields: the LUT edits and bars; the simulation edits of the page shown
  // (typed from an empty field key by key), "page" (0..3); "rdbLin" or
  // "rdbSpline" (any value) on the calibration panel.
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  // Buttons: def, valide (or ok), BitBtn2 (or cancel), BitBtn1 (help),
  // rdbLin, rdbSpline.
  bool Press(std::string_view button, std::string& error) override;
  void Accept() override { valideClick(); }
  void Reject() override { BitBtn2Click(); }
  FormControls Texts() override;

  // LUT panel.
  void barlnChange(int position);
  void barexpChange(int position);
  void defClick();
  // Enter in an edit: empty or below 2 becomes "2", the bar follows.
  void coeflnEnter();
  void coefexpEnter();
  void coeflnKeyUp(Key key);
  void coefexpKeyUp(Key key);

  // The preview `Imlut`: three polylines (exponential, logarithmic,
  // identity) of points (x, y) in an image of kPreviewSize pixels square,
  // y growing downward, for x = 1..255 scaled into the image.
  static constexpr int kPreviewSize = 128;
  struct Preview {
    std::array<std::vector<std::array<int, 2>>, 3> curves;
  };
  Preview LutPreview() const;
  // Bumped whenever the preview must be redrawn.
  int PreviewVersion = 0;

  Control pplut, coefln, coefexp, def, Imlut, lblLn, lblExp;
  ScrollBar barln{2, 95, 2}, barexp{2, 25, 2};
  // The coefficients the caller presets and reads back.
  int CoefLn = 2;
  int CoefExp = 2;

  // Simulation notebook: page captions in `items`, the page shown.
  Control choice;
  int choicePage = optics::kStartPage;
  // Parameter edits (caption = text) and their uncertainty edits.
  Control unla, unlain, undi, undiin, unlo, unloin;
  Control dela, delain, dedi, dediin, dein, deinin, delo, deloin;
  Control rela, relain, redi, rediin, rein, reinin, relo, reloin, renbt;
  Control ebxWidth;
  // The model's parameters, read back by the caller after validation.
  optics::SimulationParams Sim;
  // Key release in a parameter or uncertainty edit (the key rule), and
  // Enter in one: the focus moves along its page's chain to `valide`.
  // False for a name that is not such an edit.
  bool unlaKeyUp(std::string_view field, int vk);
  void EditEnter(std::string_view field);
  // Enter in the waist edit: the waist becomes a whole number of 10 µm and
  // the edit shows it.
  void ebxWidthEnter();
  // A fit's values into the page in force: the fitted widths in the
  // parameter edits, their standard uncertainties in the uncertainty edits.
  void ShowFit(const optics::FitResult& fit);

  // Calibration panel: the group box of the interpolation choice and its
  // two radio buttons (`down` = checked).
  Control ppdisp, Interp, rdbLin, rdbSpline;
  // The references (the caller presets them), the table drawn and its kind.
  optics::CalPoints Points = optics::DefaultCalPoints();
  optics::LambdaTable Table{};
  std::int32_t Interpolation = optics::kLinearKind;
  // Bumped whenever the table must be redrawn.
  int TableVersion = 0;
  // How far each used line is from the table built without it, for the
  // kind shown, and that check as the panel's text (`Residus`, a table in
  // columns under the plot).
  optics::CalResiduals Residuals;
  Control Residus;
  void CalibrationCurve(std::int32_t kind);
  void rdbLinClick();
  void rdbSplineClick();

  // Buttons: validate, help, cancel.
  Control valide, BitBtn1, BitBtn2;
  void valideClick();
  void BitBtn2Click() { Close(false); }
  void BitBtn1Click() {
    HelpAsked = true;
    if (Help) Help();
  }
  bool HelpAsked = false;

  // The picture of the set-up of each page, and its symbols.
  static constexpr int kPages = 4;

  // The edits of a page in focus order, and the page of an edit (-1: none).
  static std::vector<Control Tparaint::*> PageEdits(int page);
  int PageOf(std::string_view field) const;
  Control* Edit(std::string_view field);

 private:
  int EditValue(const Control& edit) const;
  // The simulation edits' start texts, and what FormShow puts in them.
  void SimulationDefaults();
  void SimulationShow();
  // Types `text` into an edit from empty, key by key through the key rule.
  void TypeInto(std::string_view field, std::string_view text);
  // Reads the page shown into `out`; false, with `error` and FocusTo set,
  // at the first field that is not a number.
  bool ReadPage(optics::SimulationParams& out);
};

}  // namespace rovanel::app
