// The configuration file and the language of the texts: the first display's
// steps, the Language menu, and the lookup of the texts the handlers write.
#include <cstdio>

#include "app/lang/form_texts.h"
#include "app/lang/reasons.h"
#include "app/main_window.h"

namespace rovanel::app {

namespace {

constexpr std::string_view kMissingDictionary = "File RESC0002.UO is missing ";
constexpr std::string_view kPreliminaryHelp = "Rovanel on line help is a preliminary version";

int ValidLanguage(int language) {
  // Any other index reads the French texts.
  return language >= 1 && language <= 3 ? language : 1;
}

}  // namespace

void TFp::StartupConfig() {
  DeleteStaleConfig(AppDir);
  bool exists = false;
  {
    ui_->SetHourglass(true);
    exists = ReadConfig(AppDir, Config);
    ui_->SetHourglass(false);
  }
  if (ForcedLanguage) {
    // This run only: the file, if any, is read for the rest and left alone.
    Config.CfgLanguage = *ForcedLanguage;
  } else if (!exists && FirstStartAllowed) {
    selLge.Language = Language;
    RunDialog(selLge);
    Language = selLge.Language;
    if (Language == 2) ui_->MessageBox(std::string(kPreliminaryHelp), MessageKind::Information);
    Config.CfgLanguage = Language;
    LoadLanguage();
    CalibrateDelayLoop();
  } else if (exists && !device::PlausibleCalibration(Config.CfgSlope, Config.CfgOffset)) {
    // A calibration no machine gives (a corrupt file): timed again, as at
    // a first start, so that a pause cannot last seconds. (With --lang the
    // file is left alone: the pause is only bounded.)
    Language = ValidLanguage(Config.CfgLanguage);
    LoadLanguage();
    CalibrateDelayLoop();
  } else if (!exists) {
    // Without a file and not asked for the first start: French, nothing
    // calibrated, nothing written.
    Config.CfgLanguage = 1;
  }
  ApplyConfig();
  if (exists || ForcedLanguage || !FirstStartAllowed) LoadLanguage();
}

void TFp::CalibrateDelayLoop() {
  ui_->SetHourglass(true);
  ui_->Note(Text("MES_calin cours"));
  WaitCalib->Calibrate();
  ui_->Note({});
  ui_->SetHourglass(false);
  Config.CfgSlope = WaitCalib->Slope;
  Config.CfgOffset = WaitCalib->Offset;
  std::string reason;
  if (!WriteConfig(AppDir, Config, reason))
    ui_->MessageBox(Text("ID_MES_ERR_config", {AppDir + std::string(kConfigFile), Reason(reason)}),
                    MessageKind::Error);
}

void TFp::ApplyConfig() {
  Language = ValidLanguage(Config.CfgLanguage);
  // --port-box chooses the parallel-port box for one run.
  SetPortBox(Config.CfgPortBox != 0 || box_.PortBox());
  WaitCalib->Slope = Config.CfgSlope;
  WaitCalib->Offset = Config.CfgOffset;
  WaitCalib->SetDelay(0.02);
}

std::vector<TFp::FormPass> TFp::TranslatedForms() {
  return {{tools.All(), true, true, false},      {affichage.Texts(), true, true, true},
          {tapp.Texts(), true, false, false},     {paraint.Texts(), true, true, true},
          {miCalc.Texts(), true, true, true},     {imp.Texts(), true, true, true},
          {feature.Texts(), true, false, true}};
}

void TFp::LoadLanguage() {
  const std::string path = ShippedDir + std::string(kDictionaryFile);
  if (!dictionary.Load(path)) {
    // Said once, not once per form and pass: the keys stay shown.
    ui_->MessageBox(std::string(kMissingDictionary), MessageKind::Error);
    return;
  }
  ui_->SetHourglass(true);
  FormTexts texts(dictionary, Language);
  for (FormPass& form : TranslatedForms()) {
    for (auto& [name, control] : form.controls) control->marked = false;
    if (form.captions) texts.ApplyCaptions(form.controls);
    if (form.hints) texts.ApplyHints(form.controls);
    if (form.items) texts.ApplyItems(form.controls);
  }
  tools.Francais1.down = Language == 1;
  tools.English1.down = Language == 2;
  tools.Deutsch1.down = Language == 3;
  ui_->SetHourglass(false);
}

std::string TFp::Text(std::string_view key) const {
  TextLookup found = dictionary.Lookup(key, Language);
  return found.found ? std::move(found.text) : std::string(key);
}

std::string TFp::Text(std::string_view key, std::initializer_list<std::string> args) const {
  const std::string pattern = Text(key);
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool slot = pattern[i] == '%' && i + 1 < pattern.size() &&
                      (pattern[i + 1] == 'd' || pattern[i + 1] == 's');
    if (slot && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string TFp::Reason(const std::string& english) const {
  return LocalizeReason(english, [this](std::string_view key, std::initializer_list<std::string> a) {
    return Text(key, a);
  });
}

void TFp::LanguageChosen(int language) {
  Language = ValidLanguage(language);
  LoadLanguage();
  DrawCurves();
  // Kept in the configuration, as the first start would have.
  ConfigRec kept;
  if (!ReadConfig(AppDir, kept)) {
    kept = Config;
    kept.CfgSlope = WaitCalib->Slope;
    kept.CfgOffset = WaitCalib->Offset;
  }
  kept.CfgLanguage = Language;
  Config.CfgLanguage = Language;
  std::string reason;
  if (!WriteConfig(AppDir, kept, reason))
    ui_->MessageBox(Text("ID_MES_ERR_config", {AppDir + std::string(kConfigFile), Reason(reason)}),
                   MessageKind::Error);
}

}  // namespace rovanel::app
