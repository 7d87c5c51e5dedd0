#pragma once

#include <string>
#include <vector>

namespace kov::wfexport {

// A file of an export and what it is to the user: "--csv", "the settings
// file of --ini".
struct NamedFile {
  std::string what;
  std::string path;
};

// Why the outputs cannot be written as named, or "": an output that is an
// input or another output, by identity (links, "./", case on Windows).
// Nothing is read or written.
std::string CheckNames(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs);

}  // namespace kov::wfexport
