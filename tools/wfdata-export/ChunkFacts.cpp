#include "ChunkFacts.h"

#include <cstdio>
#include <string_view>

namespace kov::wfexport {
namespace {

// The line as a C-like quoted text, cut to a readable length.
std::string Quoted(std::string_view line) {
  constexpr std::size_t kShown = 60;
  std::string text = "\"";
  for (char c : line.substr(0, kShown)) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\') {
      text += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
      text += escaped;
    }
  }
  text += line.size() > kShown ? "\"..." : "\"";
  return text;
}

}  // namespace

void ChunkFacts::Skip(const char* begin, std::size_t length) {
  ++skipped;
  if (firstSkipped.size() < static_cast<std::size_t>(kReported)) {
    firstSkipped.push_back({lines, Quoted(std::string_view(begin, length))});
  }
}

}  // namespace kov::wfexport
