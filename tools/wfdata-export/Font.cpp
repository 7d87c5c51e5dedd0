#include "Font.h"

#include <stb/stb_truetype.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace kov::wfexport {

extern const unsigned char kDejaVuSans[];
extern const std::size_t kDejaVuSansSize;

namespace {

// The next character of a UTF-8 text; '?' for a byte that starts none.
char32_t NextCharacter(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (more < 0 || lead > 0xF4 || pos + static_cast<std::size_t>(more) > text.size()) return '?';
  char32_t c = lead & (0x3F >> more);
  for (int i = 0; i < more; ++i) {
    const auto next = static_cast<unsigned char>(text[pos]);
    if ((next & 0xC0) != 0x80) return '?';
    c = c << 6 | (next & 0x3F);
    ++pos;
  }
  return c;
}

// Glyphs along a line of text, with their kerning.
template <typename Each>
void ForEachGlyph(const stbtt_fontinfo& info, std::string_view text, double size, Each each) {
  const float scale = stbtt_ScaleForPixelHeight(&info, static_cast<float>(size));
  double pen = 0;
  int previous = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    int glyph = stbtt_FindGlyphIndex(&info, static_cast<int>(NextCharacter(text, pos)));
    if (glyph == 0) glyph = stbtt_FindGlyphIndex(&info, '?');
    if (previous != 0) pen += scale * stbtt_GetGlyphKernAdvance(&info, previous, glyph);
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info, glyph, &advance, &bearing);
    each(glyph, scale, pen);
    pen += scale * advance;
    previous = glyph;
  }
  each(0, scale, pen);  // the end of the line
}

}  // namespace

const Font& Font::Sans() {
  static const Font font(kDejaVuSans);
  return font;
}

Font::Font(const unsigned char* data) : info_(std::make_unique<stbtt_fontinfo>()) {
  stbtt_InitFont(info_.get(), data, stbtt_GetFontOffsetForIndex(data, 0));
}

Font::~Font() = default;

double Font::Width(std::string_view text, double size) const {
  double width = 0;
  ForEachGlyph(*info_, text, size, [&](int, float, double pen) { width = pen; });
  return width;
}

void Font::Render(std::string_view text, double size, double x, double baseline,
                  const std::function<void(int, int, std::uint8_t)>& plot) const {
  const int y = static_cast<int>(std::lround(baseline));
  std::vector<unsigned char> coverage;
  ForEachGlyph(*info_, text, size, [&](int glyph, float scale, double pen) {
    if (glyph == 0) return;
    const double left = std::floor(x + pen);
    const auto shift = static_cast<float>(x + pen - left);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBoxSubpixel(info_.get(), glyph, scale, scale, shift, 0, &x0, &y0, &x1, &y1);
    const int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0) return;
    coverage.assign(static_cast<std::size_t>(w) * h, 0);
    stbtt_MakeGlyphBitmapSubpixel(info_.get(), coverage.data(), w, h, w, scale, scale, shift, 0,
                                  glyph);
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        const unsigned char a = coverage[static_cast<std::size_t>(j) * w + i];
        if (a != 0) plot(static_cast<int>(left) + x0 + i, y + y0 + j, a);
      }
    }
  });
}

}  // namespace kov::wfexport
