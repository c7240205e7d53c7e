#include "display/image_io.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace rovanel::display {

QImage ToQImage(const Canvas& c) {
  QImage img(c.Width(), c.Height(), QImage::Format_RGB32);
  if (img.isNull()) return img;
  for (int y = 0; y < c.Height(); ++y) {
    std::memcpy(img.scanLine(y), c.Bits() + static_cast<std::size_t>(y) * c.Width(),
                static_cast<std::size_t>(c.Width()) * sizeof(std::uint32_t));
  }
  return img;
}

Canvas FromQImage(const QImage& img) {
  const QImage src = img.convertToFormat(QImage::Format_RGB32);
  Canvas c(src.width(), src.height());
  for (int y = 0; y < src.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    std::uint32_t* dst = c.MutableBits() + static_cast<std::size_t>(y) * c.Width();
    for (int x = 0; x < src.width(); ++x) dst[x] = line[x] | 0xFF000000u;
  }
  return c;
}

bool SaveCanvas(const Canvas& c, const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  const char* format = nullptr;
  if (ext == ".png") {
    format = "PNG";
  } else if (ext == ".bmp") {
    format = "BMP";
  } else {
    return false;
  }
  const QImage img = ToQImage(c);
  if (img.isNull()) return false;
  return img.save(QString::fromStdString(path), format);
}

}  // namespace rovanel::display
