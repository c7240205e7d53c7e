// The simulation and calibration parameters dialog. For now it holds its
// LUT panel `pplut`: the coefficients of the logarithmic and exponential
// look-up tables, each an edit with a scroll bar, a reset button and a live
// preview of the three transfer curves.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/dialogs/dialog.h"

namespace rovanel::app {

class Tparaint : public DialogModel {
 public:
  Tparaint();

  std::string_view Name() const override { return "Tparaint"; }
  void Activate() override;
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  bool Press(std::string_view button, std::string& error) override;
  void Accept() override;
  FormControls Texts() override {
    return {{"pplut", &pplut}, {"coefln", &coefln}, {"coefexp", &coefexp}, {"def", &def}, {"Imlut", &Imlut}, {"lblLn", &lblLn}, {"lblExp", &lblExp}, {"ok", &ok}, {"cancel", &cancel}};
  }
  void Reject() override { Close(false); }

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

  Control pplut, coefln, coefexp, def, Imlut, lblLn, lblExp, ok, cancel;
  ScrollBar barln{2, 95, 2}, barexp{2, 25, 2};

  // The coefficients the caller presets and reads back.
  int CoefLn = 2;
  int CoefExp = 2;

 private:
  int EditValue(const Control& edit) const;
};

}  // namespace rovanel::app
