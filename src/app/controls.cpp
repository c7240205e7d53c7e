#include "app/controls.h"

namespace rovanel::app {

std::vector<std::pair<std::string_view, Control*>> Tools::All() {
  return {{"acquisition", &acquisition},
          {"superposition", &superposition},
          {"suppression", &suppression},
          {"moyenne", &moyenne},
          {"rt", &rt},
          {"fft", &fft},
          {"pics", &pics},
          {"calibration", &calibration},
          {"filtrage", &filtrage},
          {"invert", &invert},
          {"Grid", &Grid},
          {"realgris", &realgris},
          {"gosimu", &gosimu},
          {"mi", &mi},
          {"spectro", &spectro},
          {"NivPotar", &NivPotar},
          {"Message7", &Message7},
          {"Message8", &Message8},
          {"nbfr", &nbfr},
          {"FileNom", &FileNom},
          {"Acqurir1", &Acqurir1},
          {"Vecteurs1", &Vecteurs1},
          {"Pics1", &Pics1},
          {"Points1", &Points1},
          {"Quitter1", &Quitter1}};
}

Control* Tools::Find(std::string_view name) {
  for (auto& [n, c] : All())
    if (n == name) return c;
  return nullptr;
}

}  // namespace rovanel::app
