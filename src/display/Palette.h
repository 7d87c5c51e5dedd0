#pragma once

#include "display/GraphSurface.h"

namespace kov::display {

// Entries of the classic 16-colour palette that the graphs use.
inline constexpr Rgb kPaletteGreen{0, 128, 0};          // 2: spectrum grid
inline constexpr Rgb kPaletteMagenta{128, 0, 128};      // 5: middle grid line
inline constexpr Rgb kPaletteLightGrey{192, 192, 192};  // 7: waterfall centre line
inline constexpr Rgb kPaletteLightYellow{255, 255, 0};  // 14: level bars

// Background colours of the two graphs.
inline constexpr Rgb kSpectrumBackground{0, 0, 0};
inline constexpr Rgb kWaterfallBackground{0, 0, 255};

}  // namespace kov::display
