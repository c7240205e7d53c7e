#include "display/print_page.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "display/plot_drawing.h"

namespace rovanel::display {
namespace {

// The layout in millimetres and points, scaled to the device by its dpi.
//
//   top margin 15 mm
//   title (14 pt bold, date right-aligned) at +5 mm, the name and experiment
//   lines (10 pt) at +11 and +16 mm, the Y legend 4 mm above the frame;
//   frame top = margin + 27 mm; frame left = margin + 12 mm (Y tick labels);
//   frame right = page width - margin; frame height = half its width, or less
//   when 80 mm must stay free under it (landscape):
//     X tick labels (8 pt) at +4.5 mm, X legend (9 pt) at +9.5 mm,
//     the text blocks from +13 mm: read-outs | settings (two columns), then
//     the references (two columns), then the framed remark, all in 9 pt with
//     lines 1.25 times the size apart and 3 mm between blocks.
// Six read-outs, six settings, six references and a 300-character remark
// fit in those 80 mm; more text is set smaller until it fits.
constexpr double kMarginMm = 15;
constexpr double kYLabelRoomMm = 12;
constexpr double kHeaderMm = 27;
constexpr double kBelowMm = 80;

constexpr double kTitlePt = 14, kHeaderPt = 10, kBlockPt = 9;
constexpr double kLinePitch = 1.25;  // times the font size
constexpr double kBlockGapMm = 3;
constexpr double kRemarkPadMm = 1.5;
constexpr double kMinTextScale = 0.4;

struct Units {
  double dpi;
  double Mm(double mm) const { return mm * dpi / 25.4; }
  double Pt(double pt) const { return pt * dpi / 72.0; }
};

// Bytes of the UTF-8 code point starting at s[i].
std::size_t CodePointLength(std::string_view s, std::size_t i) {
  std::size_t n = 1;
  while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

// Greedy word wrap to `width`; a word wider than a line is cut between
// characters. Line breaks in the text are kept.
std::vector<std::string> Wrap(PagePainter& p, std::string_view text, const PageFont& font,
                              double width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view para = text.substr(start, end - start);
    if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
    std::string line;
    std::size_t pos = 0;
    while (pos < para.size()) {
      while (pos < para.size() && (para[pos] == ' ' || para[pos] == '\t')) ++pos;
      if (pos >= para.size()) break;
      std::size_t stop = pos;
      while (stop < para.size() && para[stop] != ' ' && para[stop] != '\t') ++stop;
      std::string word(para.substr(pos, stop - pos));
      pos = stop;
      const std::string joined = line.empty() ? word : line + " " + word;
      if (p.TextWidth(joined, font) <= width) {
        line = joined;
        continue;
      }
      if (!line.empty()) lines.push_back(std::move(line));
      line.clear();
      // The word alone, cut where it overflows.
      std::size_t i = 0;
      while (i < word.size()) {
        const std::size_t n = CodePointLength(word, i);
        std::string longer = line + word.substr(i, n);
        if (!line.empty() && p.TextWidth(longer, font) > width) {
          lines.push_back(std::move(line));
          longer = word.substr(i, n);
        }
        line = std::move(longer);
        i += n;
      }
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

struct PlacedText {
  PagePoint at;
  std::string text;
  PageFont font;
};

// The text blocks under the plot at one text scale.
struct Blocks {
  std::vector<PlacedText> texts;
  double boxTop = 0, boxHeight = 0;
  double bottom = 0;
};

Blocks LayoutBlocks(PagePainter& p, const PrintPage& page, const Units& u, double top, double left,
                    double width, double scale) {
  Blocks b;
  const PageFont font{kBlockPt * scale, false};
  const PageFont bold{kBlockPt * scale, true};
  const double size = u.Pt(font.sizePt), pitch = size * kLinePitch;
  const double gap = u.Mm(kBlockGapMm) * scale;
  const double column2 = left + width / 2;
  double y = top;

  // Read-outs beside the settings, or above them when one is too wide.
  bool narrow = true;
  for (const std::string& line : page.readouts)
    narrow = narrow && p.TextWidth(line, font) < width / 2 - gap;
  const double settingsX = narrow ? column2 : left;
  const std::size_t settingsRow = narrow ? 0 : page.readouts.size();
  const std::size_t rows = settingsRow + std::max(narrow ? page.readouts.size() : 0,
                                                  page.settings.size());
  for (std::size_t j = 0; j < page.readouts.size(); ++j)
    b.texts.push_back({{left, y + size + j * pitch}, page.readouts[j], font});
  for (std::size_t j = 0; j < page.settings.size(); ++j)
    b.texts.push_back({{settingsX, y + size + (settingsRow + j) * pitch}, page.settings[j], font});
  if (rows > 0) y += rows * pitch + gap;

  // References column by column: the first half on the left.
  const std::size_t refs = page.references.size();
  const std::size_t half = (refs + 1) / 2;
  for (std::size_t j = 0; j < refs; ++j) {
    const double x = j < half ? left : column2;
    b.texts.push_back({{x, y + size + (j % half) * pitch}, page.references[j], font});
  }
  if (refs > 0) y += half * pitch + gap;

  const double pad = u.Mm(kRemarkPadMm) * scale;
  b.boxTop = y;
  b.texts.push_back({{left + pad, y + pad + size}, page.remarkLabel, bold});
  const std::vector<std::string> lines = Wrap(p, page.remark, font, width - 2 * pad);
  for (std::size_t j = 0; j < lines.size(); ++j)
    b.texts.push_back({{left + pad, y + pad + size + (j + 1) * pitch}, lines[j], font});
  // At least one empty line under the label.
  b.boxHeight = 2 * pad + (1 + std::max<std::size_t>(lines.size(), 1)) * pitch;
  b.bottom = y + b.boxHeight;
  return b;
}

void DrawHeader(PagePainter& p, const PrintPage& page, const Units& u) {
  const double left = u.Mm(kMarginMm), top = u.Mm(kMarginMm);
  p.Text({left, top + u.Mm(5)}, page.title, {kTitlePt, true}, Align::Left);
  p.Text({p.Width() - left, top + u.Mm(5)}, page.date, {kHeaderPt, false}, Align::Right);
  const auto labelled = [&](double y, const std::string& label, const std::string& value) {
    const PageFont bold{kHeaderPt, true};
    p.Text({left, y}, label, bold, Align::Left);
    const double x = label.empty() ? left : left + p.TextWidth(label, bold) + u.Mm(2);
    p.Text({x, y}, value, {kHeaderPt, false}, Align::Left);
  };
  labelled(top + u.Mm(11), page.nomLabel, page.nom);
  labelled(top + u.Mm(16), page.manipLabel, page.manip);
}

}  // namespace

PaperMm PaperDimensions(PaperSize paper) {
  switch (paper) {
    case PaperSize::Letter:
      return {215.9, 279.4};
    case PaperSize::A4:
      break;
  }
  return {210.0, 297.0};
}

PageFrame PlotFrame(double deviceWidth, double deviceHeight, double dpi) {
  const Units u{dpi};
  PageFrame f;
  f.left = u.Mm(kMarginMm + kYLabelRoomMm);
  f.top = u.Mm(kMarginMm + kHeaderMm);
  f.width = std::max(0.0, deviceWidth - f.left - u.Mm(kMarginMm));
  f.height = std::clamp(deviceHeight - f.top - u.Mm(kMarginMm + kBelowMm), 0.0, f.width / 2);
  return f;
}

PagePoint SamplePoint(const PageFrame& frame, std::size_t span, double i, double level) {
  if (!(level >= 0)) level = 0;  // also NaN
  level = std::min(level, 255.0);
  const double s = static_cast<double>(std::max<std::size_t>(span, 1));
  return {frame.left + frame.width * i / s, frame.top + frame.height * (1 - level / 255.0)};
}

LinePattern BlackAndWhitePattern(std::size_t k) {
  static constexpr std::array<LinePattern, 4> kOrder{LinePattern::Solid, LinePattern::Dash,
                                                     LinePattern::Dot, LinePattern::DashDot};
  return kOrder[k % kOrder.size()];
}

std::vector<double> NiceTicks(double a, double b, int wanted) {
  if (!std::isfinite(a) || !std::isfinite(b)) return {};
  const double lo = std::min(a, b), hi = std::max(a, b);
  if (hi == lo) return {lo};
  wanted = std::clamp(wanted, 1, 100);
  // The raw step rounded to 1, 2, 5 or 10 times its power of ten, the
  // thresholds at 1.5, 3 and 7.
  const double raw = (hi - lo) / wanted;
  int exponent = static_cast<int>(std::floor(std::log10(raw)));
  const double norm = raw / std::pow(10.0, exponent);
  double mantissa = norm < 1.5 ? 1 : norm < 3 ? 2 : norm < 7 ? 5 : 10;
  if (mantissa == 10) {
    mantissa = 1;
    ++exponent;
  }
  // k * mantissa scaled by an exact power of ten, so 3 * 0.1 comes out 0.3.
  const double scale = std::pow(10.0, std::abs(exponent));
  const auto value = [&](double k) {
    // + 0.0: no "-0" when the first k is -0.0.
    return (exponent >= 0 ? k * mantissa * scale : k * mantissa / scale) + 0.0;
  };
  const double step = value(1);
  const double slack = 1e-9 * step;
  std::vector<double> ticks;
  // The cap guards against a step lost in the values' rounding.
  for (double k = std::ceil((lo - slack) / step); value(k) <= hi + slack && ticks.size() < 1000;
       ++k)
    ticks.push_back(value(k));
  return ticks;
}

void DrawPage(PagePainter& painter, const PrintPage& page, const PageStyle& style) {
  const Units u{painter.Dpi()};
  const PageFrame f = PlotFrame(painter.Width(), painter.Height(), u.dpi);

  painter.SetPen({kBlack, 0.5, LinePattern::Solid});  // the texts' colour
  DrawHeader(painter, page, u);
  DrawPlot(painter, page, style, f, {});

  // The text blocks, set smaller while they overrun the bottom margin.
  const double left = u.Mm(kMarginMm);
  const double width = painter.Width() - 2 * left;
  const double top = f.top + f.height + u.Mm(13);
  const double limit = painter.Height() - left;
  double scale = 1;
  Blocks blocks = LayoutBlocks(painter, page, u, top, left, width, scale);
  while (blocks.bottom > limit && scale > kMinTextScale) {
    scale = std::max(kMinTextScale, scale * std::min(0.95, (limit - top) / (blocks.bottom - top)));
    blocks = LayoutBlocks(painter, page, u, top, left, width, scale);
  }
  for (const PlacedText& t : blocks.texts) {
    if (t.at.y > limit) continue;  // only when even the smallest text overruns
    if (!t.text.empty()) painter.Text(t.at, t.text, t.font, Align::Left);
  }
  painter.SetPen({kBlack, 0.5, LinePattern::Solid});
  painter.Rect(left, blocks.boxTop, width,
               std::clamp(limit - blocks.boxTop, 0.0, blocks.boxHeight));
}

}  // namespace rovanel::display
