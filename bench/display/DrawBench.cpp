// Targets: SetLevelColor under 20 ns a call; DrawPass of 102 bands (32 640
// points on both graphs, at their size of 585 x 241 pixels) under 5 ms.
#include <benchmark/benchmark.h>

#include "display/LevelColor.h"
#include "display/Palette.h"
#include "display/RasterSurface.h"
#include "display/SpectrumDisplay.h"
#include "fakes/FakeWindow.h"
#include "link/Protocol.h"

static void BM_SetLevelColor(benchmark::State& state) {
  std::int32_t level = 0;
  for (auto _ : state) {
    const auto check = static_cast<std::int16_t>(level & 1);
    benchmark::DoNotOptimize(kov::display::SetLevelColor(-(level % 101), check));
    ++level;
  }
}
BENCHMARK(BM_SetLevelColor);

static void BM_DrawPass102Bands(benchmark::State& state) {
  kov::display::RasterSurface data(585, 241, kov::display::kSpectrumBackground);
  kov::display::RasterSurface wf(585, 241, kov::display::kWaterfallBackground);
  kov::fakes::FakeWindow window;
  window.check = 1;
  kov::display::SpectrumDisplay display(data, wf, window, window);
  kov::measure::WFGrid grid;
  for (int b = 0; b < 102; ++b) {
    for (int i = 0; i < kov::link::kPointsPerBand; ++i)
      grid.At(b, i) = i % 50 == 0 ? "-030 " : "-088 ";
  }
  display.ScaleWaterfall(102, 10);
  for (auto _ : state) {
    display.DrawPass(102, 5, grid);
    benchmark::DoNotOptimize(wf.Pixels());
  }
}
BENCHMARK(BM_DrawPass102Bands)->Unit(benchmark::kMillisecond);
