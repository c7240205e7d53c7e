// What the window keeps between runs that is not the measurement's: its
// size and place, the plot's scale, the recent files. An INI file in the
// XDG configuration folder, or in ROVANEL_HOME when that is set, so that
// tests and scripts never touch the user's own.
#pragma once

#include <QSettings>
#include <memory>

namespace rovanel::gui {

std::unique_ptr<QSettings> OpenWindowSettings();

}  // namespace rovanel::gui
