#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/CodePage.h"
#include "platform/FilePath.h"

namespace kov::testing {

// Folders as operators name them, and a recording's name there.
struct FolderName {
  const char* name;
  std::vector<std::string> parts;  // each folder in the one before
  std::string recording;
};

inline std::vector<FolderName> FolderNames() {
  // Some 100 bytes in CP932 each, 150 in UTF-8 (a Linux name takes 255).
  std::string measured, records;
  for (int i = 0; i < 10; ++i) measured += "測定データ";
  for (int i = 0; i < 8; ++i) records += "記録ファイル";
  return {
      {"hangul", {"한국 측정"}, "WFdata.txt"},  // no character of it is in CP932
      // "ソ" and "表" end in the byte of "\" in CP932.
      {"secondByte5C", {"ソフト"}, "表示 能力表.txt"},
      // Past 260 bytes in CP932, within 260 UTF-16 units.
      {"over260BytesInCP932", {measured, records}, "WFdata.txt"},
  };
}

// The folder, made under the test's own; its path as UTF-8 text.
inline std::string MakeFolder(const TempDir& dir, const FolderName& folder) {
  std::filesystem::path path = dir.Path();
  for (const std::string& part : folder.parts) path /= platform::FsPath(part);
  std::filesystem::create_directories(path);
  return platform::PathText(path);
}

inline std::string In(const std::string& folder, const std::string& name) {
  return platform::PathText(platform::FsPath(folder) / platform::FsPath(name));
}

inline void SpitTo(const std::string& path, const std::string& bytes) {
  Spit(platform::FsPath(path), bytes);
}

// The bytes a program writes for the text into a file or a pipe: in the
// system's code page, each line ending CR LF on Windows.
inline std::string Redirected(const std::string& text) {
  std::string bytes;
  for (const char c : platform::ToSystemCodePage(text)) {
#ifdef _WIN32
    if (c == '\n') bytes += '\r';
#endif
    bytes += c;
  }
  return bytes;
}

}  // namespace kov::testing
