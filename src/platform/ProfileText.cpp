#include "platform/ProfileText.h"

#include <algorithm>

namespace kov::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kNone = std::string_view::npos;

struct Line {
  std::size_t start;      // where its text begins in the file
  std::string_view text;  // without its line end
  std::string_view end;   // "\r\n", "\n", "\r" or "" for a last line without one
  std::size_t Next() const { return start + text.size() + end.size(); }
};

// The lines of a file one at a time: a file of millions of lines is walked
// without a list of them.
class Lines {
 public:
  explicit Lines(std::string_view body) : body_(body) {}
  bool Next(Line& line) {
    if (pos_ >= body_.size()) return false;
    std::size_t brk = pos_;
    while (brk < body_.size() && body_[brk] != '\r' && body_[brk] != '\n') ++brk;
    std::size_t endSize = brk < body_.size() ? 1 : 0;
    if (endSize == 1 && body_[brk] == '\r' && brk + 1 < body_.size() && body_[brk + 1] == '\n') {
      endSize = 2;
    }
    line = {pos_, body_.substr(pos_, brk - pos_), body_.substr(brk, endSize)};
    pos_ = line.Next();
    return true;
  }

 private:
  std::string_view body_;
  std::size_t pos_ = 0;
};

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

std::string_view KeyOf(std::string_view keyLine) { return KeyLine(keyLine)->first; }

std::string ValueOf(std::string_view raw) {
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
    raw = raw.substr(1, raw.size() - 2);
  }
  return std::string(raw.substr(0, kProfileValueMax));
}

// Where the walk over the lines stands for one section name: only the first
// section of that name counts.
enum class Place { kBefore, kIn, kPast };

Place AtHeader(Place place, std::string_view header, std::string_view section) {
  if (place == Place::kIn) return Place::kPast;
  return place == Place::kBefore && SameName(header, section) ? Place::kIn : place;
}

// A key line a write leaves in the file: one of the file's own, given a new
// text, or a new one.
struct Slot {
  std::size_t start = kNone;  // where the file's own line's text begins
  std::size_t length = 0;     // the length of that text
  std::string text;
};

// The entries that name one section, and what the walk over the lines found
// for them in the first section of that name.
struct Group {
  std::string_view section;  // as the first of them names it
  std::vector<std::string> keyLines;
  std::vector<std::string_view> keys;
  std::vector<bool> placed;  // the entry has found a line of the file's own
  Place place = Place::kBefore;
  std::size_t anchor = kNone;  // where the section's last non-blank line ends
  bool anchorEnded = true;     // that line has a line end
  std::vector<Slot> replaced, added;

  // A key line of the section: every entry not yet placed that names its key
  // takes it, and the last of them gives it its text. (A new text names the
  // same key, but for its case.)
  void TakeLine(const Line& line) {
    const std::string_view key = KeyOf(line.text);
    Slot* slot = nullptr;
    for (std::size_t j = 0; j < keys.size(); ++j) {
      if (placed[j] || !SameName(key, keys[j])) continue;
      placed[j] = true;
      if (slot == nullptr) slot = &replaced.emplace_back(Slot{line.start, line.text.size(), {}});
      slot->text = keyLines[j];
    }
  }
  // The entries that found no line of the file's own, after it: the first
  // adds a line, a later one for the same key replaces it.
  void AddTheRest() {
    for (std::size_t j = 0; j < keys.size(); ++j) {
      if (placed[j]) continue;
      const auto same = std::find_if(added.begin(), added.end(), [&](const Slot& slot) {
        return SameName(KeyOf(slot.text), keys[j]);
      });
      if (same == added.end()) {
        added.push_back(Slot{kNone, 0, keyLines[j]});
      } else {
        same->text = keyLines[j];
      }
    }
  }
};

std::vector<Group> GroupBySection(std::span<const ProfileEntry> entries) {
  std::vector<Group> groups;
  for (const ProfileEntry& e : entries) {
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const Group& g) { return SameName(g.section, e.section); });
    if (group == groups.end()) {
      group = groups.insert(groups.end(), Group{});
      group->section = e.section;
    }
    // A line break in a value would start new lines of its own, even sections
    // and keys: the value ends where its first line ends.
    const std::string_view value = e.value.substr(0, e.value.find_first_of("\r\n"));
    group->keyLines.push_back(std::string(e.key) + "=" + std::string(value));
    group->keys.push_back(e.key);
    group->placed.push_back(false);
  }
  return groups;
}

