#include "gui/window_settings.h"

#include <QDir>
#include <QStandardPaths>

namespace rovanel::gui {

std::unique_ptr<QSettings> OpenWindowSettings() {
  const QString home = qEnvironmentVariable("ROVANEL_HOME");
  const QString dir =
      home.isEmpty()
          ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/rovanel"
          : home;
  QDir().mkpath(dir);
  return std::make_unique<QSettings>(dir + "/window.ini", QSettings::IniFormat);
}

}  // namespace rovanel::gui
