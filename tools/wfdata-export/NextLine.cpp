#include "NextLine.h"

#include <algorithm>
#include <bit>
#include <charconv>

namespace kov::wfexport::scan {
namespace {

// Where byte i of the text lies in its word.
int ShiftOf(std::size_t i) {
  const auto inWord = static_cast<int>(i % 8);
  return 8 * (std::endian::native == std::endian::little ? inWord : 7 - inWord);
}

}  // namespace

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
  digitShift_ = ShiftOf(digit);
}

// A 9 rolls over into the digit before it, in the words themselves (bytes
// written beside a word just read would stall the processor); a point with
// one digit more is written anew.
void NextLine::Carry() {
  if (point_ >= static_cast<std::uint32_t>(FrequencyAxis::kMaxPoints)) {
    length_ = 0;
    return;
  }
  for (std::size_t digit = length_ - 2;; --digit) {
    std::uint64_t& word = words_[digit / 8];
    const int shift = ShiftOf(digit);
    const auto byte = (word >> shift) & 0xFF;
    if (byte == ' ') {
      Expect(pass_, point_ + 1);
      return;
    }
    if (byte != '9') {
      word += std::uint64_t{1} << shift;
      ++point_;
      return;
    }
    word -= std::uint64_t{9} << shift;
  }
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
