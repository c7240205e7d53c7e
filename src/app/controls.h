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
  // Processing and mode buttons that the handlers here read or set.
  Control fft, pics, calibration, filtrage, invert, Grid, realgris, gosimu, mi, spectro;
  // Panels and labels.
  Control NivPotar, Message7, Message8, nbfr, FileNom;
  // Menu items.
  Control Acqurir1, Vecteurs1, Pics1, Points1, Quitter1;

  // Every control with its component name, in a stable order.
  std::vector<std::pair<std::string_view, Control*>> All();
  Control* Find(std::string_view name);
};

}  // namespace rovanel::app
