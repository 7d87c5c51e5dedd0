#pragma once

// Windows only: the command line as the system has it, in UTF-16.
#ifdef _WIN32
#include <string>
#include <vector>

#include "platform/Utf16.h"

namespace kov::platform {

// The arguments of wmain as UTF-8 texts, and the argv over them that the
// command-line code takes: a name in any script reaches the program whole,
// where the narrow argv would have it in the ANSI code page, with "?" for
// every character the code page lacks.
class Arguments {
 public:
  Arguments(int argc, const wchar_t* const* argv) {
    for (int i = 0; i < argc; ++i) texts_.push_back(FromUtf16(argv[i]));
    for (const std::string& text : texts_) pointers_.push_back(text.c_str());
    pointers_.push_back(nullptr);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  int Count() const { return static_cast<int>(texts_.size()); }
  const char* const* Values() const { return pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<const char*> pointers_;
};

}  // namespace kov::platform
#endif
