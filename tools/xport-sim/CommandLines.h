#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kov::sim {

// Cuts a connection's bytes into commands at CR LF, each byte looked at once.
// A command is held up to kLongest bytes: a longer one is dropped up to its
// CR LF, so a peer that never sends CR LF costs no more memory than that.
class CommandLines {
 public:
  static constexpr std::size_t kLongest = 4096;  // without its CR LF

  enum class Kind {
    Command,  // a whole command, its CR LF included
    Dropped,  // the first kLongest bytes of a line that grew longer, once
  };
  // false ends the feed: the rest of the bytes are left alone.
  using Take = std::function<bool(Kind, std::string_view)>;

  // false when take did.
  bool Feed(std::string_view bytes, const Take& take);

 private:
  bool Keep(std::string_view bytes, const Take& take);
  bool End(const Take& take);

  std::string line_;
  // The last byte was a CR, not yet known to be part of the command.
  bool cr_ = false;
  bool dropping_ = false;
};

}  // namespace kov::sim