// A change of the file: `erase` bytes at `at` give way to `text`.
struct Splice {
  std::size_t at;
  std::size_t erase;
  std::string text;
};

std::string Spliced(std::string_view head, std::string_view body, std::vector<Splice>& splices) {
  std::stable_sort(splices.begin(), splices.end(),
                   [](const Splice& a, const Splice& b) { return a.at < b.at; });
  std::size_t size = head.size() + body.size();
  for (const Splice& s : splices) size += s.text.size();
  std::string out;
  out.reserve(size);
  out.append(head);
  std::size_t from = 0;
  for (const Splice& s : splices) {
    out.append(body.substr(from, s.at - from)).append(s.text);
    from = s.at + s.erase;
  }
  return out.append(body.substr(from));
}

}  // namespace

std::vector<std::optional<std::string>> ReadProfileValues(std::string_view file,
                                                          std::span<const ProfileKey> keys) {
  std::vector<std::optional<std::string>> values(keys.size());
  std::vector<Place> places(keys.size(), Place::kBefore);
  std::size_t open = keys.size();  // keys still to be found
  Lines lines(WithoutBom(file));
  for (Line line; open > 0 && lines.Next(line);) {
    if (const auto header = SectionName(line.text)) {
      for (std::size_t i = 0; i < keys.size(); ++i) {
        const Place before = places[i];
        places[i] = AtHeader(before, *header, keys[i].section);
        if (before == Place::kIn && !values[i]) --open;
      }
      continue;
    }
    const auto entry = KeyLine(line.text);
    if (!entry) continue;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (places[i] == Place::kIn && !values[i] && SameName(entry->first, keys[i].key)) {
        values[i] = ValueOf(entry->second);
        --open;
      }
    }
  }
  return values;
}

std::string WriteProfileValues(std::string_view file, std::span<const ProfileEntry> entries) {
  const std::string_view body = WithoutBom(file);
  std::vector<Group> groups = GroupBySection(entries);
  std::string_view end;  // the file's first line end
  bool lastEnded = true;
  Group* in = nullptr;
  Lines lines(body);
  for (Line line; lines.Next(line);) {
    if (end.empty()) end = line.end;
    lastEnded = !line.end.empty();
    if (const auto header = SectionName(line.text)) {
      in = nullptr;
      for (Group& g : groups) {
        g.place = AtHeader(g.place, *header, g.section);
        if (g.place == Place::kIn) in = &g;
      }
    }
    if (in == nullptr || Trim(line.text).empty()) continue;
    // New keys go after the section's last non-blank line: blank lines that
    // part it from the next section stay after them.
    in->anchor = line.Next();
    in->anchorEnded = lastEnded;
    if (!SectionName(line.text) && KeyLine(line.text)) in->TakeLine(line);
  }
  if (end.empty()) end = "\r\n";

  std::vector<Splice> splices;
  std::string sections;  // the new ones, at the end of the file
  for (Group& g : groups) {
    g.AddTheRest();
    for (Slot& slot : g.replaced)
      splices.push_back({slot.start, slot.length, std::move(slot.text)});
    if (g.added.empty()) continue;
    std::string text;
    if (g.place == Place::kBefore) {
      text.append("[").append(g.section).append("]").append(end);
    } else if (!g.anchorEnded) {
      text.append(end);
      lastEnded = true;  // only the last line of the file can lack its end
    }
    for (const Slot& slot : g.added) text.append(slot.text).append(end);
    if (g.place == Place::kBefore) {
      sections += text;
    } else {
      splices.push_back({g.anchor, 0, std::move(text)});
    }
  }
  if (!sections.empty()) {
    if (!lastEnded) sections.insert(0, end);
    splices.push_back({body.size(), 0, std::move(sections)});
  }
  return Spliced(file.substr(0, file.size() - body.size()), body, splices);
}

std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key) {
  const ProfileKey keys[] = {{section, key}};
  return std::move(ReadProfileValues(file, keys).front());
}

std::string WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value) {
  const ProfileEntry entries[] = {{section, key, value}};
  return WriteProfileValues(file, entries);
}

}  // namespace kov::platform
