#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kov::settings {

// The six entry boxes of the window.
enum class Entry { TxtXportIP, TxtXportPort, TxtStartFQ, TxtEndFQ, TxtInterval, TxtTime };

// What the settings need of the window: the entry texts and the state of the
// level check box Chk1 (0 clear, 1 checked, 2 indeterminate).
class EntryControls {
 public:
  virtual ~EntryControls() = default;
  virtual std::string EntryText(Entry entry) const = 0;
  virtual void SetEntryText(Entry entry, std::string_view text) = 0;
  virtual std::int16_t CheckValue() const = 0;
  virtual void SetCheckValue(std::int16_t value) = 0;
};

}  // namespace kov::settings
