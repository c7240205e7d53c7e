// export:png=FILE and export:svg=FILE, each with an optional " size=WxH"
// (default 1600x900): the window's plot drawn at that size into a file.
#pragma once

#include <string>
#include <string_view>

#include "app/main_window.h"

namespace rovanel::script {

// True for what follows "export:" when it names a picture of the plot.
bool IsPlotImageExport(std::string_view what);
// Writes it; false with one line in `error` for a bad size or file.
bool ExportPlotImage(const app::TFp& fp, std::string_view what, std::string& error);

}  // namespace rovanel::script
