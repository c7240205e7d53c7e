// The help window: the application's contents and the theory reminder of
// the mode in use.
#include "app/help.h"
#include "app/main_window.h"

namespace rovanel::app {

void TFp::OpenHelp(HelpTopic topic) {
  const HelpPageRef page = HelpPage(Language, topic, ShippedDir);
  const std::string note = page.note.empty() ? std::string() : Text(page.note, {page.wanted});
  ui_->ShowHelp(page.path, note);
}

void TFp::rappelsClick() {
  if (Mode() == Experiment::Michelson)
    OpenHelp(HelpTopic::Michelson);
  else if (Mode() == Experiment::Interference)
    OpenHelp(HelpTopic::Interference);
  else if (Mode() == Experiment::Spectrometry)
    OpenHelp(HelpTopic::Spectrometry);
  // Analysis has no reminder of its own.
}

void TFp::Sommaire1Click() {
  OpenHelp(HelpTopic::Contents);
}

}  // namespace rovanel::app
