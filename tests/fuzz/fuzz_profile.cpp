// A profile file of any bytes: reading never fails, and writing one key
// stores exactly that value while every other key reads as before; a
// byte-order mark stays, and the lines added end as the file's own do.
// Several keys written or read at once are the same as one by one.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProfileText.h"

namespace {

constexpr std::string_view kSections[] = {"COMMUNICATION", "MES_PARA", "mes_para", "A"};
constexpr std::string_view kKeys[] = {"Xport_IP", "Xport_Port", "START_FQ", "D_LEVEL", "x"};
constexpr std::string_view kValues[] = {"127.0.0.1", "", " 1", "10001", "a=b", "[x]"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  using kov::platform::ReadProfileValue;
  using kov::platform::WriteProfileValue;
  const std::uint8_t pick = data[0];
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view section = kSections[pick % 4];
  const std::string_view key = kKeys[(pick / 4) % 5];
  const std::string_view value = kValues[(pick / 20) % 6];

  const std::string written = WriteProfileValue(file, section, key, value);
  // Trimmed on reading, as the value " 1" comes back as "1".
  std::string_view expected = value;
  while (!expected.empty() && expected.front() == ' ') expected.remove_prefix(1);
  const auto back = ReadProfileValue(written, section, key);
  if (!back || *back != expected) __builtin_trap();

  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if ((file.substr(0, 3) == kBom) != (std::string_view(written).substr(0, 3) == kBom)) {
    __builtin_trap();
  }
  const bool cr = file.find('\r') != std::string_view::npos;
  const bool lf = file.find('\n') != std::string_view::npos;
  if (cr != lf && written.find(cr ? '\n' : '\r') != std::string::npos) __builtin_trap();

  for (std::string_view s : kSections) {
    for (std::string_view k : kKeys) {
      const bool same = s.size() == section.size() && k == key &&
                        (s == section || (s == "MES_PARA" && section == "mes_para") ||
                         (s == "mes_para" && section == "MES_PARA"));
      if (same) continue;
      // Another section name that matches case-insensitively is the same.
      std::string a(s), b(section);
      for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (char& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (a == b && k == key) continue;
      if (ReadProfileValue(written, s, k) != ReadProfileValue(file, s, k)) __builtin_trap();
    }
  }

  // Several keys at once, as a save stores them, are the keys one by one;
  // read at once, they are what each reads alone. (A file whose first line
  // ends in a lone CR and a later one in LF has its line ends joined
  // otherwise by the writes one by one.)
  const std::size_t brk = file.find_first_of("\r\n");
  const bool loneCrFirst = brk != std::string_view::npos && file[brk] == '\r' &&
                           file.substr(brk, 2) != "\r\n" &&
                           file.find('\n') != std::string_view::npos;
  if (!loneCrFirst && size > 2) {
    std::vector<kov::platform::ProfileEntry> entries;
    std::vector<kov::platform::ProfileKey> keys;
    std::string oneByOne(file);
    for (std::size_t i = 0; i < 4; ++i) {
      const std::uint8_t b = data[i % 2 == 0 ? 0 : size - 1] >> i;
      const kov::platform::ProfileEntry e{kSections[(b + i) % 4], kKeys[(b / 4 + i) % 5],
                                          kValues[(b / 2 + i) % 6]};
      entries.push_back(e);
      keys.push_back({e.section, e.key});
      oneByOne = WriteProfileValue(oneByOne, e.section, e.key, e.value);
    }
    if (kov::platform::WriteProfileValues(file, entries) != oneByOne) __builtin_trap();
    const auto values = kov::platform::ReadProfileValues(oneByOne, keys);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (values[i] != ReadProfileValue(oneByOne, keys[i].section, keys[i].key)) __builtin_trap();
    }
  }
  return 0;
}
