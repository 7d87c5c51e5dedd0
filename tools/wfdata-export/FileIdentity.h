#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kov::wfexport {

// What tells one file from another, by identity rather than spelling (links,
// "./", case on Windows): an existing file itself, or for a file a write
// would create, its folder and its name there.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  std::string name;  // "" for an existing file; case-folded on Windows

  bool operator==(const FileIdentity&) const = default;
};

// Nothing when neither the file nor its folder can be found (a write there
// fails anyway).
std::optional<FileIdentity> IdentityOf(const std::string& path);

}  // namespace kov::wfexport
