#include "app/control_table.h"

#include "app/main_window.h"

namespace rovanel::app {

namespace {

constexpr std::string_view kFichier = "ID_MIT_BAS_Fichier";
constexpr std::string_view kAcqMenu = "ID_MIT_BAS_Acquisition";
constexpr std::string_view kAffichage = "ID_MIT_BAS_Affichage";
constexpr std::string_view kTraitements = "ID_MIT_BAS_Traitements";
constexpr std::string_view kLangue = "ID_MIT_BAS_Langue";
constexpr std::string_view kExporter = "ID_MIT_BAS_E&xporter";
constexpr std::string_view kAide = "ID_MIT_BAS_Aide";

using T = Tools;
using F = TFp;
constexpr auto kTool = Place::Tool;
constexpr auto kMenu = Place::Menu;
constexpr auto kCheck = Place::Check;
constexpr auto kGroup = Place::Group;
constexpr auto kButton = Place::Button;
constexpr auto kText = Place::Text;
constexpr auto kHold = Place::Hold;
constexpr auto kEdit = Place::Edit;
constexpr auto kLabel = Place::Label;
constexpr auto kNone = Place::None;
constexpr auto kSubmenu = Place::Submenu;
constexpr auto kHScroll = Place::HScroll;
constexpr auto kVScroll = Place::VScroll;

// clang-format off
constexpr ControlSpec kControls[] = {
  // name           member              place    parent        toggle grp busy  handler
  {"acquisition",   &T::acquisition,   kTool,   {},           false, 0, false,  &F::acquisitionClick,
   "ID_BTN_BAS_Acquisition", "HINT_Acquisition"},
  {"superposition", &T::superposition, kTool,   {},           true,  0, false,  &F::superpositionClick,
   "ID_BTN_BAS_Superposition", "HINT_Superposition"},
  {"suppression",   &T::suppression,   kTool,   {},           false, 0, false,  &F::suppressionClick,
   "ID_BTN_BAS_Suppression", "HINT_Suppression"},
  {"moyenne",       &T::moyenne,       kTool,   {},           true,  0, false,  &F::moyenneClick,
   "ID_BTN_BAS_Moyenne", "HINT_Moyenne"},
  {"calibration",   &T::calibration,   kTool,   {},           true,  0, false, &F::calibrationClick,
   "ID_BTN_BAS_Calibration", "HINT_Auto-Calibration"},
  {"filtrage",      &T::filtrage,      kTool,   {},           true,  0, false, &F::calibrationClick,
   "ID_BTN_BAS_Filtrage", "HINT_Filtrage", true},
  {"invert",        &T::invert,        kTool,   {},           true,  0, false, &F::calibrationClick,
   "ID_BTN_BAS_Inversion", "HINT_Inversion"},
  {"fft",           &T::fft,           kTool,   {},           true,  0, false,  &F::fftClick,
   "ID_BTN_BAS_FFT", "HINT_CalculFFT"},
  {"ouvrir",        &T::ouvrir,        kTool,   "files",      false, 0, false, &F::ouvrirClick,
   "ID_BTN_BAS_Ouvrir", "HINT_Ouvrir"},
  {"Sauver",        &T::Sauver,        kTool,   "files",      false, 0, false, &F::Sauver1Click,
   "ID_BTN_BAS_Enregistrer", "HINT_Enregistrer"},
  {"Grid",          &T::Grid,          kTool,   "view",           true,  0, false, &F::GridClick,
   "ID_BTN_BAS_Grille", "HINT_Grille"},
  {"realgris",      &T::realgris,      kTool,   "view",           true,  0, false, &F::realgrisClick,
   "ID_BTN_BAS_Niveaux gris", "HINT_Niveaux de gris", true},
  {"cursv",         &T::cursv,         kTool,   "view",           true,  0, false, &F::cursvClick,
   "ID_BTN_BAS_Curseurs X", "HINT_Curseurs verticaux"},
  {"cursh",         &T::cursh,         kTool,   "view",           true,  0, false, &F::curshClick,
   "ID_BTN_BAS_Curseurs Y", "HINT_Curseurs horizontaux"},
  {"pics",          &T::pics,          kTool,   "view",           true,  0, false, &F::picsClick,
   "ID_BTN_BAS_Pics", "HINT_Détection pics"},
  {"rt",            &T::rt,            kTool,   "modes",           true,  9, false, &F::rtClick,
   "ID_BTN_BAS_Temps réel", "HINT_Temps réel"},
  {"mi",            &T::mi,            kTool,   "modes",           true,  9, false,  &F::miClick,
   "ID_BTN_MCH_onglet mich", {}},
  {"int",           &T::int_,          kTool,   "modes",           true,  9, false,  &F::miClick,
   "ID_BTN_INT_Interférences", {}},
  {"opto",          &T::opto,          kTool,   "modes",           true,  9, false,  &F::miClick,
   "ID_BTN_ANE_Analyse", {}},
  {"spectro",       &T::spectro,       kTool,   "modes",           true,  9, false,  &F::miClick,
   "ID_BTN_SPC_Spectrométrie", {}},
  {"mich1", &T::mich1, kGroup, {}, false, 0, false, nullptr, "ID_GBX_MCH_Durée", {}, false, false},
  {"Mich2", &T::Mich2, kGroup, {}, false, 0, false, nullptr, "ID_GBX_MCH_Points", {}, false, false},
  {"int1", &T::int1, kGroup, {}, false, 0, false, nullptr, "ID_GBX_INT_Simulation", {}, false, false},
  {"gosimu",        &T::gosimu,        kButton, "int1",       true,  0, false, &F::gosimuClick,
   "ID_BTN_INT_Simul.", "HINT_Mode simulation"},
  {"paramint",      &T::paramint,      kButton, "int1",       false, 0, false, &F::Simulation1Click,
   "ID_BTN_INT_Param.", "HINT_Paramètres simulation"},
  {"Ajuster",       &T::Ajuster,       kButton, "int1",       false, 0, false, &F::AjusterClick,
   "ID_BTN_INT_Ajuster", "HINT_Ajuster simulation"},
  {"intensbar",     &T::intensbar,     kVScroll, "int1",      false, 0, false, nullptr,
   {}, "HINT_Hauteur simulation"},
  {"bar",           &T::bar,           kHScroll, "int1",      false, 0, false, nullptr,
   {}, "HINT_Décalage simulation"},
  {"lblL",          &T::lblL,          kText,   "int1",       false, 0, false, nullptr, "L", {}, false, false},
  {"BarWaist",      &T::BarWaist,      kHScroll, "int1",      false, 0, false, nullptr,
   {}, "HINT_Waist", false, false},
  {"ebxWaist",      &T::ebxWaist,      kEdit,   "int1",       false, 0, false, &F::ebxWaistEnter,
   "1.00", "HINT_Waist", false, false},
  {"lblmm",         &T::lblmm,         kText,   "int1",       false, 0, false, nullptr, "mm", {}, false, false},
  {"spectro1", &T::spectro1, kGroup, {}, false, 0, false, nullptr, "ID_GBX_SPC_Etalonnage", {}, false, false},
  {"RefMoins",      &T::RefMoins,      kButton, "spectro1",   false, 0, false, &F::RefMoinsClick,
   "<", "HINT_Référence précédente"},
  {"NivRef",        &T::NivRef,        kButton, "spectro1",   false, 0, false, nullptr,
   " 1", "HINT_Numéro référence"},
  {"RefPlus",       &T::RefPlus,       kButton, "spectro1",   false, 0, false, &F::RefPlusClick,
   ">", "HINT_Référence suivante"},
  {"NumPix",        &T::NumPix,        kText,   "spectro1",   false, 0, false, nullptr,
   "200", "Pixel associé au point de référence"},
  {"spLbd",         &T::spLbd,         kEdit,   "spectro1",   false, 0, false, &F::spLbdEnter,
   "400.0", "HINT_Longueur d'onde référence"},
  {"spLines",       &T::spLines,       kButton, "spectro1",   false, 0, false, nullptr,
   "nm ▾", "HINT_Raies des lampes"},
  {"spInit",        &T::spInit,        kButton, "spectro1",   false, 0, false, &F::spInitClick,
   "ID_BTN_SPC_Défaut", "HINT_Valeur défaut points référence"},
  {"spCalcul",      &T::spCalcul,      kButton, "spectro1",   false, 0, false, &F::spCalculClick,
   "ID_BTN_SPC_Calcul", "HINT_Calcul courbe étalonnage abcisses"},
  {"spectro3", &T::spectro3, kGroup, {}, false, 0, false, nullptr, "ID_GBX_SPC_Calibrage", {}, false, false},
  {"spOpnCal",      &T::spOpnCal,      kButton, "spectro3",   false, 0, false, &F::spOpnCalClick,
   "ID_BTN_SPC_Charger", "HINT_Charger courbe calibrage"},
  {"spCalY",        &T::spCalY,        kButton, "spectro3",   true,  0, false, &F::spCalYClick,
   "ID_BTN_SPC_Corriger", "HINT_Etalonnage ordonnées"},
  {"spEtaFile",     &T::spEtaFile,     kText,   "spectro3",   false, 0, false, nullptr,
   "etalon.ccd", {}},
  {"titre10",       &T::titre10,       kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_SPC_point ref", {}, false, false},
  {"titre13",       &T::titre13,       kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_SPC_courbe etal", {}, false, false},
  {"Titre7",        &T::Titre7,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_calc int/diff", {}, false, false},
  {"SensiMoins", &T::SensiMoins, kTool, "modes", false, 0, false, &F::SensiMoinsClick, "-", "HINT_Sensibilité moins"},
  {"SensiPlus", &T::SensiPlus, kTool, "modes", false, 0, false, &F::SensiPlusClick, "+", "HINT_Sensibilité plus"},
  {"InterAcc", &T::InterAcc, kEdit, "mich1", false, 0, false, &F::InterAccEnter, "20", "HINT_Durée"},
  {"DureeMoins", &T::DureeMoins, kButton, "mich1", false, 0, false, &F::DureeMoinsClick, "-", "HINT_Durée moins"},
  {"DureePlus", &T::DureePlus, kButton, "mich1", false, 0, false, &F::DureePlusClick, "+", "HINT_Durée plus"},
  {"startmi", &T::startmi, kButton, "mich1", false, 0, false, &F::startmiClick, "ID_BTN_MCH_Démarrer", "HINT_Démarrer"},
  {"NbPts", &T::NbPts, kButton, "Mich2", false, 0, false, &F::NbPtsClick, "4096", "HINT_Nombre de points"},
  {"Message4", &T::Message4, kNone, {}, false, 0, false, nullptr, "ID_MES_INF_acq en cours", {}, false, false},
  {"imprimer",      &T::imprimer,      kTool,   "files",      false, 0, false, &F::imprimerClick,
   "ID_BTN_BAS_Imprimer", "HINT_Imprimer"},
  {"calc",          &T::calc,          kTool,   "view",       false, 0, false, &F::calcClick,
   "ID_BTN_BAS_Calcul", "HINT_Calculatrice"},
  {"rappels",       &T::rappels,       kTool,   "view",       false, 0, false, &F::rappelsClick,
   "ID_BTN_BAS_Rappels", "HINT_Rappels théoriques"},
  {"Fichier1", &T::Fichier1, kNone, {}, false, 0, false, nullptr, {}, {}, false, true},
  {"Modeaff", &T::Modeaff, kNone, {}, false, 0, false, nullptr, {}, {}, false, true},
  {"spectro2",      &T::spectro2,      kGroup,  {},           false, 0, false, nullptr,
   "ID_GBX_SPC_Affichage", {}, false, false},
  {"spColor",       &T::spColor,       kButton, "spectro2",   true,  0, false, &F::spColorClick,
   "ID_BTN_SPC_Couleurs", "HINT_Couleurs spectrales"},
  {"spColor2",      &T::spColor2,      kButton, "spectro2",   true,  0, false, &F::spColorClick,
   "ID_BTN_SPC_Barres", "HINT_Barres spectrales"},
  {"opto1",         &T::opto1,         kGroup,  {},           false, 0, false, nullptr,
   "ID_GBX_ANE_L.U.T.", {}, false, false},
  {"lutln",         &T::lutln,         kButton, "opto1",      true, 17, false, &F::lutlnClick,
   "ln", "HINT_Renforce bas nvx"},
  {"lutnor",        &T::lutnor,        kButton, "opto1",      true, 17, false, &F::lutnorClick,
   "=", "HINT_Identité", true},
  {"lutexp",        &T::lutexp,        kButton, "opto1",      true, 17, false, &F::lutexpClick,
   "exp", "HINT_Renforce haut nvx"},
  {"opto2",         &T::opto2,         kGroup,  {},           false, 0, false, nullptr,
   "ID_GBX_ANE_Histogrammes", {}, false, false},
  {"gauss",         &T::gauss,         kButton, "opto2",      true, 18, false, &F::gaussClick,
   "ID_BTN_ANE_Histo", "HINT_Histog"},
  {"cumul",         &T::cumul,         kButton, "opto2",      true, 18, false, &F::cumulClick,
   "ID_BTN_ANE_Cumul", "HINT_Histo cumulé"},
  {"boxpic",        &T::boxpic,        kGroup,  "below",           false, 0, false, nullptr,
   "ID_GBX_BAS_Détection pics", "HINT_Mesures pics"},
  {"picg",          &T::picg,          kButton, "boxpic",     false, 0, false, &F::picgClick,
   "<", "HINT_Pic précédent"},
  {"picd",          &T::picd,          kButton, "boxpic",     false, 0, false, &F::picdClick,
   ">", "HINT_Pic suivant"},
  {"picx",          &T::picx,          kText,   "boxpic",     false, 0, false, nullptr, "-", {}},
  {"picy",          &T::picy,          kText,   "boxpic",     false, 0, false, nullptr, "-", {}},
  {"boxcurs",       &T::boxcurs,       kGroup,  "below",           false, 0, false, nullptr,
   "ID_GBX_BAS_Curseurs", "HINT_Mesures curseurs"},
  {"coorv1",        &T::coorv1,        kText,   "boxcurs",    false, 0, false, nullptr, {}, {}},
  {"coorv2",        &T::coorv2,        kText,   "boxcurs",    false, 0, false, nullptr, {}, {}},
  {"Deltav",        &T::Deltav,        kText,   "boxcurs",    false, 0, false, nullptr, {}, {}},
  {"coorh1",        &T::coorh1,        kText,   "boxcurs",    false, 0, false, nullptr, {}, {}},
  {"coorh2",        &T::coorh2,        kText,   "boxcurs",    false, 0, false, nullptr, {}, {}},
  {"deltah",        &T::deltah,        kText,   "boxcurs",    false, 0, false, nullptr, {}, {}},
  {"nbfr",          &T::nbfr,          kText,   "boxcurs",    false, 0, false, nullptr, "-", {}},
  {"boxzoom",       &T::boxzoom,       kGroup,  {},           false, 0, false, nullptr,
   "ID_GBX_BAS_Zoom", {}},
  {"ZoomMoins",     &T::ZoomMoins,     kHold,   "boxzoom",    false, 0, false, &F::ZoomMoinsClick,
   "-", "HINT_Zoom moins"},
  {"ZoomPlus",      &T::ZoomPlus,      kHold,   "boxzoom",    false, 0, false, &F::ZoomPlusClick,
   "+", "HINT_Zoom plus"},
  {"SpeedButton1",  &T::SpeedButton1,  kButton, "boxzoom",    false, 0, false, &F::SpeedButton1Click,
   "1:1", "HINT_Zoom maximum"},
  {"minizoom",      &T::minizoom,      kButton, "boxzoom",    false, 0, false, &F::minizoomClick,
   "1:n", "HINT_Courbe entière", false, false},
  {"ZoomAff",       &T::ZoomAff,       kText,   "boxzoom",    false, 0, false, nullptr, "1:4", {}},
  {"AffUniteY",     &T::AffUniteY,     kLabel,  {},           false, 0, false, nullptr, "Y", {}},
  {"LblPasGrid",    &T::LblPasGrid,    kLabel,  {},           false, 0, false, nullptr,
   "ID_LBL_BAS_Pas grille", {}},
  {"PasGrid",       &T::PasGrid,       kLabel,  {},           false, 0, false, nullptr,
   "500µm", {}, false, false},
  {"AffUniteX",     &T::AffUniteX,     kLabel,  {},           false, 0, false, nullptr,
   "X  ( µm )", {}},
  {"NivPotar",      &T::NivPotar,      kLabel,  {},           false, 0, false, nullptr,
   "0", "HINT_Sensibilité caméra"},
  {"FileNom",       &T::FileNom,       kLabel,  {},           false, 0, false, nullptr, {}, {}},
  {"Message6",      &T::Message6,      kNone,   {},           false, 0, false, nullptr,
   "ID_MES_INF_pics", {}, false, false},
  {"Titre1",        &T::Titre1,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_axes", {}, false, false},
  {"Titre2",        &T::Titre2,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_grille", {}, false, false},
  {"Titre3",        &T::Titre3,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_curseurs", {}, false, false},
  {"Titre11",       &T::Titre11,       kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_cfg nvx clrs", {}, false, false},
  {"Message5",      &T::Message5,      kNone,   {},           false, 0, false, nullptr,
   "ID_MES_INF_points", {}, false, false},
  {"Message7",      &T::Message7,      kNone,   {},           false, 0, false, nullptr,
   "ID_MES_INF_moy en cours", {}, false, false},
  {"Message8",      &T::Message8,      kNone,   {},           false, 0, false, nullptr,
   "ID_MES_INF_acquisition", {}, false, false},
  {"Titre4",        &T::Titre4,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_filtrage", {}, false, false},
  {"Titre6",        &T::Titre6,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_calc mich", {}, false, false},
  {"Titre8",        &T::Titre8,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_histo", {}, false, false},
  {"Titre9",        &T::Titre9,        kNone,   {},           false, 0, false, nullptr,
   "ID_TRT_INF_corec gamma", {}, false, false},
  {"Ouvrir1",       &T::Ouvrir1,       kMenu,   kFichier,     false, 0, false, &F::ouvrirClick,
   "ID_MIT_BAS_Ouvrir...", "HINT_Ouvrir", false, true, "Ctrl+O"},
  {"Enregistrer1",  &T::Enregistrer1,  kMenu,   kFichier,     false, 0, false, &F::Sauver1Click,
   "ID_MIT_BAS_Enregistrer", "HINT_Enregistrer", false, true, "Ctrl+S"},
  {"Sauver1",       &T::Sauver1,       kMenu,   kFichier,     false, 0, false, &F::Sauver1Click,
   "ID_MIT_BAS_Enregistrer sous...", "HINT_Enregistrer"},
  {"Exporter1",     &T::Exporter1,     kSubmenu, kFichier,    false, 0, false, nullptr,
   kExporter, {}},
  {"Texte1",        &T::Texte1,        kMenu,   kExporter,    false, 0, false, &F::Texte1Click,
   "ID_MIT_BAS_&Texte", "HINT_Export texte"},
  {"IDMITBASRegressi1", &T::IDMITBASRegressi1, kMenu, kExporter, false, 0, false,
   &F::IDMITBASRegressi1Click, "ID_MIT_BAS_&Regressi", "HINT_Export Regressi"},
  {"IDMITBASSynchronie1", &T::IDMITBASSynchronie1, kMenu, kExporter, false, 0, false,
   &F::IDMITBASSynchronie1Click, "ID_MIT_BAS_&Synchronie", "HINT_Export Synchronie"},
  {"Bitmap1",       &T::Bitmap1,       kMenu,   kExporter,    false, 0, false, &F::Bitmap1Click,
   "ID_MIT_BAS_&Bitmap", "HINT_Export bitmap"},
  {"Message11", &T::Message11, kNone, {}, false, 0, false, nullptr, "ID_MES_INF_filtres texte", {}, false, false},
  {"Message12", &T::Message12, kNone, {}, false, 0, false, nullptr, "ID_MES_INF_sensibilite", {}, false, false},
  {"Message13", &T::Message13, kNone, {}, false, 0, false, nullptr, "ID_MES_INF_duree acq", {}, false, false},
  {"Message14", &T::Message14, kNone, {}, false, 0, false, nullptr, "ID_MES_INF_filtres bmp", {}, false, false},
  {"Imprimer1",     &T::Imprimer1,     kMenu,   kFichier,     false, 0, false, &F::Imprimer1Click,
   "ID_MIT_BAS_Imprimer...", "HINT_Imprimer", false, true, "Ctrl+P"},
  {"Quitter1",      &T::Quitter1,      kMenu,   kFichier,     false, 0, true, &F::Quitter1Click,
   "ID_MIT_BAS_Quitter", "HINT_Quitter"},
  {"Acqurir1",      &T::Acqurir1,      kMenu,   kAcqMenu,     false, 0, false,  &F::acquisitionClick,
   "ID_MIT_BAS_Acquérir", "HINT_Acquisition", false, true, "F8"},
  {"Vecteurs1",     &T::Vecteurs1,     kCheck,  kAffichage,   false, 0, true, &F::Vecteurs1Click,
   "ID_MIT_BAS_Vecteurs", "HINT_Vecteurs"},
  {"Pics1",         &T::Pics1,         kCheck,  kAffichage,   false, 0, true, &F::Pics1Click,
   "ID_MIT_BAS_Pics", "HINT_Pics", true},
  {"Points1",       &T::Points1,       kCheck,  kAffichage,   false, 0, true, &F::Points1Click,
   "ID_MIT_BAS_Points", "HINT_Points"},
  {"Axes1",         &T::Axes1,         kMenu,   kAffichage,   false, 0, false, &F::Axes1Click,
   "ID_MIT_BAS_Axes", {}},
  {"Grille1",       &T::Grille1,       kMenu,   kAffichage,   false, 0, false, &F::Grille1Click,
   "ID_MIT_BAS_Grille", {}},
  {"Curseurs1",     &T::Curseurs1,     kMenu,   kAffichage,   false, 0, false, &F::Curseurs1Click,
   "ID_MIT_BAS_Curseurs", {}},
  {"colorniv1",     &T::colorniv1,     kMenu,   kAffichage,   false, 0, false, &F::colorniv1Click,
   "ID_MIT_BAS_Niveaux couleurs", {}},
  {"EditLambda1",   &T::EditLambda1,   kMenu,   kTraitements, false, 0, false, &F::EditLambda1Click,
   "ID_MIT_SPC_Longueur d'onde", {}, false, false},
  {"Simulation1",   &T::Simulation1,   kMenu,   kTraitements, false, 0, false, &F::Simulation1Click,
   "ID_MIT_INT_Simulation", {}, false, false},
  {"FiltrageMoyennage1", &T::FiltrageMoyennage1, kMenu, kTraitements, false, 0, false,
   &F::FiltrageMoyennage1Click, "ID_MIT_BAS_Filtrage / Moyennage", {}},
  {"plut",          &T::plut,          kMenu,   kTraitements, false, 0, false, &F::plutClick,
   "ID_MIT_ANE_Coefficients L.U.T.", {}},
  {"phis",          &T::phis,          kMenu,   kTraitements, false, 0, false, &F::phisClick,
   "ID_MIT_ANE_Largeur barres histogramme", {}},
  // Each language in its own name.
  {"Francais1",     &T::Francais1,     kCheck,  kLangue,      false, 0, true,  &F::Francais1Click,
   "Français", {}},
  {"English1",      &T::English1,      kCheck,  kLangue,      false, 0, true,  &F::English1Click,
   "English", {}},
  {"Deutsch1",      &T::Deutsch1,      kCheck,  kLangue,      false, 0, true,  &F::Deutsch1Click,
   "Deutsch", {}},
  {"Sommaire1",     &T::Sommaire1,     kMenu,   kAide,        false, 0, true,  &F::Sommaire1Click,
   "ID_MIT_BAS_Sommaire", {}, false, true, "F1"},
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
