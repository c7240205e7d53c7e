#include "app/script/image_export.h"

#include <cstdio>

#include "display/plot_image.h"

namespace rovanel::script {
namespace {
constexpr int kDefaultWidth = 1600, kDefaultHeight = 900;
constexpr int kMinSide = 64, kMaxSide = 8192;
}  // namespace

bool IsPlotImageExport(std::string_view what) {
  return what.starts_with("png=") || what.starts_with("svg=");
}

bool ExportPlotImage(const app::TFp& fp, std::string_view what, std::string& error) {
  const bool png = what.starts_with("png=");
  std::string_view file = what.substr(4);
  int width = kDefaultWidth, height = kDefaultHeight;
  if (const auto at = file.rfind(" size="); at != std::string_view::npos) {
    const std::string size(file.substr(at + 6));
    char rest = 0;
    if (std::sscanf(size.c_str(), "%dx%d%c", &width, &height, &rest) != 2 || width < kMinSide ||
        height < kMinSide || width > kMaxSide || height > kMaxSide) {
      error = "export:" + std::string(what.substr(0, 3)) + " takes size=WxH, each side " +
              std::to_string(kMinSide) + " to " + std::to_string(kMaxSide) + ", not '" + size + "'";
      return false;
    }
    file = file.substr(0, at);
  }
  if (file.empty()) {
    error = "export:" + std::string(what.substr(0, 3)) + " needs a file name";
    return false;
  }
  const display::PageFrame frame = display::ScreenFrame(width, height, 96);
  const app::TFp::ScreenPlot plot = fp.MakeScreenPlot(frame, 96);
  std::string why;
  if (!display::WritePlotImage(std::string(file), png ? display::PlotImageKind::Png
                                                      : display::PlotImageKind::Svg,
                               width, height, plot.page, plot.style, plot.options, why)) {
    error = "cannot write '" + std::string(file) + "': " + why;
    return false;
  }
  return true;
}

}  // namespace rovanel::script
