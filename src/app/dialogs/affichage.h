// The display settings dialog: X unit and Y scale, grid pitch, style and
// colour, cursor width and colour, and the colours of the levels. It has
// four pages; the caller shows one, sets the title and runs the dialog, and
// the window reads the settings back from the fields below.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/controls.h"
#include "app/dialogs/dialog.h"
#include "display/canvas.h"
#include "signal/stores.h"

namespace rovanel::app {

class TAffichage : public DialogModel {
 public:
  // Spectrum colours, (blue, green, red) per entry; the last entry is black
  // and stands for any wavelength outside 400..800 nm.
  using SpectrumTable = std::array<std::array<std::uint8_t, 3>, signal::kSpectrumColourCount>;
  static constexpr float LambdaStep = 0.15444015f;  // nm between entries (400 / 2590)
  static constexpr int kOutOfRangeEntry = signal::kSpectrumColourCount - 1;
  // Entry of wavelength `lambda` nm: round((lambda - 400) / LambdaStep),
  // halves to even, from 400 to 800 nm (800 itself gives the black entry),
  // else the black entry.
  static int SpectrumIndex(float lambda);

  static constexpr std::array<const char*, 5> kListPasItems = {" 200 µm", " 500 µm", " 1 mm",
                                                               " 2 mm", ""};
  static constexpr std::array<const char*, 3> kListStyleItems = {
      "CMB_BAS_Continu", "CMB_BAS_Pointillé", "CMB_BAS_Mixte"};
  // Swatches Color1..Color8: white, red, fuchsia, yellow on the top row;
  // black, blue, aqua, lime below.
  static constexpr std::array<display::Rgb, 8> kSwatchColours = {
      display::Rgb{255, 255, 255}, display::Rgb{255, 0, 0}, display::Rgb{255, 0, 255},
      display::Rgb{255, 255, 0},   display::Rgb{0, 0, 0},   display::Rgb{0, 0, 255},
      display::Rgb{0, 255, 255},   display::Rgb{0, 255, 0}};

  TAffichage();

  std::string_view Name() const override { return "TAffichage"; }
  void Activate() override;
  // Script fields, named by component: unit1..unit5, pix1, pix2, pix4 ("1"
  // selects), ListPas and ListStyle (item index), ColorGrid and CursColor
  // ("R,G,B", as the colour chooser gives them), Color1..Color8 ("1" clicks
  // the swatch), chkSelMin ("0" or "1"), MskLBDA (the text typed, then
  // Enter). Only the fields of the page shown are taken.
  bool SetField(std::string_view field, std::string_view value, std::string& reason) override;
  // btnMax, btnMin, ValG, anng, helg.
  bool Press(std::string_view button, std::string& reason) override;
  void Accept() override { ValGClick(); }
  FormControls Texts() override {
    return {{"pNivCoul", &pNivCoul}, {"PAxes", &PAxes}, {"PGrille", &PGrille}, {"PCurs", &PCurs}, {"unit1", &unit1}, {"unit2", &unit2}, {"unit3", &unit3}, {"unit4", &unit4}, {"unit5", &unit5}, {"pix1", &pix1}, {"pix2", &pix2}, {"pix4", &pix4}, {"ListPas", &ListPas}, {"ListStyle", &ListStyle}, {"btncolor", &btncolor}, {"colorc", &colorc}, {"btnMax", &btnMax}, {"btnMin", &btnMin}, {"chkSelMin", &chkSelMin}, {"bvlSelect", &bvlSelect}, {"MskLBDA", &MskLBDA}, {"lblNm", &lblNm}, {"ValG", &ValG}, {"helg", &helg}, {"anng", &anng}};
  }
  void Reject() override { anngClick(); }

  // Shows the settings in the controls (run each time the dialog opens).
  void FormPaint();
  // Applies the controls to the settings and closes.
  void ValGClick();
  // Closes without applying.
  void anngClick();
  // The help viewer comes with the help files.
  void helgClick() {}
  // The colour chooser confirmed `chosen` for the grid / the cursors.
  void btncolorClick(display::Rgb chosen);
  void colorcClick(display::Rgb chosen);
  // A swatch, 1..8, was clicked.
  void Color1MouseDown(int swatch);
  void btnMaxClick();
  void btnMinClick();
  // The check box was clicked: it changes state, and btnMin follows it.
  void chkSelMinClick();
  // The focus entered the wavelength edit.
  void MskLBDAEnter();
  // A key pressed in the wavelength edit: Enter picks the spectral colour.
  void MskLBDAKeyPress(Key key);
  // A radio button (unit1..unit5, pix1, pix2, pix4) was clicked: it is
  // selected and the others of its group released. False for another name.
  bool RadioClick(std::string_view name);
  // An item of ListPas was chosen. The empty fifth item is no pitch: the
  // list keeps the pitch it had.
  void ListPasChange(int index);
  void ListStyleChange(int index);

  // The table the wavelength edit picks from, owned by the window. With no
  // table, every wavelength gives black.
  void SetSpectrumColours(const SpectrumTable* table) { spectrum_ = table; }

  // Display settings.
  std::string XUnit = "µm";        // "µm", "mm", "pix", or the mode's unit
  std::string YScaleKind = "dec";  // "dec" linear, "ln" logarithmic
  std::int32_t GridStep = 500;     // µm
  std::int32_t GridStepIndex = 1;
  std::array<std::int32_t, 4> GridSteps{200, 500, 1000, 2000};
  std::int32_t GridStyleIndex = 0;
  display::PenStyle GridPenStyle = display::PenStyle::Solid;
  display::Rgb GridColour = display::kSilver;
  std::int32_t CursorWidth = 1;  // 1, 2 or 4
  display::PenStyle CursorPenStyle = display::PenStyle::Dot;
  display::Rgb CursorColour = display::kBlack;
  // Colour levels.
  display::Rgb MinLevelColour = display::kBlack;
  display::Rgb MaxLevelColour = display::kWhite;
  bool SingleColourLevels = false;  // shades of MaxLevelColour from black
  std::string LevelWavelengthText;  // the wavelength MaxLevelColour came from

  // Pages, shown one at a time by the caller.
  Control pNivCoul, PAxes, PGrille, PCurs;
  // Radio buttons and the check box: `down` is checked.
  Control unit1, unit2, unit3, unit4, unit5, pix1, pix2, pix4;
  Control ListPas, ListStyle;
  int ListPasIndex = 1;
  int ListStyleIndex = 0;
  Control btncolor, colorc;
  // Colour-level page. `bvlSelect` frames swatch bvlSelectSwatch (1..8);
  // the edit MskLBDA holds its text in its caption.
  Control btnMax, btnMin, chkSelMin, bvlSelect, MskLBDA, lblNm;
  int bvlSelectSwatch = 0;
  Control ValG, helg, anng;
  // The colour shapes.
  display::Rgb ColorGrid = display::kSilver;
  display::Rgb CursColor = display::kBlack;
  display::Rgb MaxColor = display::kWhite;
  display::Rgb MinColor = display::kBlack;

  // Set by a handler for the view: a message to show the user, and the
  // control the focus moves to. The view takes each once.
  std::string error;
  std::string FocusTo;

 private:
  // btnMin released: btnMax is down in its place.
  void ReleaseMin();
  void Select(Control& radio);

  const SpectrumTable* spectrum_ = nullptr;
};

}  // namespace rovanel::app
