#pragma once

// Windows only: texts the system writes into a buffer of the caller's.
#ifdef _WIN32
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kov::platform {

// call(buffer, size) writes the text into the buffer and returns its length,
// or 0 when it fails. A buffer too small gives size or more: the size the
// text needs (GetFullPathNameW, GetFinalPathNameByHandleW) or the text cut
// to size (GetModuleFileNameW). The buffer grows until the whole text fits:
// a path has no fixed limit, and a cut one names another file.
std::optional<std::wstring> SystemText(
    const std::function<std::uint32_t(wchar_t* buffer, std::uint32_t size)>& call,
    std::uint32_t firstSize = 260);

}  // namespace kov::platform
#endif
