// The printed page: the layout alone (on a painter that draws nothing), and
// the whole page written as a PDF and as a 150 dpi PNG, for three profiles
// (2048 samples each) and for long Michelson views (one series).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <filesystem>
#include <string>

#include "base/vector_state.h"
#include "display/page_output.h"
#include "display/print_page.h"

namespace {

using namespace rovanel::display;

class NullPainter : public PagePainter {
 public:
  double Width() const override { return 9921; }  // A4 at 1200 dpi
  double Height() const override { return 14031; }
  double Dpi() const override { return 1200; }
  void SetPen(const PagePen&) override {}
  void Line(PagePoint, PagePoint) override { ++calls; }
  void Polyline(std::span<const PagePoint> points) override { calls += points.size(); }
  void Rect(double, double, double, double) override {}
  void FillRect(double, double, double, double, Rgb) override { ++calls; }
  void Ellipse(PagePoint, double, double) override {}
  void Text(PagePoint, std::string_view, const PageFont&, Align) override { ++calls; }
  double TextWidth(std::string_view text, const PageFont& font) override {
    return 0.5 * font.sizePt * 1200 / 72 * static_cast<double>(text.size());
  }
  std::size_t calls = 0;
};

PrintPage Page(std::size_t span, int curves) {
  PrintPage page;
  page.title = "ROVANEL  —  Interference and diffraction";
  page.date = "2026-12-09  10:00";
  page.nom = "Ada Martin";
  page.manip = "Young slits";
  page.remark = std::string(300, 'x');
  page.span = span;
  page.x.resize(span);
  for (std::size_t i = 0; i < span; ++i) page.x[i] = 14.0 * static_cast<double>(i);
  for (int k = 0; k < curves; ++k) {
    PageCurve c;
    c.levels.resize(span);
    for (std::size_t i = 0; i < span; ++i)
      c.levels[i] = 128 + 100 * std::sin(0.01 * static_cast<double>(i) * (k + 1));
    page.curves.push_back(std::move(c));
  }
  page.cursorsX = {0.2, 0.6};
  page.readouts = {"X1 =   5600.00µm", "X2 =  16800.00µm", "|X1-X2| =  11200.00µm"};
  page.settings = {"Curves: 3", "Processing: none", "Zoom: 1:4"};
  return page;
}

// The states the window prints: up to three profiles of 2048 samples, or a
// single series.
int CurvesFor(std::size_t span) {
  return span <= 2048 ? 3 : 1;
}

void BM_LayOutPage(benchmark::State& state) {
  const auto span = static_cast<std::size_t>(state.range(0));
  const PrintPage page = Page(span, CurvesFor(span));
  NullPainter painter;
  for (auto _ : state) {
    DrawPage(painter, page, PageStyle{});
    benchmark::DoNotOptimize(painter.calls);
  }
}
BENCHMARK(BM_LayOutPage)->Arg(2048)->Arg(32768)->Arg(131072)->Unit(benchmark::kMicrosecond);

void BM_WritePage(benchmark::State& state) {
  const auto span = static_cast<std::size_t>(state.range(0));
  const PrintPage page = Page(span, CurvesFor(span));
  const bool pdf = state.range(1) == 0;
  const std::string path =
      (std::filesystem::temp_directory_path() / (pdf ? "rovanel-bench.pdf" : "rovanel-bench.png"))
          .string();
  std::string error;
  for (auto _ : state) {
    const bool ok = pdf ? WritePagePdf(path, page, PageStyle{}, PageSetup{}, error)
                        : WritePagePng(path, page, PageStyle{}, PageSetup{}, 150, error);
    if (!ok) state.SkipWithError(error.c_str());
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_WritePage)
    ->ArgNames({"span", "png"})
    ->Args({2048, 0})
    ->Args({32768, 0})
    ->Args({2048, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Texts need a font database.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  rovanel::ClearUpperVectorHalves();  // as the program does after Qt's start-up
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
