#include "LevelCodes.h"

#include <limits>

namespace kov::sim {
namespace {

// 1 to 1000: "+000 " to "+999 "; 1001 to 2000: "-000 " to "-999 "; above:
// the other texts.
constexpr std::uint16_t kFirstPlus = 1;
constexpr std::uint16_t kFirstMinus = 1001;
constexpr std::uint16_t kFirstOther = 2001;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::uint16_t> PlainCode(std::string_view cell) {
  if (cell.size() != 5 || (cell[0] != '+' && cell[0] != '-') || cell[4] != ' ') return {};
  if (!IsDigit(cell[1]) || !IsDigit(cell[2]) || !IsDigit(cell[3])) return {};
  const int value = (cell[1] - '0') * 100 + (cell[2] - '0') * 10 + (cell[3] - '0');
  return static_cast<std::uint16_t>((cell[0] == '+' ? kFirstPlus : kFirstMinus) + value);
}

}  // namespace

std::optional<std::uint16_t> LevelCodes::Encode(std::string_view cell) {
  if (cell == "00") return kNoData;
  if (const auto plain = PlainCode(cell)) return plain;
  const std::string text(cell);
  if (const auto it = index_.find(text); it != index_.end()) return it->second;
  if (others_.size() >= std::numeric_limits<std::uint16_t>::max() - kFirstOther + 1u) return {};
  const auto code = static_cast<std::uint16_t>(kFirstOther + others_.size());
  others_.push_back(text);
  index_.emplace(text, code);
  return code;
}

std::optional<std::string> LevelCodes::Decode(std::uint16_t code) const {
  if (code == kNoData) return std::nullopt;
  if (code >= kFirstOther) return others_.at(code - kFirstOther);
  const bool plus = code < kFirstMinus;
  const int value = code - (plus ? kFirstPlus : kFirstMinus);
  std::string text = plus ? "+000 " : "-000 ";
  text[1] = static_cast<char>('0' + value / 100);
  text[2] = static_cast<char>('0' + value / 10 % 10);
  text[3] = static_cast<char>('0' + value % 10);
  return text;
}

}  // namespace kov::sim
