#include "measure/SweepPlan.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/Numbers.h"

namespace kov::measure {
namespace {

constexpr const char* kMsgFrequencyRange = "周波数の値が範囲外です";
constexpr const char* kMsgBandLimit = "測定周波数範囲は1020MHz以内にしてください";
constexpr const char* kMsgCountRange = "ダウンロード回数は1～32767回で指定してください";

constexpr int kMaxBands = 102;
// The widening of an empty or narrow range, and the snap: both the constant
// 10, not the band width.
constexpr int kWidening = 10;
constexpr int kSnap = 10;
constexpr int kBandWidthMHz = 10;

std::optional<std::int16_t> Magnitude(std::string_view text) {
  return platform::RoundToInteger(std::fabs(platform::LeadingNumber(text)));
}

}  // namespace

bool Refusal::operator==(const Refusal& other) const {
  return std::string_view(message) == other.message;
}

std::variant<SweepPlan, Refusal> PlanSweep(std::string_view startText, std::string_view endText,
                                           std::string_view countText) {
  // The end is read before the start.
  const auto end = Magnitude(endText);
  const auto start = Magnitude(startText);
  if (!end || !start) return Refusal{kMsgFrequencyRange};
  int s = *start;
  int e = *end;
  if (s == e) {
    e = s + kWidening;
  } else if (s > e) {
    std::swap(s, e);  // no widening after the exchange
  } else if (e - s <= kWidening) {
    e = s + kWidening;
  }
  if (e > std::numeric_limits<std::int16_t>::max()) return Refusal{kMsgFrequencyRange};
  e = e / kSnap * kSnap;  // both are non-negative: truncation rounds down
  s = s / kSnap * kSnap;
  const int bands = (e - s) / kBandWidthMHz;
  if (bands > kMaxBands) return Refusal{kMsgBandLimit};

  const auto count = platform::RoundToInteger(platform::LeadingNumber(countText));
  if (!count || *count < 1) return Refusal{kMsgCountRange};
  return SweepPlan{*count, static_cast<std::int16_t>(s), static_cast<std::int16_t>(e),
                   static_cast<std::int16_t>(bands)};
}

}  // namespace kov::measure
