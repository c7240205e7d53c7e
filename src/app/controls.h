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
};

struct Tools {
  // Tool bar speed buttons.
  Control acquisition, superposition, suppression, moyenne, rt;
  // Processing buttons.
  Control calibration, filtrage, invert, fft, pics, Grid, realgris;
  // Mode buttons and the buttons of the mode panels.
  Control mi, int_, opto, spectro, gosimu, spCalY, spColor, spColor2;
  Control opto1, lutln, lutnor, lutexp, opto2, gauss, cumul;
  // The peak group box.
  Control boxpic, picg, picd, picx, picy;
  // Panels and labels (the hidden ones hold translated texts).
  Control NivPotar, Message5, Message7, Message8, Titre4, Titre6, Titre8, Titre9, nbfr, FileNom;
  // Menu items.
  Control Quitter1, Acqurir1, Vecteurs1, Pics1, Points1, FiltrageMoyennage1, plut, phis;

  // Every control with its component name, in a stable order.
  std::vector<std::pair<std::string_view, Control*>> All();
  Control* Find(std::string_view name);
};

}  // namespace rovanel::app
