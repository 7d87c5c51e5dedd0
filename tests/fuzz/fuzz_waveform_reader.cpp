// A recording of any bytes, cut into chunks at places the input chooses: the
// exporter's reader agrees with a plain reader of each line on every point
// and level, the counts, the skipped lines and their numbers, and where and
// how the file ends.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ChunkedReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // From 1 byte, through the usual lines' length, to more than a window's margin.
  const std::uint64_t chunkBytes = 1 + (data[0] | data[1] << 8) % 6000;
  const std::string_view file(reinterpret_cast<const char*>(data + 2), size - 2);
  namespace t = kov::wfexport::testing;
  if (!t::Difference(t::ReadPlainly(file), t::ReadInChunks(file, chunkBytes)).empty()) {
    __builtin_trap();
  }
  return 0;
}
