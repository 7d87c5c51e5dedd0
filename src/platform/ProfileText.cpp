#include "platform/ProfileText.h"

#include <vector>

namespace kov::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Line {
  std::string_view text;  // without its line end
  std::string_view end;   // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view file) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < file.size()) {
    const std::size_t brk = file.find_first_of("\r\n", pos);
    if (brk == std::string_view::npos) {
      lines.push_back({file.substr(pos), {}});
      break;
    }
    const std::size_t endSize = file.compare(brk, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back({file.substr(pos, brk - pos), file.substr(brk, endSize)});
    pos = brk + endSize;
  }
  return lines;
}

// New lines follow the file's own first line end; a file without one gets CR LF.
std::string_view LineEnd(const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (!line.end.empty()) return line.end;
  }
  return "\r\n";
}

// Editors put a byte-order mark before the first section; it is no part of it.
std::string_view WithoutBom(std::string_view file) {
  if (file.substr(0, kUtf8Bom.size()) == kUtf8Bom) file.remove_prefix(kUtf8Bom.size());
  return file;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The name of a section header line, or no value for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  const std::string_view name =
      close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
  return Trim(name);
}

// Key and raw value of a key line; comments and other lines give no value.
std::optional<std::pair<std::string_view, std::string_view>> KeyLine(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::make_pair(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
}

// Index range [first, last) of the key lines of the first section named so;
// first is npos when the section is absent.
std::pair<std::size_t, std::size_t> FindSection(const std::vector<Line>& lines,
                                                std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i].text);
    if (!name || !SameName(*name, section)) continue;
    std::size_t j = i + 1;
    while (j < lines.size() && !SectionName(lines[j].text)) ++j;
    return {i + 1, j};
  }
  return {std::string_view::npos, 0};
}

// Index of the first line of [first, last) that holds the key; npos if none.
std::size_t FindKey(const std::vector<Line>& lines, std::size_t first, std::size_t last,
                    std::string_view key) {
  for (std::size_t i = first; i < last; ++i) {
    const auto entry = KeyLine(lines[i].text);
    if (entry && SameName(entry->first, key)) return i;
  }
  return std::string_view::npos;
}

enum class Edit { kReplace, kInsertAfter };

// Every line byte for byte, except that line `at` is replaced by `text` (its
// line end kept) or followed by `text` and a line end. A line that gets
// something after it is given a line end if it had none.
void AppendLines(std::string& out, const std::vector<Line>& lines, std::size_t at, Edit edit,
                 std::string_view text, std::string_view end) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i != at) {
      out.append(lines[i].text).append(lines[i].end);
    } else if (edit == Edit::kReplace) {
      out.append(text).append(lines[i].end);
    } else {
      out.append(lines[i].text).append(lines[i].end.empty() ? end : lines[i].end);
      out.append(text).append(end);
    }
  }
}

}  // namespace

std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key) {
  const std::vector<Line> lines = SplitLines(WithoutBom(file));
  const auto [first, last] = FindSection(lines, section);
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t at = FindKey(lines, first, last, key);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view value = KeyLine(lines[at].text)->second;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kProfileValueMax));
}

std::string WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string_view body = WithoutBom(file);
  const std::vector<Line> lines = SplitLines(body);
  const std::string_view end = LineEnd(lines);
  // A line break in a value would start new lines of its own, even sections
  // and keys: the value ends where its first line ends.
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::string keyLine = std::string(key) + "=" + std::string(value);

  std::string out(file.substr(0, file.size() - body.size()));
  out.reserve(file.size() + keyLine.size() + section.size() + 8);
  const auto [first, last] = FindSection(lines, section);
  if (first == std::string_view::npos) {
    const std::string header = "[" + std::string(section) + "]";
    if (lines.empty()) return out + header + std::string(end) + keyLine + std::string(end);
    AppendLines(out, lines, lines.size() - 1, Edit::kInsertAfter,
                header + std::string(end) + keyLine, end);
    return out;
  }
  if (const std::size_t at = FindKey(lines, first, last, key); at != std::string_view::npos) {
    AppendLines(out, lines, at, Edit::kReplace, keyLine, end);
    return out;
  }
  // New key: after the section's last non-blank line (blank lines that part
  // it from the next section stay after it).
  std::size_t insertAfter = first - 1;
  for (std::size_t i = first; i < last; ++i) {
    if (!Trim(lines[i].text).empty()) insertAfter = i;
  }
  AppendLines(out, lines, insertAfter, Edit::kInsertAfter, keyLine, end);
  return out;
}

}  // namespace kov::platform
