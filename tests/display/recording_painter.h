// A page painter that records every call, for checking a layout against
// positions worked out by hand.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/print_page.h"

namespace rovanel::display {

enum class Kind { Line, Polyline, Rect, Fill, Ellipse, Text, Picture };

struct Drawn {
  Kind kind;
  PagePen pen;
  // Line: the two ends; polyline: the vertices; rect: corner, then size;
  // ellipse: centre, then radii; text: the baseline point. A fill's colour
  // is its pen's.
  std::vector<PagePoint> p;
  std::string text;
  PageFont font;
  Align align = Align::Left;
};

class RecordingPainter : public PagePainter {
 public:
  RecordingPainter(double w, double h, double dpi) : w_(w), h_(h), dpi_(dpi) {}
  double Width() const override { return w_; }
  double Height() const override { return h_; }
  double Dpi() const override { return dpi_; }
  void SetPen(const PagePen& pen) override { pen_ = pen; }
  void Line(PagePoint a, PagePoint b) override { Add(Kind::Line, {a, b}); }
  void Polyline(std::span<const PagePoint> p) override {
    Add(Kind::Polyline, {p.begin(), p.end()});
  }
  void Rect(double x, double y, double w, double h) override { Add(Kind::Rect, {{x, y}, {w, h}}); }
  void FillRect(double x, double y, double w, double h, Rgb colour) override {
    drawn.push_back({Kind::Fill, {colour, 0, LinePattern::Solid}, {{x, y}, {w, h}}, {}, {}, {}});
  }
  void Ellipse(PagePoint c, double rx, double ry) override { Add(Kind::Ellipse, {c, {rx, ry}}); }
  void Text(PagePoint at, std::string_view text, const PageFont& font, Align align) override {
    drawn.push_back({Kind::Text, pen_, {at}, std::string(text), font, align});
  }
  // Every character (UTF-8 lead byte) half the font size wide.
  // A picture: its rectangle, then the first row and the row count.
  void Picture(double x, double y, double w, double h, const Canvas&, int top,
               int rows) override {
    Add(Kind::Picture, {{x, y}, {w, h}, {static_cast<double>(top), static_cast<double>(rows)}});
  }
  double TextWidth(std::string_view text, const PageFont& font) override {
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return 0.5 * font.sizePt * dpi_ / 72 * static_cast<double>(chars);
  }

  std::vector<Drawn> Of(Kind kind) const {
    std::vector<Drawn> out;
    for (const Drawn& d : drawn)
      if (d.kind == kind) out.push_back(d);
    return out;
  }
  const Drawn* Find(const std::string& text, std::optional<Align> align = {}) const {
    for (const Drawn& d : drawn)
      if (d.kind == Kind::Text && d.text == text && (!align || d.align == *align)) return &d;
    return nullptr;
  }
  std::vector<Drawn> drawn;

 private:
  void Add(Kind kind, std::vector<PagePoint> p) {
    drawn.push_back({kind, pen_, std::move(p), {}, {}, {}});
  }
  double w_, h_, dpi_;
  PagePen pen_{Rgb{255, 0, 255}, 3.0, LinePattern::Dot};  // whatever the caller left
};

}  // namespace rovanel::display
