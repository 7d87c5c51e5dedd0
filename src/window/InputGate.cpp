#include "window/InputGate.h"

namespace kov::window {
namespace {

// Input older than this is not from a blocking wait of this program: the
// longest is the first settling wait of 102 bands plus a connect.
constexpr std::int32_t kPlausibleAgeMs = 10 * 60 * 1000;

std::int32_t Difference(std::uint32_t later, std::uint32_t earlier) {
  return static_cast<std::int32_t>(later - earlier);
}

}  // namespace

void InputGate::SetEnabled(Control control, bool enabled, std::uint32_t now) {
  State& state = states_[control];
  if (state.enabled != enabled) state.since = now;
  state.enabled = enabled;
}

bool InputGate::Accepts(Control control, std::uint32_t madeAt, std::uint32_t now) const {
  const auto it = states_.find(control);
  if (it == states_.end()) return true;
  const State& state = it->second;
  if (!state.enabled) return false;
  if (madeAt == 0) return true;
  const std::int32_t age = Difference(now, madeAt);
  if (age < 0 || age > kPlausibleAgeMs) return true;
  return Difference(state.since, madeAt) <= 0;
}

}  // namespace kov::window
