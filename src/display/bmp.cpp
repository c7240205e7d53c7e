// 24 bits per pixel because the canvas holds exactly that: its alpha byte is
// always opaque and carries nothing. The uncompressed 24-bit layout needs no
// colour masks and is read alike by every program, whereas the fourth byte of
// a 32-bit file is taken as transparency by some readers and ignored by others.
#include "display/bmp.h"

namespace rovanel::display {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Canvas& c) {
  const std::uint32_t width = static_cast<std::uint32_t>(c.Width());
  const std::uint32_t height = static_cast<std::uint32_t>(c.Height());
  const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * height;
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

  std::vector<std::uint8_t> out;
  out.reserve(offset + imageBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageBytes);  // file size
  Put32(out, 0);                    // two reserved words
  Put32(out, offset);               // start of the pixels
  // BITMAPINFOHEADER
  Put32(out, kInfoHeaderSize);
  Put32(out, width);
  Put32(out, height);  // positive: rows stored bottom to top
  Put16(out, 1);       // planes
  Put16(out, 24);      // bits per pixel
  Put32(out, 0);       // BI_RGB, uncompressed
  Put32(out, imageBytes);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);  // colours used: no palette
  Put32(out, 0);  // important colours: all

  for (std::uint32_t row = height; row-- > 0;) {
    const std::uint32_t* bits = c.Bits() + static_cast<std::size_t>(row) * width;
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint32_t p = bits[x];  // 0xFFRRGGBB
      out.push_back(static_cast<std::uint8_t>(p));
      out.push_back(static_cast<std::uint8_t>(p >> 8));
      out.push_back(static_cast<std::uint8_t>(p >> 16));
    }
    out.insert(out.end(), rowBytes - width * 3, 0);
  }
  return out;
}

}  // namespace rovanel::display
