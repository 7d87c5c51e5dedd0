#include "NextLine.h"

#include <algorithm>
#include <bit>
#include <charconv>

namespace kov::wfexport::scan {

void NextLine::Expect(std::uint32_t pass, std::uint32_t point) {
  length_ = 0;
  if (pass > 32767 || point > static_cast<std::uint32_t>(FrequencyAxis::kMaxPoints)) return;
  pass_ = pass;
  point_ = point;
  char text[sizeof words_] = {};
  char* at = text;
  *at++ = ' ';
  at = std::to_chars(at, text + sizeof text, pass).ptr;
  at = std::copy_n(",  ", 3, at);
  at = std::to_chars(at, text + sizeof text, point).ptr;
  *at++ = ',';
  length_ = static_cast<std::size_t>(at - text);
  unsigned char mask[sizeof words_] = {};
  std::memset(mask, 0xFF, length_);
  std::memcpy(words_, text, sizeof words_);
  std::memcpy(masks_, mask, sizeof masks_);
  const std::size_t digit = length_ - 2;  // the point's last
  digitWord_ = digit / 8;
  const auto inWord = static_cast<int>(digit % 8);
  digitShift_ = 8 * (std::endian::native == std::endian::little ? inWord : 7 - inWord);
}

// A 9 rolls over into the digit before it; a point with one digit more is
// written anew.
void NextLine::Carry() {
  char text[sizeof words_];
  std::memcpy(text, words_, sizeof text);
  std::size_t digit = length_ - 2;
  while (text[digit] == '9') text[digit--] = '0';
  if (text[digit] == ' ' || point_ >= static_cast<std::uint32_t>(FrequencyAxis::kMaxPoints)) {
    Expect(pass_, point_ + 1);
    return;
  }
  ++text[digit];
  ++point_;
  std::memcpy(words_, text, sizeof words_);
}

bool NextLine::After(const char* line, std::uint32_t pass, std::uint32_t point) {
  Expect(pass, point);
  if (!Matches(line)) {
    length_ = 0;
    return false;
  }
  Advance();
  return true;
}

}  // namespace kov::wfexport::scan
