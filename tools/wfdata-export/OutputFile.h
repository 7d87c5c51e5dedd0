#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kov::wfexport {

// An output written to a file beside its name, NAME + kPartSuffix, and
// renamed to the name only once it is whole: a failed or interrupted export
// leaves nothing half-written there (and an earlier file of that name as it
// was). The file beside is held alone while it is written; one left by an
// export that was killed is taken over, so such files never pile up. A
// device or a pipe (the null device, say) is written as it is: there is no
// file to put in its place.
class OutputFile {
 public:
  static constexpr std::string_view kPartSuffix = ".wfdata-export.part";

  explicit OutputFile(std::string path);
  ~OutputFile();  // an output not committed goes
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& Path() const { return path_; }
  // False, with Error(), when the file beside cannot be made or taken.
  bool Open();
  // False once anything failed; later writes do nothing.
  bool Write(std::string_view bytes);
  // Puts the file in its place.
  bool Commit();
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& reason);
  void Discard();

  std::string path_;
  std::string temporary_;  // "" once it is no longer this output's to remove
  std::string error_;
  std::FILE* file_ = nullptr;
  int slot_ = -1;  // of the file to remove at an interruption
  bool stream_ = false;
};

}  // namespace kov::wfexport
