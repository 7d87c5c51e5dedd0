#include "platform/ProfileText.h"

#include <vector>

namespace kov::platform {
namespace {

struct Line {
  std::string_view text;  // without its line end
  std::string_view end;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view file) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < file.size()) {
    const std::size_t lf = file.find('\n', pos);
    if (lf == std::string_view::npos) {
      lines.push_back({file.substr(pos), {}});
      break;
    }
    std::size_t textEnd = lf;
    if (textEnd > pos && file[textEnd - 1] == '\r') --textEnd;
    lines.push_back({file.substr(pos, textEnd - pos), file.substr(textEnd, lf + 1 - textEnd)});
    pos = lf + 1;
  }
  return lines;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

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

}  // namespace

std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key) {
  const std::vector<Line> lines = SplitLines(file);
  const auto [first, last] = FindSection(lines, section);
  if (first == std::string_view::npos) return std::nullopt;
  for (std::size_t i = first; i < last; ++i) {
    const auto entry = KeyLine(lines[i].text);
    if (!entry || !SameName(entry->first, key)) continue;
    std::string_view value = entry->second;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kProfileValueMax));
  }
  return std::nullopt;
}

std::string WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::vector<Line> lines = SplitLines(file);
  // A line break in a value would start new lines of its own, even sections
  // and keys: the value ends where its first line ends.
  value = value.substr(0, value.find_first_of("\r\n"));
  std::string newLine = std::string(key) + "=" + std::string(value);

  std::string out;
  out.reserve(file.size() + newLine.size() + section.size() + 8);
  auto append = [&out](const Line& line) {
    out.append(line.text);
    out.append(line.end);
  };
  // A last line without a line end gets one before anything follows it.
  auto appendClosed = [&out](const Line& line) {
    out.append(line.text);
    out.append(line.end.empty() ? std::string_view("\r\n") : line.end);
  };

  const auto [first, last] = FindSection(lines, section);
  if (first == std::string_view::npos) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i + 1 == lines.size()) {
        appendClosed(lines[i]);
      } else {
        append(lines[i]);
      }
    }
    out += "[" + std::string(section) + "]\r\n" + newLine + "\r\n";
    return out;
  }

  for (std::size_t i = first; i < last; ++i) {
    const auto entry = KeyLine(lines[i].text);
    if (!entry || !SameName(entry->first, key)) continue;
    for (std::size_t j = 0; j < lines.size(); ++j) {
      if (j == i) {
        out += newLine;
        out.append(lines[j].end);
      } else {
        append(lines[j]);
      }
    }
    return out;
  }

  // New key: after the section's last non-blank line (blank lines that part
  // it from the next section stay after it).
  std::size_t insertAfter = first - 1;
  for (std::size_t i = first; i < last; ++i) {
    if (!Trim(lines[i].text).empty()) insertAfter = i;
  }
  for (std::size_t j = 0; j < lines.size(); ++j) {
    if (j == insertAfter) {
      appendClosed(lines[j]);
      out += newLine + "\r\n";
    } else {
      append(lines[j]);
    }
  }
  return out;
}

}  // namespace kov::platform
