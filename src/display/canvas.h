// A small raster canvas with the drawing operations the plot is built from:
// pixels, pen lines (end pixel not drawn), brush rectangles, text at a point
// and bitmap copy.
// Pixels are held as 0xFFRRGGBB, rows top to bottom, so the buffer can be
// handed to QImage::Format_RGB32 as it stands.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rovanel::display {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;

  // TColor is 0x00BBGGRR (red in the low byte).
  static constexpr Rgb FromTColor(std::uint32_t c) {
    return Rgb{static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
               static_cast<std::uint8_t>((c >> 16) & 0xFF)};
  }
  constexpr std::uint32_t ToTColor() const {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16);
  }
  // 0xFFRRGGBB, the pixel format of the canvas.
  constexpr std::uint32_t ToArgb() const {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | b;
  }
  static constexpr Rgb FromArgb(std::uint32_t p) {
    return Rgb{static_cast<std::uint8_t>((p >> 16) & 0xFF),
               static_cast<std::uint8_t>((p >> 8) & 0xFF), static_cast<std::uint8_t>(p & 0xFF)};
  }
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kYellow{255, 255, 0};

enum class PenStyle { Solid, Dot, DashDot };

// On/off run lengths of the dashed pens, in pixels along the line's major axis:
// runs alternate drawn, skipped, drawn, skipped, ...
inline constexpr std::array<int, 2> kDotPattern{3, 3};
inline constexpr std::array<int, 4> kDashDotPattern{9, 6, 3, 6};

// A font for Canvas::TextOut. A pixelSize above 0 is the character height
// in pixels and wins over pointSize, which counts points at 96 dpi (8 points
// are 11 pixels: the nearest pixel, halves up).
struct Font {
  std::string family = "Arial";
  int pointSize = 8;
  int pixelSize = 0;
  bool bold = false;
};

struct TextSize {
  int width = 0, height = 0;
  friend bool operator==(const TextSize&, const TextSize&) = default;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = kWhite);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Outside the canvas: white.
  Rgb Pixel(int x, int y) const {
    return Inside(x, y) ? Rgb::FromArgb(bits_[Index(x, y)]) : kWhite;
  }
  // Sets exactly one pixel whatever the pen; outside the canvas: ignored.
  void SetPixel(int x, int y, Rgb c) {
    if (Inside(x, y)) bits_[Index(x, y)] = c.ToArgb();
  }

  // Moves the pen; also restarts the pen style's pattern.
  void MoveTo(int x, int y);
  // Draws from the pen position to (x, y) with penColour/penStyle, without the
  // end pixel, then leaves the pen at (x, y). Clipped to the canvas.
  //
  // Bresenham along the major axis (the axis with the larger extent; x when
  // the extents are equal). At each major step the minor coordinate is the
  // one nearest the ideal line; when the ideal line passes exactly halfway
  // between two pixels, the one nearer the start point is taken (the minor
  // coordinate changes as late as possible). The dash pattern runs on from
  // one LineTo to the next until the next MoveTo.
  //
  // With penWidth w > 1 each pixel of that one-pixel line becomes a run of w
  // pixels along the minor axis, starting w/2 (integer division) before it:
  // a vertical line at column x covers columns x - w/2 .. x - w/2 + w - 1
  // (x-1..x for 2, x-2..x+1 for 4), a horizontal one the rows likewise. The
  // length, the missing end pixel and the dash pattern along the line are
  // those of the one-pixel line. penWidth 1 or less draws the one-pixel line.
  void LineTo(int x, int y);
  int PenX() const { return penX_; }
  int PenY() const { return penY_; }

  // Fills [left, right) x [top, bottom) with brushColour; the corners may be
  // given in either order. Clipped.
  void FillRect(int left, int top, int right, int bottom);
  // Fills the whole canvas with `c` (the pen and brush are unchanged).
  void Clear(Rgb c);

  // Copies the whole of `src` with its top-left corner at (x, y). Clipped.
  void CopyFrom(const Canvas& src, int x, int y);

  // Writes `utf8` with the top-left corner of its cell at (x, y). Glyphs are
  // drawn without antialiasing, so each pixel is either `colour` or what it
  // was. With a background the whole cell (TextExtent) is filled with it
  // first, as an opaque text background does; without, only glyph pixels
  // change. Clipped; the pen and brush are unchanged. Fonts need a
  // QGuiApplication: without one nothing is drawn.
  void TextOut(int x, int y, const std::string& utf8, Rgb colour, const Font& font,
               std::optional<Rgb> background = std::nullopt);
  // The cell TextOut writes in: advance width by ascent + descent. Zero
  // without a QGuiApplication.
  static TextSize TextExtent(const std::string& utf8, const Font& font);

  // 0xFFRRGGBB per pixel, Width() pixels per row, rows top to bottom.
  const std::uint32_t* Bits() const { return bits_.data(); }
  std::uint32_t* MutableBits() { return bits_.data(); }

  Rgb penColour = kBlack;
  PenStyle penStyle = PenStyle::Solid;
  int penWidth = 1;  // pixels across the line; see LineTo
  Rgb brushColour = kWhite;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  // True when the pattern position `phase` is in a drawn run of the current pen style.
  bool PatternOn(long long phase) const;

  int width_;
  int height_;
  std::vector<std::uint32_t> bits_;
  int penX_ = 0;
  int penY_ = 0;
  long long phase_ = 0;  // pixels stepped since the last MoveTo
};

}  // namespace rovanel::display
