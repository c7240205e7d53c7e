#include "app/control_table.h"

#include "app/main_window.h"

namespace rovanel::app {

namespace {

constexpr std::string_view kFichier = "ID_MIT_BAS_Fichier";
constexpr std::string_view kAcquisition = "ID_MIT_BAS_Acquisition";
constexpr std::string_view kAffichage = "ID_MIT_BAS_Affichage";

using T = Tools;
using F = TFp;
constexpr auto kTool = Place::Tool;
constexpr auto kMenu = Place::Menu;
constexpr auto kCheck = Place::Check;
constexpr auto kLabel = Place::Label;
constexpr auto kNone = Place::None;

// clang-format off
constexpr ControlSpec kControls[] = {
  // name            member              place  menu          toggle curves handler
  {"acquisition",   &T::acquisition,   kTool,  {},           false, true,  &F::acquisitionClick,
   "ID_BTN_BAS_Acquisition", "HINT_Acquisition"},
  {"superposition", &T::superposition, kTool,  {},           true,  true,  &F::superpositionClick,
   "ID_BTN_BAS_Superposition", "HINT_Superposition"},
  {"suppression",   &T::suppression,   kTool,  {},           false, true,  &F::suppressionClick,
   "ID_BTN_BAS_Suppression", "HINT_Suppression"},
  {"moyenne",       &T::moyenne,       kTool,  {},           true,  true,  &F::moyenneClick,
   "ID_BTN_BAS_Moyenne", "HINT_Moyenne"},
  {"rt",            &T::rt,            kNone,  {},           true,  true,  nullptr,
   "ID_BTN_BAS_Temps réel", "HINT_Temps réel"},
  {"fft",           &T::fft,           kNone,  {},           true,  true,  nullptr,
   "ID_BTN_BAS_FFT", "HINT_CalculFFT"},
  {"pics",          &T::pics,          kNone,  {},           true,  false, nullptr,
   "ID_BTN_BAS_Pics", "HINT_Détection pics"},
  {"calibration",   &T::calibration,   kNone,  {},           true,  false, nullptr,
   "ID_BTN_BAS_Calibration", "HINT_Auto-Calibration"},
  {"filtrage",      &T::filtrage,      kNone,  {},           true,  false, nullptr,
   "ID_BTN_BAS_Filtrage", "HINT_Filtrage"},
  {"invert",        &T::invert,        kNone,  {},           true,  false, nullptr,
   "ID_BTN_BAS_Inversion", "HINT_Inversion"},
  {"Grid",          &T::Grid,          kNone,  {},           true,  false, nullptr, {}, {}},
  {"realgris",      &T::realgris,      kNone,  {},           true,  false, nullptr, {}, {}},
  {"gosimu",        &T::gosimu,        kNone,  {},           true,  true,  nullptr, {}, {}},
  {"mi",            &T::mi,            kNone,  {},           true,  true,  nullptr, {}, {}},
  {"spectro",       &T::spectro,       kNone,  {},           true,  true,  nullptr, {}, {}},
  {"NivPotar",      &T::NivPotar,      kLabel, {},           false, false, nullptr,
   "0", "HINT_Sensibilité caméra"},
  {"Message7",      &T::Message7,      kNone,  {},           false, false, nullptr,
   "ID_MES_INF_moy en cours", {}, false},
  {"Message8",      &T::Message8,      kNone,  {},           false, false, nullptr,
   "ID_MES_INF_acquisition", {}, false},
  {"nbfr",          &T::nbfr,          kNone,  {},           false, false, nullptr, "-", {}},
  {"FileNom",       &T::FileNom,       kLabel, {},           false, false, nullptr, {}, {}},
  {"Quitter1",      &T::Quitter1,      kMenu,  kFichier,     false, false, &F::Quitter1Click,
   "ID_MIT_BAS_Quitter", "HINT_Quitter"},
  {"Acqurir1",      &T::Acqurir1,      kMenu,  kAcquisition, false, true,  &F::acquisitionClick,
   "ID_MIT_BAS_Acquérir", "HINT_Acquisition", true, "F8"},
  {"Vecteurs1",     &T::Vecteurs1,     kCheck, kAffichage,   false, false, &F::Vecteurs1Click,
   "ID_MIT_BAS_Vecteurs", "HINT_Vecteurs"},
  {"Pics1",         &T::Pics1,         kCheck, kAffichage,   false, false, &F::Pics1Click,
   "ID_MIT_BAS_Pics", "HINT_Pics"},
  {"Points1",       &T::Points1,       kCheck, kAffichage,   false, false, &F::Points1Click,
   "ID_MIT_BAS_Points", "HINT_Points"},
};
// clang-format on

}  // namespace

std::span<const ControlSpec> ControlTable() {
  return kControls;
}

const ControlSpec* FindControl(std::string_view name) {
  for (const ControlSpec& c : kControls)
    if (c.name == name) return &c;
  return nullptr;
}

std::vector<std::pair<std::string_view, Control*>> Tools::All() {
  std::vector<std::pair<std::string_view, Control*>> all;
  all.reserve(std::size(kControls));
  for (const ControlSpec& c : kControls) all.emplace_back(c.name, &(this->*(c.member)));
  return all;
}

Control* Tools::Find(std::string_view name) {
  const ControlSpec* c = FindControl(name);
  return c ? &(this->*(c->member)) : nullptr;
}

}  // namespace rovanel::app
