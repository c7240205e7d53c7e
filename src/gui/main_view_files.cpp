// The window's side of the measurement's file: the recent files menu and
// the question before quitting with a measurement never saved.
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include "gui/main_view.h"
#include "gui/window_settings.h"

namespace rovanel::gui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

void MainView::AttachRecentFiles() {
  const QSettings settings(WindowSettingsFile(), QSettings::IniFormat);
  std::vector<std::string> files;
  for (const QString& f : settings.value("files/recent").toStringList()) files.push_back(f.toStdString());
  fp_.SetRecentFiles(std::move(files));
  const auto found = menus_.find("ID_MIT_BAS_Recents");
  if (found == menus_.end()) return;
  QMenu* menu = found->second;
  // The list changes with every open and save: built each time it opens.
  connect(menu, &QMenu::aboutToShow, this, [this, menu] {
    menu->clear();
    const auto& recent = fp_.RecentFiles();
    for (std::size_t i = 0; i < recent.size(); ++i) {
      const QString path = Q(recent[i]);
      QAction* action = menu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
      action->setToolTip(path);
      connect(action, &QAction::triggered, this, [this, i] { fp_.OpenRecent(i); });
    }
    menu->setEnabled(true);
  });
}

void MainView::KeepRecentFiles() {
  QStringList files;
  for (const std::string& f : fp_.RecentFiles()) files << Q(f);
  QSettings(WindowSettingsFile(), QSettings::IniFormat).setValue("files/recent", files);
}

app::QuitChoice MainView::AskBeforeQuit(const std::string& text) {
  QMessageBox box(QMessageBox::Question, Q(app::kApplicationTitle), Q(text), QMessageBox::NoButton, this);
  QPushButton* save = box.addButton(Q(fp_.Text("ID_BTN_CNF_Enregistrer")), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(Q(fp_.Text("ID_BTN_CNF_Quitter sans")), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(Q(fp_.Text("ID_BTN_CNF_Annuler")), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return app::QuitChoice::Save;
  if (box.clickedButton() == discard) return app::QuitChoice::Discard;
  return app::QuitChoice::Cancel;
}

}  // namespace rovanel::gui
