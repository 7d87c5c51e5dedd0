#include "platform/Console.h"

#include <algorithm>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/CodePage.h"
#include "platform/Utf16.h"
#endif

namespace kov::platform {
namespace {

#ifdef _WIN32
// A console takes characters, not bytes; anything else the code page's bytes,
// through the C runtime, which makes each line end CR LF as it always has.
void Emit(Console::Stream stream, std::string_view utf8) {
  const bool output = stream == Console::Stream::Output;
  std::FILE* file = output ? stdout : stderr;
  const HANDLE handle = GetStdHandle(output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(handle, &mode)) {
    const std::string bytes = ToSystemCodePage(utf8);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
    return;
  }
  std::fflush(file);
  const std::wstring text = Utf16(utf8);
  for (std::size_t done = 0; done < text.size();) {
    // Pieces a console takes at once, even an old one, each ending at a
    // character's end.
    auto piece = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 8192));
    if (piece > 1 && IS_HIGH_SURROGATE(text[done + piece - 1])) --piece;
    DWORD written = 0;
    if (!WriteConsoleW(handle, text.data() + done, piece, &written, nullptr) || written == 0) {
      return;
    }
    done += written;
  }
}
#else
void Emit(Console::Stream stream, std::string_view utf8) {
  std::FILE* file = stream == Console::Stream::Output ? stdout : stderr;
  std::fwrite(utf8.data(), 1, utf8.size(), file);
  std::fflush(file);
}
#endif

class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(Console::Stream stream) : stream_(stream) {}
  ~ConsoleBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) held_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize n) override {
    held_.append(text, static_cast<std::size_t>(n));
    return n;
  }
  int sync() override {
    const std::size_t whole = WholeCharacters(held_);
    if (whole > 0) Emit(stream_, std::string_view(held_).substr(0, whole));
    held_.erase(0, whole);
    return 0;
  }

 private:
  Console::Stream stream_;
  std::string held_;
};

}  // namespace

Console::Console(Stream stream)
    : std::ostream(nullptr), buffer_(std::make_unique<ConsoleBuffer>(stream)) {
  rdbuf(buffer_.get());
  if (stream == Stream::Error) setf(std::ios::unitbuf);
}

Console::~Console() { flush(); }

std::size_t WholeCharacters(std::string_view utf8) {
  // The last character's first byte, at most four bytes back.
  for (std::size_t back = 1; back <= 4 && back <= utf8.size(); ++back) {
    const auto c = static_cast<unsigned char>(utf8[utf8.size() - back]);
    if ((c & 0xC0) == 0x80) continue;
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? utf8.size() - back : utf8.size();
  }
  return utf8.size();
}

}  // namespace kov::platform
