// The main window's help window: created on first use, then reused.
#include "gui/help_window.h"
#include "gui/main_view.h"

namespace rovanel::gui {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

void MainView::ShowHelp(const std::string& path, const std::string& note) {
  if (path.empty()) {
    MessageBox(note, app::MessageKind::Error);
    return;
  }
  if (help_ == nullptr) help_ = new HelpWindow(this);
  // The texts again each time: the language may have changed.
  help_->SetTexts({Q(fp_.Text("ID_BTN_BAS_Aide")), Q(fp_.Text("ID_BTN_AID_Précédent")),
                   Q(fp_.Text("ID_BTN_AID_Suivant")), Q(fp_.Text("ID_MIT_BAS_Sommaire")),
                   Q(fp_.Text("ID_LBL_AID_Rechercher")),
                   Q(fp_.Text("ID_MES_INF_texte introuvable", {"%1"}))});
  help_->Open(Q(path), Q(note));
  if (!note.empty()) StatusText(note);
}

}  // namespace rovanel::gui
