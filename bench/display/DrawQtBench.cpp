// Target: DrawPass of 102 bands (32 640 points on both graphs, at their size
// of 585 x 241 pixels) under 5 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "display/Palette.h"
#include "display/QImageSurface.h"
#include "display/SpectrumDisplay.h"
#include "fakes/FakeControls.h"

static void BM_DrawPass102Bands(benchmark::State& state) {
  kov::display::QImageSurface data(585, 241, kov::display::kSpectrumBackground);
  kov::display::QImageSurface wf(585, 241, kov::display::kWaterfallBackground);
  kov::fakes::FakeControls controls;
  controls.check = 1;
  kov::display::SpectrumDisplay display(data, wf, controls);
  kov::measure::WFGrid grid;
  for (int b = 0; b < 102; ++b) {
    for (int i = 0; i < 320; ++i) grid.At(b, i) = i % 50 == 0 ? "-030 " : "-088 ";
  }
  display.ScaleWaterfall(102, 10);
  for (auto _ : state) display.DrawPass(102, 5, grid);
}
BENCHMARK(BM_DrawPass102Bands)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
