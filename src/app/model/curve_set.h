// The curves of the window: as acquired and as shown, how many are held, and
// the pen of each, with the rules of superposition and of the colours.
#pragma once

#include <array>
#include <string>
#include <utility>

#include "display/canvas.h"
#include "signal/stores.h"

namespace rovanel::app::model {

class CurveSet {
 public:
  using Colours = std::array<display::Rgb, 4>;
  // The start: one curve; black, navy, red and black pens.
  static constexpr Colours kStartColours{display::kBlack, display::kNavy, display::kRed,
                                         display::kBlack};

  // Curves held, 1..4; the last one is curve Count().
  int Count() const { return count_; }
  // Curve k (1..4) as acquired and as shown. The owner writes them.
  const signal::Curve& Raw(int k) const { return raw_[k]; }
  const signal::Curve& Shown(int k) const { return shown_[k]; }
  signal::Curve& Raw(int k) { return raw_[k]; }
  signal::Curve& Shown(int k) { return shown_[k]; }
  const signal::CurveSet& AllRaw() const { return raw_; }
  const signal::CurveSet& AllShown() const { return shown_; }
  signal::CurveSet& AllShown() { return shown_; }
  const Colours& Pens() const { return colours_; }
  display::Rgb Pen(int k) const { return colours_[static_cast<std::size_t>(k - 1)]; }
  // Where curve k (1..4) came from: a file's name, or empty once acquired.
  const std::string& Name(int k) const { return names_[static_cast<std::size_t>(k - 1)]; }
  void SetName(int k, std::string name) { names_[static_cast<std::size_t>(k - 1)] = std::move(name); }

  // Superposition: a new curve when fewer than `limit` are held, its pen
  // black and the older ones taking red and navy in turn; true when it came.
  // Otherwise the last curve is taken again.
  bool Add(int limit);
  // Removes the newest curve (never the only one), the pens turning back.
  bool RemoveNewest();
  // The count, clamped to 1..4.
  void SetCount(int n);
  void SetPens(const Colours& pens) { colours_ = pens; }
  // Back to the start pens, the third silver in spectrometry.
  void ResetPens(bool spectrometry);
  // Spectrometry: the reference (silver) beside the measurement (black).
  void SetSpectroPens();
  // Entry 3 moves to 1, 1 to 2, 2 to 3 (entry 4 stays); and back.
  void RotatePens();
  void RotatePensBack();

 private:
  signal::CurveSet raw_, shown_;
  int count_ = 1;
  Colours colours_ = kStartColours;
  std::array<std::string, 4> names_;
};

}  // namespace rovanel::app::model
