#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kov::wfexport {

// An output written to a new file beside its name and renamed to the name
// only once it is whole: a failed export leaves nothing half-written there
// (and an earlier file of that name as it was).
class OutputFile {
 public:
  explicit OutputFile(std::string path);
  ~OutputFile();  // an output not committed goes
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& Path() const { return path_; }
  // False, with Error(), when the file beside cannot be made.
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
  std::string temporary_;
  std::string error_;
  std::FILE* file_ = nullptr;
};

}  // namespace kov::wfexport
