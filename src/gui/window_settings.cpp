#include "gui/window_settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>

#include "gui/main_view.h"

namespace rovanel::gui {

QString WindowSettingsFile() {
  const char* home = std::getenv("ROVANEL_HOME");
  if (home != nullptr && *home != '\0') return QDir(QString::fromLocal8Bit(home)).filePath("rovanel.ini");
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/rovanel/rovanel.ini";
}

void RestoreWindow(MainView& view, std::optional<int> plotScale) {
  const QSettings settings(WindowSettingsFile(), QSettings::IniFormat);
  const QByteArray geometry = settings.value("window/geometry").toByteArray();
  if (!geometry.isEmpty()) view.restoreGeometry(geometry);
  const int remembered = settings.value("window/plotScale", 0).toInt();
  view.SetPlotScale(plotScale.value_or(remembered >= 0 && remembered <= 3 ? remembered : 0));
}

void SaveWindow(const MainView& view, std::optional<int> plotScale) {
  QSettings settings(WindowSettingsFile(), QSettings::IniFormat);
  settings.setValue("window/geometry", view.saveGeometry());
  if (!plotScale || *plotScale != view.PlotScale())
    settings.setValue("window/plotScale", view.PlotScale());
  settings.sync();
}

}  // namespace rovanel::gui
