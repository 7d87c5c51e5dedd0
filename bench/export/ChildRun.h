#pragma once

#include <string>
#include <vector>

namespace kov::bench {

// A program run to its end as a child, its output thrown away.
struct ChildRun {
  bool ok = false;  // started, and ended with status 0
  double seconds = 0;
  double peakMB = 0;  // its largest resident size, as the system counts it
};

// `args` from the program's path on, in `folder` ("" for this one's), with
// `input` as its standard input ("" for none).
ChildRun RunChild(const std::vector<std::string>& args, const std::string& folder = "",
                  const std::string& input = "");

}  // namespace kov::bench
