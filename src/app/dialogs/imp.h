// The print dialog: the student's names, the experiment and remarks that
// go on the page (and into the curve files), colour or black and white,
// the curve and grid widths, the paper. It prints, shows the preview, or
// is cancelled.
#pragma once

#include <functional>
#include <string>

#include "app/controls.h"
#include "app/dialogs/dialog.h"
#include "app/settings.h"
#include "display/print_page.h"

namespace rovanel::app {

inline constexpr int kNomLimit = 50;
inline constexpr int kManipLimit = 50;
inline constexpr int kRemarkLimit = 300;
// Widths in half points: 1/2 .. 2.
inline constexpr int kMinWidthHalves = 1;
inline constexpr int kMaxWidthHalves = 4;

// "1/2", "1", "3/2" or "2" for a width in halves.
std::string WidthText(int halves);
// The first `limit` characters of UTF-8 text (characters, not bytes), as an
// edit with that many characters at most keeps what is typed or pasted.
std::string FirstCharacters(std::string_view text, int limit);

class Timp : public DialogModel {
 public:
  Timp();

  std::string_view Name() const override { return "Timp"; }
  void Activate() override;
  // Fields nom, manip, remark (text, cut to their limits), couleur
  // (1: colour, 0: black and white), paper (A4, Letter), orientation
  // (portrait, landscape). Buttons: plus, moins, plusG, moinsG, impcoul,
  // impnb, startimp, apper, cancimp.
  bool SetField(std::string_view field, std::string_view value, std::string& error) override;
  bool Press(std::string_view button, std::string& error) override;
  void Accept() override { startimpClick(); }
  void Reject() override { cancimpClick(); }
  FormControls Texts() override;

  void startimpClick();
  void apperClick();
  void cancimpClick();
  void plusClick() { StepWidth(CurveHalves, +1); }
  void moinsClick() { StepWidth(CurveHalves, -1); }
  void plusGClick() { StepWidth(GridHalves, +1); }
  void moinsGClick() { StepWidth(GridHalves, -1); }
  void impcoulClick() { SetColour(true); }
  void impnbClick() { SetColour(false); }

  // The annotations in and out: the edits take them on Activate's caller's
  // behalf; Notes() reads the edits.
  void SetNotes(const PrintNotesRec& notes);
  PrintNotesRec Notes() const;
  // The page's style and paper as chosen.
  display::PageStyle Style() const;

  // Edits (caption = text), their labels, the choices, the width read-outs
  // and buttons, the paper, the buttons.
  Control nom, manip, remark, lblNom, lblManip, lblRemark;
  Control boxcoul, impcoul, impnb;
  Control boxcourbe, epcourbe, plus, moins, boxgrille, epgrille, plusG, moinsG;
  Control boxpapier, papA4, papLetter, portrait, paysage;
  Control startimp, apper, cancimp;

  bool Colour = false;
  int CurveHalves = 2;
  int GridHalves = 1;
  display::PaperSize Paper = display::PaperSize::A4;
  bool Landscape = false;
  // The preview, shown by the window with the dialog's choices.
  std::function<void()> Preview;

 private:
  void StepWidth(int& halves, int step);
  void SetColour(bool colour);
  void SetPaper(display::PaperSize paper, bool landscape);
};

// The preview window: its title is ours, its tools are the platform's.
struct TappForm {
  TappForm() { Caption.caption = "ID_FRM_APP_Aperçu avant impression"; }
  FormControls Texts() { return {{"Tapp", &Caption}}; }
  Control Caption;
};

}  // namespace rovanel::app
