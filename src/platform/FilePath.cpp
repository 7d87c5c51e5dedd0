#include "platform/FilePath.h"

#ifdef _WIN32
#include "platform/Utf16.h"
#endif

namespace kov::platform {

#ifdef _WIN32
std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(Utf16(path).c_str(), Utf16(mode).c_str());
}

std::filesystem::path FsPath(const std::string& path) { return std::filesystem::path(Utf16(path)); }

std::string PathText(const std::filesystem::path& path) { return FromUtf16(path.native()); }
#else
std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::filesystem::path FsPath(const std::string& path) { return std::filesystem::path(path); }

std::string PathText(const std::filesystem::path& path) { return path.native(); }
#endif

}  // namespace kov::platform
