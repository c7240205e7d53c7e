#include "app/progress_gauge.h"

#include <algorithm>
#include <cmath>

namespace rovanel::app {

namespace {
int Nearest(double x) {
  return static_cast<int>(std::nearbyint(x));
}
}  // namespace

void TPBar::Notify() {
  if (Changed) Changed();
}

void TPBar::CancelClick() {
  if (onCancel_) onCancel_();
}

void TPBar::SetLigne1(const std::string& text) {
  ligne1_ = text;
  Notify();
}

void TPBar::SetLigne2(const std::string& text) {
  ligne2_ = text;
  Notify();
}

void TPBar::Show() {
  visible_ = true;
  SetPosition(MinValue);
}

void TPBar::Hide() {
  visible_ = false;
  Notify();
}

void TPBar::SetPosition(int v) {
  position_ = std::clamp(v, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
  Notify();
}

int TPBar::Percent() const {
  if (MaxValue == MinValue) return 0;
  return Nearest(static_cast<double>(position_ - MinValue) / (MaxValue - MinValue) * 100.0);
}

TPBar::Rect TPBar::Bevel() const {
  return {Margin, Nearest(WinHeight * 1.2 / 3), WinWidth - 2 * Margin,
          Nearest(WinHeight * 0.8 / 3)};
}

TPBar::Rect TPBar::Ligne1Rect() const {
  return {Margin, Nearest(WinHeight * 0.1 / 3), WinWidth - 2 * Margin, 18};
}

TPBar::Rect TPBar::Ligne2Rect() const {
  return {Margin, Nearest(WinHeight * 0.7 / 3), WinWidth - 2 * Margin, 15};
}

TPBar::Rect TPBar::CancelRect() const {
  return {(WinWidth - 100) / 2, Nearest(WinHeight * 2.2 / 3), 100, 20};
}

}  // namespace rovanel::app
