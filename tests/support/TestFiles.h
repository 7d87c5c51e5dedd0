#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kov::testing {

// The whole file as bytes ("" when it cannot be read).
inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace kov::testing
