#include "app/dialogs/imp.h"

#include <algorithm>

namespace rovanel::app {

std::string WidthText(int halves) {
  switch (halves) {
    case 1:
      return "1/2";
    case 2:
      return "1";
    case 3:
      return "3/2";
    case 4:
      return "2";
    default:
      return "?";
  }
}

std::string FirstCharacters(std::string_view text, int limit) {
  std::size_t end = 0;
  for (int n = 0; end < text.size() && n < limit; ++n) {
    ++end;  // past the lead byte, then past its continuation bytes
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(text.substr(0, end));
}

Timp::Timp() {
  Caption = "ID_FRM_IMP_Impression";
  lblNom.caption = "ID_LBL_IMP_Nom(s)";
  lblManip.caption = "ID_LBL_IMP_Manipulation";
  lblRemark.caption = "ID_LBL_IMP_Remarques";
  nom.hint = "HINT_IMP_Nom";
  manip.hint = "HINT_IMP_Manipulation";
  remark.hint = "HINT_IMP_Remarques";
  boxcoul.caption = "ID_GBX_IMP_Couleurs";
  impcoul.caption = "ID_RBT_IMP_Couleur";
  impnb.caption = "ID_RBT_IMP_Noir et blanc";
  boxcourbe.caption = "ID_GBX_IMP_Epaisseur courbes";
  boxgrille.caption = "ID_GBX_IMP_Epaisseur grille";
  plus.caption = plusG.caption = "+";
  moins.caption = moinsG.caption = "-";
  plus.hint = plusG.hint = "HINT_IMP_Plus épais";
  moins.hint = moinsG.hint = "HINT_IMP_Moins épais";
  boxpapier.caption = "ID_GBX_IMP_Papier";
  papA4.caption = "A4";
  papLetter.caption = "Letter";
  portrait.caption = "ID_RBT_IMP_Portrait";
  paysage.caption = "ID_RBT_IMP_Paysage";
  startimp.caption = "ID_BTN_IMP_Imprimer";
  apper.caption = "ID_BTN_IMP_Aperçu";
  cancimp.caption = "ID_BTN_BAS_Annuler";
  startimp.hint = "HINT_IMP_Imprimer";
  apper.hint = "HINT_IMP_Aperçu";
  SetColour(false);
  StepWidth(CurveHalves, 0);
  StepWidth(GridHalves, 0);
  SetPaper(Paper, Landscape);
}

FormControls Timp::Texts() {
#define ROVANEL_C(x) {#x, &x}
  return {ROVANEL_C(lblNom),    ROVANEL_C(lblManip),  ROVANEL_C(lblRemark), ROVANEL_C(nom),
          ROVANEL_C(manip),     ROVANEL_C(remark),    ROVANEL_C(boxcoul),   ROVANEL_C(impcoul),
          ROVANEL_C(impnb),     ROVANEL_C(boxcourbe), ROVANEL_C(plus),      ROVANEL_C(moins),
          ROVANEL_C(boxgrille), ROVANEL_C(plusG),     ROVANEL_C(moinsG),    ROVANEL_C(boxpapier),
          ROVANEL_C(portrait),  ROVANEL_C(paysage),   ROVANEL_C(startimp),  ROVANEL_C(apper),
          ROVANEL_C(cancimp)};
#undef ROVANEL_C
}

void Timp::Activate() {
  closed = accepted = false;
  error.clear();
}

void Timp::SetNotes(const PrintNotesRec& notes) {
  nom.caption = FirstCharacters(notes.NomText, kNomLimit);
  manip.caption = FirstCharacters(notes.ManipText, kManipLimit);
  remark.caption = FirstCharacters(notes.RemarkText, kRemarkLimit);
}

PrintNotesRec Timp::Notes() const {
  return {FirstCharacters(nom.caption, kNomLimit), FirstCharacters(manip.caption, kManipLimit),
          FirstCharacters(remark.caption, kRemarkLimit)};
}

display::PageStyle Timp::Style() const {
  display::PageStyle style;
  style.colour = Colour;
  style.curveWidthPt = CurveHalves / 2.0;
  style.gridWidthPt = GridHalves / 2.0;
  return style;
}

void Timp::StepWidth(int& halves, int step) {
  halves = std::clamp(halves + step, kMinWidthHalves, kMaxWidthHalves);
  epcourbe.caption = WidthText(CurveHalves);
  epgrille.caption = WidthText(GridHalves);
  moins.enabled = CurveHalves > kMinWidthHalves;
  plus.enabled = CurveHalves < kMaxWidthHalves;
  moinsG.enabled = GridHalves > kMinWidthHalves;
  plusG.enabled = GridHalves < kMaxWidthHalves;
}

void Timp::SetColour(bool colour) {
  Colour = colour;
  impcoul.down = colour;
  impnb.down = !colour;
}

void Timp::SetPaper(display::PaperSize paper, bool landscape) {
  Paper = paper;
  Landscape = landscape;
  papA4.down = paper == display::PaperSize::A4;
  papLetter.down = !papA4.down;
  paysage.down = landscape;
  portrait.down = !landscape;
}

void Timp::startimpClick() {
  Close(true);
}

void Timp::apperClick() {
  if (Preview) Preview();
}

void Timp::cancimpClick() {
  Close(false);
}

bool Timp::SetField(std::string_view field, std::string_view value, std::string& error) {
  if (field == "nom" || field == "manip" || field == "remark") {
    Control& edit = field == "nom" ? nom : field == "manip" ? manip : remark;
    const int limit = field == "remark" ? kRemarkLimit : field == "nom" ? kNomLimit : kManipLimit;
    edit.caption = FirstCharacters(value, limit);
    return true;
  }
  if (field == "couleur" && (value == "0" || value == "1")) {
    SetColour(value == "1");
    return true;
  }
  if (field == "paper" && (value == "A4" || value == "Letter")) {
    SetPaper(value == "A4" ? display::PaperSize::A4 : display::PaperSize::Letter, Landscape);
    return true;
  }
  if (field == "orientation" && (value == "portrait" || value == "landscape")) {
    SetPaper(Paper, value == "landscape");
    return true;
  }
  if (field == "couleur" || field == "paper" || field == "orientation") {
    error = std::string(field) + " takes " +
            (field == "couleur" ? "1 (colour) or 0 (black and white)"
             : field == "paper" ? "A4 or Letter"
                                : "portrait or landscape") +
            ", not '" + std::string(value) + "'";
    return false;
  }
  error = "no field '" + std::string(field) + "' in Timp";
  return false;
}

bool Timp::Press(std::string_view button, std::string& error) {
  using Handler = void (Timp::*)();
  static constexpr std::pair<std::string_view, Handler> kButtons[] = {
      {"plus", &Timp::plusClick},         {"moins", &Timp::moinsClick},
      {"plusG", &Timp::plusGClick},       {"moinsG", &Timp::moinsGClick},
      {"impcoul", &Timp::impcoulClick},   {"impnb", &Timp::impnbClick},
      {"startimp", &Timp::startimpClick}, {"apper", &Timp::apperClick},
      {"cancimp", &Timp::cancimpClick}};
  for (const auto& [name, handler] : kButtons)
    if (name == button) {
      (this->*handler)();
      return true;
    }
  if (button == "papA4" || button == "papLetter") {
    SetPaper(button == "papA4" ? display::PaperSize::A4 : display::PaperSize::Letter, Landscape);
    return true;
  }
  if (button == "portrait" || button == "paysage") {
    SetPaper(Paper, button == "paysage");
    return true;
  }
  error = "no button '" + std::string(button) + "' in Timp";
  return false;
}

}  // namespace rovanel::app
