#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

struct stbtt_fontinfo;

namespace kov::wfexport {

// The sans-serif font built into the program (DejaVu Sans), so that the
// pictures' text is the same on every system. Texts are UTF-8; a character
// the font lacks is drawn as "?".
class Font {
 public:
  static const Font& Sans();
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // The advance of the text in pixels at a height of `size` pixels.
  double Width(std::string_view text, double size) const;
  // The coverage (1 to 255) of each pixel the text touches, the pen starting
  // at x on the baseline.
  void Render(std::string_view text, double size, double x, double baseline,
              const std::function<void(int, int, std::uint8_t)>& plot) const;

 private:
  Font(const unsigned char* data);

  std::unique_ptr<stbtt_fontinfo> info_;
};

}  // namespace kov::wfexport
