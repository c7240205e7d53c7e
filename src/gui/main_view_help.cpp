// The main window's help window: created on first use, then reused.
#include <QApplication>

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
  // From a modal dialog's help button the window belongs to the dialog,
  // or the dialog's modality would keep it from taking input.
  HelpWindow* window = help_;
  if (QWidget* modal = QApplication::activeModalWidget()) {
    window = new HelpWindow(modal);
    window->setAttribute(Qt::WA_DeleteOnClose);
  } else if (help_ == nullptr) {
    window = help_ = new HelpWindow(this);
  }
  // The texts again each time: the language may have changed.
  window->SetTexts({Q(fp_.Text("ID_BTN_BAS_Aide")), Q(fp_.Text("ID_BTN_AID_Précédent")),
                   Q(fp_.Text("ID_BTN_AID_Suivant")), Q(fp_.Text("ID_MIT_BAS_Sommaire")),
                   Q(fp_.Text("ID_LBL_AID_Rechercher")),
                   Q(fp_.Text("ID_MES_INF_texte introuvable", {"%1"}))});
  window->Open(Q(path), Q(note));
  if (!note.empty()) StatusText(note);
}

}  // namespace rovanel::gui
