#include "display/colour_strip.h"

#include <QImage>
#include <QString>
#include <cmath>
#include <filesystem>

namespace rovanel::display {

int SpectrumColourIndex(float lambdaNm) {
  if (!(lambdaNm >= 400.0f && lambdaNm <= 800.0f)) return kOutOfSpectrumIndex;
  const double i =
      std::nearbyint((static_cast<double>(lambdaNm) - 400.0) / static_cast<double>(kLambdaStep));
  return i >= kOutOfSpectrumIndex ? kOutOfSpectrumIndex : static_cast<int>(i);
}

Rgb SpectrumRgb(const SpectrumColourTable& colours, int index) {
  if (index < 0 || index >= static_cast<int>(colours.size())) return kBlack;
  const auto& bgr = colours[static_cast<std::size_t>(index)];
  return Rgb{bgr[2], bgr[1], bgr[0]};
}

bool LoadSpectrumColours(const std::string& folder, SpectrumColourTable& colours) {
  for (auto& c : colours) c = {0, 0, 0};
  const std::filesystem::path path = std::filesystem::path(folder) / kSpectrumStripFile;
  // The extension says nothing about the format: name it.
  QImage strip;
  if (!strip.load(QString::fromStdString(path.string()), "BMP")) return false;
  if (strip.width() < kOutOfSpectrumIndex || strip.height() < 1) return false;
  for (int x = 0; x < kOutOfSpectrumIndex; ++x) {
    const QRgb p = strip.pixel(x, 0);
    colours[static_cast<std::size_t>(x)] = {static_cast<std::uint8_t>(qBlue(p)),
                                            static_cast<std::uint8_t>(qGreen(p)),
                                            static_cast<std::uint8_t>(qRed(p))};
  }
  return true;
}

}  // namespace rovanel::display
