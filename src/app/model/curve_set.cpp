#include "app/model/curve_set.h"

#include <algorithm>

namespace rovanel::app::model {

bool CurveSet::Add(int limit) {
  if (count_ >= std::min(limit, signal::kMaxCurves)) return false;
  ++count_;
  names_[static_cast<std::size_t>(count_ - 1)].clear();
  RotatePens();
  return true;
}

bool CurveSet::RemoveNewest() {
  if (count_ < 2) return false;
  --count_;
  RotatePensBack();
  return true;
}

void CurveSet::SetCount(int n) {
  count_ = std::clamp(n, 1, signal::kMaxCurves);
}

void CurveSet::ResetPens(bool spectrometry) {
  colours_[0] = display::kBlack;
  colours_[1] = display::kNavy;
  colours_[2] = spectrometry ? display::kSilver : display::kRed;
}

void CurveSet::SetSpectroPens() {
  colours_[0] = display::kSilver;
  colours_[1] = display::kBlack;
  colours_[2] = display::kNavy;
}

void CurveSet::RotatePens() {
  const Colours old = colours_;
  colours_[0] = old[2];
  colours_[1] = old[0];
  colours_[2] = old[1];
}

void CurveSet::RotatePensBack() {
  const Colours old = colours_;
  colours_[0] = old[1];
  colours_[1] = old[2];
  colours_[2] = old[0];
}

}  // namespace rovanel::app::model
