#include "display/image_io.h"

#include <QBuffer>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "base/replace_file.h"

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

bool SaveCanvas(const Canvas& c, const std::string& path, std::string* error) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  const char* format = nullptr;
  if (ext == ".png") {
    format = "PNG";
  } else if (ext == ".bmp") {
    format = "BMP";
  } else {
    if (error) *error = "not a .png or .bmp name";
    return false;
  }
  const QImage img = ToQImage(c);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (img.isNull() || !img.save(&buffer, format)) {
    if (error) *error = "the picture could not be encoded";
    return false;
  }
  // Whole or not at all, as every other file the program writes.
  std::string why;
  const bool written = WriteFileReplacing(
      path, {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())},
      why);
  if (!written && error) *error = why;
  return written;
}

}  // namespace rovanel::display
