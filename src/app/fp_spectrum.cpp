// The amplitude spectrum of the shown data, with the gauge and its cancel.
#include <algorithm>
#include <cstdio>

#include "app/main_window.h"
#include "app/window_scopes.h"
#include "signal/fft.h"

namespace rovanel::app {

namespace {

// Lets the window live while the transform runs: messages and the gauge.
class WindowPump final : public signal::FftPump {
 public:
  WindowPump(TFp& fp, bool gauge) : fp_(fp), progress_(fp), gauge_(gauge) {}
  std::int64_t NowUs() override { return fp_.GetBox().GetClock().NowUs(); }
  bool PumpMessages() override {
    progress_.Pump();
    return progress_.CancelRequested();
  }
  void StageDone(std::uint32_t position) override {
    if (gauge_) progress_.Tick(position);
  }

 private:
  TFp& fp_;
  GaugeProgress progress_;
  bool gauge_;
};

}  // namespace

void TFp::SetFftSize() {
  if (Mode() != Experiment::Michelson) return;
  const std::uint32_t n = static_cast<std::uint32_t>(std::max<std::int32_t>(MiParams.NbPoints, 1));
  const std::uint32_t size = signal::FftSizeFor(n);
  MiParams.FftSize = static_cast<std::int32_t>(size);
  if (size > signal::TDblTab::BlockElements) {
    const auto blocks = static_cast<std::uint8_t>(size / signal::TDblTab::BlockElements);
    if (stores.FftData.BlockCount() != blocks) {
      stores.FftData = signal::TDblTab(blocks);
      stores.FftWork = signal::TDblTab(blocks);
      stores.FftTwiddles = signal::TDblTab(blocks);
      if (stores.FftData.MissingBlocks() + stores.FftWork.MissingBlocks() +
              stores.FftTwiddles.MissingBlocks() >
          0)
        ui_->MessageBox(Text("ID_MES_ERR_memoire"), MessageKind::Error);
    }
  }
}

bool TFp::ComputeSpectrum(std::uint32_t size, bool showGauge) {
  // A profile has 2048 samples: its transform is never larger.
  if (Mode() != Experiment::Michelson) size = std::min<std::uint32_t>(size, kPixels);
  gjauge.Result = false;
  if (showGauge) {
    gjauge.MaxValue = static_cast<int>(size);
    gjauge.MinValue = 0;
    gjauge.CancelVisible = true;
    gjauge.Show();
    gjauge.SetLigne1(tools.Titre6.caption);
    char line[64];
    std::snprintf(line, sizeof line, "%u ", size);
    gjauge.SetLigne2(line + tools.Message5.caption);
  }
  // The pump may deliver clicks: nothing else may touch the data meanwhile.
  const LoopScope loop(*this);
  WindowPump pump(*this, showGauge);
  signal::FftArrays arrays{stores.FftData, stores.FftWork, stores.FftTwiddles};
  signal::FftStatus status;
  if (Mode() == Experiment::Michelson) {
    const auto n = static_cast<std::uint32_t>(std::max<std::int32_t>(MiParams.NbPoints, 0));
    status = signal::ComputeSpectrum(stores.MiSerie, n, size, arrays, stores.MiFftLevels, &pump);
    MiParams.fftValid = true;
  } else {
    const signal::Curve& last = curves_.Shown(curves_.Count());
    status =
        signal::ComputeSpectrum(std::span<const std::uint8_t>(last.data(), size), size, arrays,
                                std::span<std::uint8_t>(stores.FftLevels.data(), size / 2), &pump);
    ProfParams.fftValid = true;
  }
  if (showGauge) {
    gjauge.CancelVisible = false;
    gjauge.Hide();
  }
  return status == signal::FftStatus::Done;
}

}  // namespace rovanel::app
