#include "window/Layout.h"

#include "display/Palette.h"

namespace kov::window {
namespace {

constexpr bool InTableOrder() {
  for (std::size_t row = 0; row < kControlCount; ++row) {
    if (static_cast<std::size_t>(kControls[row].id) != row) return false;
  }
  return true;
}
static_assert(InTableOrder(), "the rows of the layout table follow the enum Control");

}  // namespace

GraphPixels PixelsOf(Graph graph, int dpi) {
  const ControlRow& c = RowOf(ControlOf(graph));
  return {Pixels(c.width, dpi), Pixels(c.height, dpi),
          graph == Graph::Spectrum ? display::kSpectrumBackground : display::kWaterfallBackground};
}

}  // namespace kov::window
