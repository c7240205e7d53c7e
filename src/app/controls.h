// The state of every control the handlers touch, as plain data named after
// the components, so the compiler checks every name.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rovanel::app {

struct Control {
  bool down = false;  // speed button down, or menu item checked
  bool enabled = true;
  bool visible = true;
  std::string caption;
  std::string hint;
  // List or page texts.
  std::vector<std::string> items;
  // The language keys the texts came from (kept so the language can change
  // while the program runs), and whether one of them is missing from the
  // dictionary (the view shows the control in red).
  std::string captionKey, hintKey;
  std::vector<std::string> itemKeys;
  bool marked = false;
};

// A form's controls, by component name.
using FormControls = std::vector<std::pair<std::string_view, Control*>>;

struct ScrollBar {
  int min = 0, max = 100, position = 0;
  bool visible = true;
  int largeChange = 1, smallChange = 1;
};

// A shape over the window (a marker, a bar), in its parent's pixels.
struct Shape {
  bool visible = true;
  int left = 0, top = 0, width = 0, height = 0;
};

struct Tools {
  // Tool bar speed buttons.
  Control acquisition, superposition, suppression, moyenne, rt;
  // Keeps the live frame as the acquired curve (live view only).
  Control rtFreeze;
  // Processing buttons.
  Control calibration, filtrage, invert, fft, pics, Grid, realgris;
  // Mode buttons and the buttons of the mode panels.
  Control mi, int_, opto, spectro, gosimu, spCalY, spColor, spColor2;
  // Mode panels whose contents come with their experiments, and the tools
  // the modes enable (files, printing, calculator, theory reminders).
  Control mich1, Mich2, int1, spectro1, spectro3, ebxWaist, lblL, lblmm, BarWaist;
  Control ouvrir, Sauver, imprimer, calc, rappels;
  // The series controls.
  Control SensiPlus, SensiMoins, InterAcc, DureePlus, DureeMoins, NbPts, startmi, Message4;
  Control Fichier1, Ouvrir1, Recents1, Sauver1, Enregistrer1, Exporter1, Imprimer1, Simulation1, Modeaff;
  Control opto1, lutln, lutnor, lutexp, opto2, gauss, cumul;
  // The peak group box.
  Control boxpic, picg, picd, picx, picy;
  // Cursors: the two pairs and their read-outs.
  Control cursv, cursh, boxcurs, coorv1, coorv2, Deltav, coorh1, coorh2, deltah;
  // Zoom: the panels held down to zoom, the read-out, full and whole views.
  Control boxzoom, ZoomMoins, ZoomAff, ZoomPlus, SpeedButton1, minizoom;
  // Spectral colour views.
  Control spectro2;
  // Spectrometer calibration: the reference lines, the library of lamp
  // lines, the wavelength table and the reference spectrum.
  Control NivRef, RefMoins, RefPlus, NumPix, spLbd, spLines, spInit, spIdentify, spCalcul;
  Control spOpnCal, spEtaFile, titre10, titre13;
  // Simulation: on/off, parameters, fit, the height and shift bars.
  Control paramint, Ajuster, intensbar, bar, Titre7;
  // Axis legends and the grid pitch.
  Control AffUniteX, AffUniteY, LblPasGrid, PasGrid, LblSensi;
  // Panels and labels (the hidden ones hold translated texts).
  Control NivPotar, Message5, Message6, Message7, Message8, nbfr, FileNom;
  Control Titre1, Titre2, Titre3, Titre4, Titre6, Titre8, Titre9, Titre11;
  // Menu items.
  Control Quitter1, Acqurir1, Vecteurs1, Pics1, Points1, Axes1, Grille1, Curseurs1, colorniv1;
  Control FiltrageMoyennage1, plut, phis, EditLambda1;
  // The Language menu, and the texts start-up writes in the status bar.
  Control Francais1, English1, Deutsch1;
  // The export menu and the texts the file commands use.
  Control Texte1, IDMITBASRegressi1, IDMITBASSynchronie1, Bitmap1;
  // The table exports, the spectrum's JCAMP-DX (shown in spectrometry) and
  // the Edit menu.
  Control Csv1, Jcamp1, JcampNm1, CopierDonnees1, CopierCourbe1;
  Control Message11, Message12, Message13, Message14;
  // The Help menu.
  Control Sommaire1;

  // Every control with its component name, in a stable order.
  std::vector<std::pair<std::string_view, Control*>> All();
  std::vector<std::pair<std::string_view, const Control*>> All() const {
    std::vector<std::pair<std::string_view, const Control*>> all;
    for (const auto& [name, c] : const_cast<Tools*>(this)->All()) all.emplace_back(name, c);
    return all;
  }
  Control* Find(std::string_view name);
  const Control* Find(std::string_view name) const {
    return const_cast<Tools*>(this)->Find(name);
  }
};

}  // namespace rovanel::app
