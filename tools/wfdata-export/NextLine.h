#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FrequencyAxis.h"
#include "HotInline.h"

namespace kov::wfexport::scan {

// The start " 12,  346," of the line the program writes after " 12,  345,":
// recognised in a few steps, as nearly every line of a recording is that.
class NextLine {
 public:
  // Expects the line after `line`, of this pass and point; false when `line`
  // does not start as the program writes that pass and point.
  bool After(const char* line, std::uint32_t pass, std::uint32_t point);
  KOV_HOT_INLINE bool Matches(const char* p) const {
    if (length_ == 0) return false;
    std::uint64_t a, b;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    return (((a ^ words_[0]) & masks_[0]) | ((b ^ words_[1]) & masks_[1])) == 0;
  }
  // Then the line after that: the point's digits count on in place.
  KOV_HOT_INLINE void Advance() {
    std::uint64_t& word = words_[digitWord_];
    if (((word >> digitShift_) & 0xFF) != '9' && point_ < FrequencyAxis::kMaxPoints) {
      word += std::uint64_t{1} << digitShift_;
      ++point_;
    } else {
      Carry();
    }
  }
  void Forget() { length_ = 0; }
  std::size_t Length() const { return length_; }
  std::int32_t Pass() const { return static_cast<std::int32_t>(pass_); }
  std::int32_t Point() const { return static_cast<std::int32_t>(point_); }

 private:
  void Expect(std::uint32_t pass, std::uint32_t point);
  void Carry();

  std::uint64_t words_[2] = {}, masks_[2] = {};
  std::size_t length_ = 0;  // no line matches until one is expected
  std::size_t digitWord_ = 0;
  int digitShift_ = 0;
  std::uint32_t pass_ = 0, point_ = 0;
};

}  // namespace kov::wfexport::scan
