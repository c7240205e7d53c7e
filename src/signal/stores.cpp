#include "signal/stores.h"

namespace rovanel::signal {

int Stores::MissingBlocks() const {
  return MiSerie.MissingBlocks() + MiFftLevels.MissingBlocks() + PeakMarks.MissingBlocks() +
         MiSerieRaw.MissingBlocks() + WorkTab.MissingBlocks() + PeakFlags.MissingBlocks() +
         FftData.MissingBlocks() + SplineTab.MissingBlocks() + FftTwiddles.MissingBlocks() +
         FftWork.MissingBlocks();
}

void InitTabs(Stores& s) {
  for (std::uint32_t i = 0; i < kMiInitLength; ++i) {
    s.MiSerie.SetValue(i, 0);
    s.MiSerieRaw.SetValue(i, 0);
  }
}

}  // namespace rovanel::signal
