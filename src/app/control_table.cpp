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
constexpr std::string_view kEdition = "ID_MIT_BAS_Edition";

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
  Spec(kTool, "acquisition", &T::acquisition, &F::acquisitionClick, "ID_BTN_BAS_Acquisition", "HINT_Acquisition"),
  Spec(kTool, "superposition", &T::superposition, &F::superpositionClick, "ID_BTN_BAS_Superposition", "HINT_Superposition").Toggle(),
  Spec(kTool, "suppression", &T::suppression, &F::suppressionClick, "ID_BTN_BAS_Suppression", "HINT_Suppression"),
  Spec(kTool, "moyenne", &T::moyenne, &F::moyenneClick, "ID_BTN_BAS_Moyenne", "HINT_Moyenne").Toggle(),
  Spec(kTool, "calibration", &T::calibration, &F::calibrationClick, "ID_BTN_BAS_Calibration", "HINT_Auto-Calibration").Toggle(),
  Spec(kTool, "filtrage", &T::filtrage, &F::calibrationClick, "ID_BTN_BAS_Filtrage", "HINT_Filtrage").Toggle().Down(),
  Spec(kTool, "invert", &T::invert, &F::calibrationClick, "ID_BTN_BAS_Inversion", "HINT_Inversion").Toggle(),
  Spec(kTool, "fft", &T::fft, &F::fftClick, "ID_BTN_BAS_FFT", "HINT_CalculFFT").Toggle(),
  Spec(kTool, "ouvrir", &T::ouvrir, &F::ouvrirClick, "ID_BTN_BAS_Ouvrir", "HINT_Ouvrir").On("files"),
  Spec(kTool, "Sauver", &T::Sauver, &F::Sauver1Click, "ID_BTN_BAS_Enregistrer", "HINT_Enregistrer").On("files"),
  Spec(kTool, "Grid", &T::Grid, &F::GridClick, "ID_BTN_BAS_Grille", "HINT_Grille").On("view").Toggle(),
  Spec(kTool, "realgris", &T::realgris, &F::realgrisClick, "ID_BTN_BAS_Niveaux gris", "HINT_Niveaux de gris").On("view").Toggle().Down(),
  Spec(kTool, "cursv", &T::cursv, &F::cursvClick, "ID_BTN_BAS_Curseurs X", "HINT_Curseurs verticaux").On("view").Toggle(),
  Spec(kTool, "cursh", &T::cursh, &F::curshClick, "ID_BTN_BAS_Curseurs Y", "HINT_Curseurs horizontaux").On("view").Toggle(),
  Spec(kTool, "pics", &T::pics, &F::picsClick, "ID_BTN_BAS_Pics", "HINT_Détection pics").On("view").Toggle(),
  Spec(kTool, "rt", &T::rt, &F::rtClick, "ID_BTN_BAS_Temps réel", "HINT_Temps réel").On("modes").Toggle(9),
  Spec(kTool, "rtFreeze", &T::rtFreeze, &F::rtFreezeClick, "ID_BTN_BAS_Figer", "HINT_Figer").On("modes"),
  Spec(kTool, "mi", &T::mi, &F::miClick, "ID_BTN_MCH_onglet mich", {}).On("modes").Toggle(9),
  Spec(kTool, "int", &T::int_, &F::miClick, "ID_BTN_INT_Interférences", {}).On("modes").Toggle(9),
  Spec(kTool, "opto", &T::opto, &F::miClick, "ID_BTN_ANE_Analyse", {}).On("modes").Toggle(9),
  Spec(kTool, "spectro", &T::spectro, &F::miClick, "ID_BTN_SPC_Spectrométrie", {}).On("modes").Toggle(9),
  Spec(kGroup, "mich1", &T::mich1, nullptr, "ID_GBX_MCH_Durée", {}).Hidden(),
  Spec(kGroup, "Mich2", &T::Mich2, nullptr, "ID_GBX_MCH_Points", {}).Hidden(),
  Spec(kGroup, "int1", &T::int1, nullptr, "ID_GBX_INT_Simulation", {}).Hidden(),
  Spec(kButton, "gosimu", &T::gosimu, &F::gosimuClick, "ID_BTN_INT_Simul.", "HINT_Mode simulation").On("int1").Toggle(),
  Spec(kButton, "paramint", &T::paramint, &F::Simulation1Click, "ID_BTN_INT_Param.", "HINT_Paramètres simulation").On("int1"),
  Spec(kButton, "Ajuster", &T::Ajuster, &F::AjusterClick, "ID_BTN_INT_Ajuster", "HINT_Ajuster simulation").On("int1"),
  Spec(kVScroll, "intensbar", &T::intensbar, nullptr, "ID_LBL_SIM_Hauteur", "HINT_Hauteur simulation").On("int1").Sets(&F::MoveBar),
  Spec(kHScroll, "bar", &T::bar, nullptr, "ID_LBL_SIM_Decalage", "HINT_Décalage simulation").On("int1").Sets(&F::MoveBar),
  Spec(kText, "lblL", &T::lblL, nullptr, "L", {}).On("int1").Hidden(),
  Spec(kHScroll, "BarWaist", &T::BarWaist, nullptr, {}, "HINT_Waist").On("int1").Hidden().Sets(&F::MoveBar),
  Spec(kEdit, "ebxWaist", &T::ebxWaist, &F::ebxWaistEnter, "1.00", "HINT_Waist").On("int1").Hidden().Sets(&F::TypeThenEnter).ReadsKeys(&F::ebxWaistKeyPress),
  Spec(kText, "lblmm", &T::lblmm, nullptr, "mm", {}).On("int1").Hidden(),
  Spec(kGroup, "spectro1", &T::spectro1, nullptr, "ID_GBX_SPC_Etalonnage", {}).Hidden(),
  Spec(kButton, "RefMoins", &T::RefMoins, &F::RefMoinsClick, "<", "HINT_Référence précédente").On("spectro1"),
  Spec(kButton, "NivRef", &T::NivRef, nullptr, " 1", "HINT_Numéro référence").On("spectro1"),
  Spec(kButton, "RefPlus", &T::RefPlus, &F::RefPlusClick, ">", "HINT_Référence suivante").On("spectro1"),
  Spec(kText, "NumPix", &T::NumPix, nullptr, "200", "Pixel associé au point de référence").On("spectro1"),
  Spec(kEdit, "spLbd", &T::spLbd, &F::spLbdEnter, "400.0", "HINT_Longueur d'onde référence").On("spectro1").Sets(&F::Type).ReadsKeys(&F::spLbdKeyPress),
  Spec(kButton, "spLines", &T::spLines, nullptr, "nm ▾", "HINT_Raies des lampes").On("spectro1").Sets(&F::ChooseLampLine),
  Spec(kButton, "spInit", &T::spInit, &F::spInitClick, "ID_BTN_SPC_Défaut", "HINT_Valeur défaut points référence").On("spectro1"),
  Spec(kButton, "spIdentify", &T::spIdentify, &F::spIdentifyClick, "ID_BTN_SPC_Identifier", "HINT_Identifier raies").On("spectro1"),
  Spec(kButton, "spCalcul", &T::spCalcul, &F::spCalculClick, "ID_BTN_SPC_Calcul", "HINT_Calcul courbe étalonnage abcisses").On("spectro1"),
  Spec(kGroup, "spectro3", &T::spectro3, nullptr, "ID_GBX_SPC_Calibrage", {}).Hidden(),
  Spec(kButton, "spOpnCal", &T::spOpnCal, &F::spOpnCalClick, "ID_BTN_SPC_Charger", "HINT_Charger courbe calibrage").On("spectro3"),
  Spec(kButton, "spCalY", &T::spCalY, &F::spCalYClick, "ID_BTN_SPC_Corriger", "HINT_Etalonnage ordonnées").On("spectro3").Toggle(),
  Spec(kText, "spEtaFile", &T::spEtaFile, nullptr, "etalon.ccd", {}).On("spectro3"),
  Spec(kNone, "titre10", &T::titre10, nullptr, "ID_TRT_SPC_point ref", {}).Hidden(),
  Spec(kNone, "titre13", &T::titre13, nullptr, "ID_TRT_SPC_courbe etal", {}).Hidden(),
  Spec(kNone, "Titre7", &T::Titre7, nullptr, "ID_TRT_INF_calc int/diff", {}).Hidden(),
  Spec(kTool, "SensiMoins", &T::SensiMoins, &F::SensiMoinsClick, "ID_BTN_BAS_Sensi moins", "HINT_Sensibilité moins").On("modes"),
  Spec(kTool, "SensiPlus", &T::SensiPlus, &F::SensiPlusClick, "ID_BTN_BAS_Sensi plus", "HINT_Sensibilité plus").On("modes"),
  Spec(kEdit, "InterAcc", &T::InterAcc, &F::InterAccEnter, "20", "HINT_Durée").On("mich1").Sets(&F::TypeDuration).ReadsKeys(&F::InterAccKeyPress),
  Spec(kButton, "DureeMoins", &T::DureeMoins, &F::DureeMoinsClick, "-", "HINT_Durée moins").On("mich1"),
  Spec(kButton, "DureePlus", &T::DureePlus, &F::DureePlusClick, "+", "HINT_Durée plus").On("mich1"),
  Spec(kButton, "startmi", &T::startmi, &F::startmiClick, "ID_BTN_MCH_Démarrer", "HINT_Démarrer").On("mich1"),
  Spec(kButton, "NbPts", &T::NbPts, &F::NbPtsClick, "4096", "HINT_Nombre de points").On("Mich2"),
  Spec(kNone, "Message4", &T::Message4, nullptr, "ID_MES_INF_acq en cours", {}).Hidden(),
  Spec(kTool, "imprimer", &T::imprimer, &F::imprimerClick, "ID_BTN_BAS_Imprimer", "HINT_Imprimer").On("files"),
  Spec(kTool, "calc", &T::calc, &F::calcClick, "ID_BTN_BAS_Calcul", "HINT_Calculatrice").On("view"),
  Spec(kTool, "rappels", &T::rappels, &F::rappelsClick, "ID_BTN_BAS_Rappels", "HINT_Rappels théoriques").On("view"),
  Spec(kNone, "Fichier1", &T::Fichier1, nullptr, {}, {}),
  Spec(kNone, "Modeaff", &T::Modeaff, nullptr, {}, {}),
  Spec(kGroup, "spectro2", &T::spectro2, nullptr, "ID_GBX_SPC_Affichage", {}).Hidden(),
  Spec(kButton, "spColor", &T::spColor, &F::spColorClick, "ID_BTN_SPC_Couleurs", "HINT_Couleurs spectrales").On("spectro2").Toggle(),
  Spec(kButton, "spColor2", &T::spColor2, &F::spColorClick, "ID_BTN_SPC_Barres", "HINT_Barres spectrales").On("spectro2").Toggle(),
  Spec(kGroup, "opto1", &T::opto1, nullptr, "ID_GBX_ANE_L.U.T.", {}).Hidden(),
  Spec(kButton, "lutln", &T::lutln, &F::lutlnClick, "ln", "HINT_Renforce bas nvx").On("opto1").Toggle(17),
  Spec(kButton, "lutnor", &T::lutnor, &F::lutnorClick, "=", "HINT_Identité").On("opto1").Toggle(17).Down(),
  Spec(kButton, "lutexp", &T::lutexp, &F::lutexpClick, "exp", "HINT_Renforce haut nvx").On("opto1").Toggle(17),
  Spec(kGroup, "opto2", &T::opto2, nullptr, "ID_GBX_ANE_Histogrammes", {}).Hidden(),
  Spec(kButton, "gauss", &T::gauss, &F::gaussClick, "ID_BTN_ANE_Histo", "HINT_Histog").On("opto2").Toggle(18),
  Spec(kButton, "cumul", &T::cumul, &F::cumulClick, "ID_BTN_ANE_Cumul", "HINT_Histo cumulé").On("opto2").Toggle(18),
  Spec(kGroup, "boxpic", &T::boxpic, nullptr, "ID_GBX_BAS_Détection pics", "HINT_Mesures pics").On("below"),
  Spec(kButton, "picg", &T::picg, &F::picgClick, "<", "HINT_Pic précédent").On("boxpic"),
  Spec(kButton, "picd", &T::picd, &F::picdClick, ">", "HINT_Pic suivant").On("boxpic"),
  Spec(kText, "picx", &T::picx, nullptr, "-", {}).On("boxpic"),
  Spec(kText, "picy", &T::picy, nullptr, "-", {}).On("boxpic"),
  Spec(kGroup, "boxcurs", &T::boxcurs, nullptr, "ID_GBX_BAS_Curseurs", "HINT_Mesures curseurs").On("below"),
  Spec(kText, "coorv1", &T::coorv1, nullptr, {}, {}).On("boxcurs"),
  Spec(kText, "coorv2", &T::coorv2, nullptr, {}, {}).On("boxcurs"),
  Spec(kText, "Deltav", &T::Deltav, nullptr, {}, {}).On("boxcurs"),
  Spec(kText, "coorh1", &T::coorh1, nullptr, {}, {}).On("boxcurs"),
  Spec(kText, "coorh2", &T::coorh2, nullptr, {}, {}).On("boxcurs"),
  Spec(kText, "deltah", &T::deltah, nullptr, {}, {}).On("boxcurs"),
  Spec(kText, "nbfr", &T::nbfr, nullptr, "-", {}).On("boxcurs"),
  Spec(kGroup, "boxzoom", &T::boxzoom, nullptr, "ID_GBX_BAS_Zoom", {}),
  Spec(kHold, "ZoomMoins", &T::ZoomMoins, &F::ZoomMoinsClick, "-", "HINT_Zoom moins").On("boxzoom"),
  Spec(kHold, "ZoomPlus", &T::ZoomPlus, &F::ZoomPlusClick, "+", "HINT_Zoom plus").On("boxzoom"),
  Spec(kButton, "SpeedButton1", &T::SpeedButton1, &F::SpeedButton1Click, "1:1", "HINT_Zoom maximum").On("boxzoom"),
  Spec(kButton, "minizoom", &T::minizoom, &F::minizoomClick, "1:n", "HINT_Courbe entière").On("boxzoom").Hidden(),
  Spec(kText, "ZoomAff", &T::ZoomAff, nullptr, "1:4", {}).On("boxzoom"),
  Spec(kLabel, "AffUniteY", &T::AffUniteY, nullptr, "Y", {}),
  Spec(kLabel, "LblPasGrid", &T::LblPasGrid, nullptr, "ID_LBL_BAS_Pas grille", {}),
  Spec(kLabel, "PasGrid", &T::PasGrid, nullptr, "500µm", {}).Hidden(),
  Spec(kLabel, "AffUniteX", &T::AffUniteX, nullptr, "X  ( µm )", {}),
  Spec(kLabel, "LblSensi", &T::LblSensi, nullptr, "ID_LBL_BAS_Sensibilite", {}),
  Spec(kLabel, "NivPotar", &T::NivPotar, nullptr, "0", "HINT_Sensibilité caméra").Sets(&F::ChooseLevel),
  Spec(kLabel, "FileNom", &T::FileNom, nullptr, {}, {}),
  Spec(kNone, "Message6", &T::Message6, nullptr, "ID_MES_INF_pics", {}).Hidden(),
  Spec(kNone, "Titre1", &T::Titre1, nullptr, "ID_TRT_INF_axes", {}).Hidden(),
  Spec(kNone, "Titre2", &T::Titre2, nullptr, "ID_TRT_INF_grille", {}).Hidden(),
  Spec(kNone, "Titre3", &T::Titre3, nullptr, "ID_TRT_INF_curseurs", {}).Hidden(),
  Spec(kNone, "Titre11", &T::Titre11, nullptr, "ID_TRT_INF_cfg nvx clrs", {}).Hidden(),
  Spec(kNone, "Message5", &T::Message5, nullptr, "ID_MES_INF_points", {}).Hidden(),
  Spec(kNone, "Message7", &T::Message7, nullptr, "ID_MES_INF_moy en cours", {}).Hidden(),
  Spec(kNone, "Message8", &T::Message8, nullptr, "ID_MES_INF_acquisition", {}).Hidden(),
  Spec(kNone, "Titre4", &T::Titre4, nullptr, "ID_TRT_INF_filtrage", {}).Hidden(),
  Spec(kNone, "Titre6", &T::Titre6, nullptr, "ID_TRT_INF_calc mich", {}).Hidden(),
  Spec(kNone, "Titre8", &T::Titre8, nullptr, "ID_TRT_INF_histo", {}).Hidden(),
  Spec(kNone, "Titre9", &T::Titre9, nullptr, "ID_TRT_INF_corec gamma", {}).Hidden(),
  Spec(kMenu, "Ouvrir1", &T::Ouvrir1, &F::ouvrirClick, "ID_MIT_BAS_Ouvrir...", "HINT_Ouvrir").On(kFichier).Key("Ctrl+O"),
  Spec(kSubmenu, "Recents1", &T::Recents1, nullptr, "ID_MIT_BAS_Recents", {}).On(kFichier),
  Spec(kMenu, "Enregistrer1", &T::Enregistrer1, &F::Sauver1Click, "ID_MIT_BAS_Enregistrer", "HINT_Enregistrer").On(kFichier).Key("Ctrl+S"),
  Spec(kMenu, "Sauver1", &T::Sauver1, &F::Sauver1Click, "ID_MIT_BAS_Enregistrer sous...", "HINT_Enregistrer").On(kFichier),
  Spec(kSubmenu, "Exporter1", &T::Exporter1, nullptr, kExporter, {}).On(kFichier),
  Spec(kMenu, "Texte1", &T::Texte1, &F::Texte1Click, "ID_MIT_BAS_&Texte", "HINT_Export texte").On(kExporter),
  Spec(kMenu, "IDMITBASRegressi1", &T::IDMITBASRegressi1, &F::IDMITBASRegressi1Click, "ID_MIT_BAS_&Regressi", "HINT_Export Regressi").On(kExporter),
  Spec(kMenu, "IDMITBASSynchronie1", &T::IDMITBASSynchronie1, &F::IDMITBASSynchronie1Click, "ID_MIT_BAS_&Synchronie", "HINT_Export Synchronie").On(kExporter),
  Spec(kMenu, "Bitmap1", &T::Bitmap1, &F::Bitmap1Click, "ID_MIT_BAS_&Bitmap", "HINT_Export bitmap").On(kExporter),
  Spec(kMenu, "Csv1", &T::Csv1, &F::Csv1Click, "ID_MIT_BAS_&CSV", "HINT_Export CSV").On(kExporter),
  Spec(kMenu, "Jcamp1", &T::Jcamp1, &F::Jcamp1Click, "ID_MIT_SPC_&JCAMP-DX", "HINT_Export JCAMP-DX").On(kExporter).Hidden(),
  Spec(kMenu, "JcampNm1", &T::JcampNm1, &F::JcampNm1Click, "ID_MIT_SPC_JCAMP-DX 1 nm", "HINT_Export JCAMP-DX 1 nm").On(kExporter).Hidden(),
  Spec(kNone, "Message11", &T::Message11, nullptr, "ID_MES_INF_filtres texte", {}).Hidden(),
  Spec(kNone, "Message12", &T::Message12, nullptr, "ID_MES_INF_sensibilite", {}).Hidden(),
  Spec(kNone, "Message13", &T::Message13, nullptr, "ID_MES_INF_duree acq", {}).Hidden(),
  Spec(kNone, "Message14", &T::Message14, nullptr, "ID_MES_INF_filtres bmp", {}).Hidden(),
  Spec(kMenu, "Imprimer1", &T::Imprimer1, &F::Imprimer1Click, "ID_MIT_BAS_Imprimer...", "HINT_Imprimer").On(kFichier).Key("Ctrl+P"),
  Spec(kMenu, "Quitter1", &T::Quitter1, &F::Quitter1Click, "ID_MIT_BAS_Quitter", "HINT_Quitter").On(kFichier).WhileBusy(),
  Spec(kMenu, "CopierCourbe1", &T::CopierCourbe1, &F::CopierCourbe1Click, "ID_MIT_BAS_Copier la courbe", "HINT_Copier la courbe").On(kEdition).Key("Ctrl+C"),
  Spec(kMenu, "CopierDonnees1", &T::CopierDonnees1, &F::CopierDonnees1Click, "ID_MIT_BAS_Copier les donnees", "HINT_Copier les donnees").On(kEdition).Key("Ctrl+Shift+C"),
  Spec(kMenu, "Acqurir1", &T::Acqurir1, &F::acquisitionClick, "ID_MIT_BAS_Acquérir", "HINT_Acquisition").On(kAcqMenu).Key("F8"),
  Spec(kCheck, "Vecteurs1", &T::Vecteurs1, &F::Vecteurs1Click, "ID_MIT_BAS_Vecteurs", "HINT_Vecteurs").On(kAffichage).WhileBusy(),
  Spec(kCheck, "Pics1", &T::Pics1, &F::Pics1Click, "ID_MIT_BAS_Pics", "HINT_Pics").On(kAffichage).WhileBusy().Down(),
  Spec(kCheck, "Points1", &T::Points1, &F::Points1Click, "ID_MIT_BAS_Points", "HINT_Points").On(kAffichage).WhileBusy(),
  Spec(kMenu, "Axes1", &T::Axes1, &F::Axes1Click, "ID_MIT_BAS_Axes", {}).On(kAffichage),
  Spec(kMenu, "Grille1", &T::Grille1, &F::Grille1Click, "ID_MIT_BAS_Grille", {}).On(kAffichage),
  Spec(kMenu, "Curseurs1", &T::Curseurs1, &F::Curseurs1Click, "ID_MIT_BAS_Curseurs", {}).On(kAffichage),
  Spec(kMenu, "colorniv1", &T::colorniv1, &F::colorniv1Click, "ID_MIT_BAS_Niveaux couleurs", {}).On(kAffichage),
  Spec(kMenu, "EditLambda1", &T::EditLambda1, &F::EditLambda1Click, "ID_MIT_SPC_Longueur d'onde", {}).On(kTraitements).Hidden(),
  Spec(kMenu, "Simulation1", &T::Simulation1, &F::Simulation1Click, "ID_MIT_INT_Simulation", {}).On(kTraitements).Hidden(),
  Spec(kMenu, "FiltrageMoyennage1", &T::FiltrageMoyennage1, &F::FiltrageMoyennage1Click, "ID_MIT_BAS_Filtrage / Moyennage", {}).On(kTraitements),
  Spec(kMenu, "plut", &T::plut, &F::plutClick, "ID_MIT_ANE_Coefficients L.U.T.", {}).On(kTraitements),
  Spec(kMenu, "phis", &T::phis, &F::phisClick, "ID_MIT_ANE_Largeur barres histogramme", {}).On(kTraitements),
  // Each language in its own name.
  Spec(kCheck, "Francais1", &T::Francais1, &F::Francais1Click, "Français", {}).On(kLangue).WhileBusy(),
  Spec(kCheck, "English1", &T::English1, &F::English1Click, "English", {}).On(kLangue).WhileBusy(),
  Spec(kCheck, "Deutsch1", &T::Deutsch1, &F::Deutsch1Click, "Deutsch", {}).On(kLangue).WhileBusy(),
  Spec(kMenu, "Sommaire1", &T::Sommaire1, &F::Sommaire1Click, "ID_MIT_BAS_Sommaire", {}).On(kAide).WhileBusy().Key("F1"),
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
