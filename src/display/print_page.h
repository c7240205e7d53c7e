// The printed page of a measurement: a header (title, date, names,
// experiment), the framed plot drawn as vectors at the device's resolution
// (grid, axis scales, curves, cursors, peak marks), then the read-outs, the
// mode's settings, the spectrometer's references and the remarks.
// The layout draws through PagePainter, so the same code serves the
// printer, the preview, PDF, PNG and the tests' recording painter.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "display/canvas.h"

namespace rovanel::display {

enum class LinePattern { Solid, Dash, Dot, DashDot };

struct PagePen {
  Rgb colour = kBlack;
  double widthPt = 1.0;  // points (1/72 inch)
  LinePattern pattern = LinePattern::Solid;
};

struct PageFont {
  double sizePt = 10.0;
  bool bold = false;
};

enum class Align { Left, Centre, Right };

struct PagePoint {
  double x = 0, y = 0;
};

struct PageRect {
  double x = 0, y = 0, w = 0, h = 0;
};

// What the page is drawn on, in device units (dots), Dpi() of them to the
// inch; y grows downwards. Texts are UTF-8, placed on their baseline.
class PagePainter {
 public:
  virtual ~PagePainter() = default;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual double Dpi() const = 0;
  virtual void SetPen(const PagePen& pen) = 0;
  virtual void Line(PagePoint a, PagePoint b) = 0;
  virtual void Polyline(std::span<const PagePoint> points) = 0;
  // Outlines only.
  virtual void Rect(double x, double y, double w, double h) = 0;
  // A rectangle filled with `colour`, no outline.
  virtual void FillRect(double x, double y, double w, double h, Rgb colour) = 0;
  // Many of them in one colour (a dense curve's bars): one call where the
  // device can take them at once.
  virtual void FillRects(std::span<const PageRect> rects, Rgb colour) {
    for (const PageRect& r : rects) FillRect(r.x, r.y, r.w, r.h, colour);
  }
  virtual void Ellipse(PagePoint centre, double rx, double ry) = 0;
  virtual void Text(PagePoint baseline, std::string_view text, const PageFont& font,
                    Align align) = 0;
  virtual double TextWidth(std::string_view text, const PageFont& font) = 0;
  // Rows top..top+rows of `picture` scaled into the rectangle; a device that
  // shows no pictures leaves them out.
  virtual void Picture(double /*x*/, double /*y*/, double /*w*/, double /*h*/,
                       const Canvas& /*picture*/, int /*top*/, int /*rows*/) {}
};

enum class PaperSize { A4, Letter };

// Paper size in millimetres, portrait.
struct PaperMm {
  double width, height;
};
PaperMm PaperDimensions(PaperSize paper);

struct PageCurve {
  // Levels 0..255 of the shown samples, the first at the plot's left edge.
  std::vector<double> levels;
  Rgb colour = kBlack;
};

// Everything the page shows; the window model fills it from its state.
struct PrintPage {
  // Header.
  std::string title;  // program and mode
  std::string date;   // already formatted
  std::string nomLabel, nom;
  std::string manipLabel, manip;
  std::string remarkLabel, remark;  // remark: up to 300 characters, wrapped

  // Plot: `span` samples stand for the plot's width (512 screen columns
  // times the zoom step); sample i sits at left + width * i / span.
  std::size_t span = 2048;
  std::vector<PageCurve> curves;
  // X value of each of the `span` samples in the current unit (rising or
  // falling: wavelengths may fall); the axis ticks are placed by it.
  std::vector<double> x;
  std::string xLegend;  // "X  ( µm )"
  std::string yLegend;  // "Y" or "Ln ( Y )"; the Y axis is graduated in %
  // Cursors as fractions of the plot: vertical ones from the left edge,
  // horizontal ones from the top.
  std::vector<double> cursorsX, cursorsY;
  // Marked peaks: sample indices (0 = left edge) and their levels.
  std::vector<std::size_t> peaks;
  std::optional<std::size_t> selectedPeak;  // index into `peaks`
  // Spectrometry: the colour of each shown sample's wavelength, filled under
  // the last curve on a colour page (empty: none; black, outside the
  // visible range: not filled).
  std::vector<Rgb> sampleColours;

  // Text blocks under the plot, one line per entry.
  std::vector<std::string> readouts;    // cursor read-outs, fringe count, peak
  std::vector<std::string> settings;    // the mode and its settings
  std::vector<std::string> references;  // spectrometer reference lines
};

struct PageStyle {
  bool colour = false;  // false: every curve black, told apart by its pattern
  double curveWidthPt = 1.0;
  double gridWidthPt = 0.5;
};

// The plot frame on a device of the given size (device units, dpi).
struct PageFrame {
  double left = 0, top = 0, width = 0, height = 0;
};
PageFrame PlotFrame(double deviceWidth, double deviceHeight, double dpi);

// Where sample i at `level` (0..255) is drawn in the frame.
PagePoint SamplePoint(const PageFrame& frame, std::size_t span, double i, double level);

// The pattern of curve k (0-based) in black and white: solid, dash, dot,
// dash-dot, then again.
LinePattern BlackAndWhitePattern(std::size_t k);

// Tick values between a and b (either order): multiples of 1, 2 or 5 times
// a power of ten, about `wanted` of them, rising.
std::vector<double> NiceTicks(double a, double b, int wanted);

// Draws the whole page.
void DrawPage(PagePainter& painter, const PrintPage& page, const PageStyle& style);

}  // namespace rovanel::display
