// The window's size, position and plot scale between runs, in Qt's settings
// (an INI file): under ROVANEL_HOME when it is set, so tests and scripts
// never touch the user's own, else in the XDG configuration folder.
#pragma once

#include <QString>
#include <optional>

namespace rovanel::gui {

class MainView;

QString WindowSettingsFile();

// The remembered geometry and plot scale; `plotScale` from the command line
// wins over the remembered one for this run.
void RestoreWindow(MainView& view, std::optional<int> plotScale);
// Keeps the geometry and, unless it is still the command line's for this
// run, the plot scale.
void SaveWindow(const MainView& view, std::optional<int> plotScale);

}  // namespace rovanel::gui
