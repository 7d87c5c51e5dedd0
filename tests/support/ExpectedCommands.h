#pragma once

#include <string>
#include <vector>

namespace kov::testing {

// The commands a run sends, each with its CR LF: "FP10", then for every pass
// and band "CF" of the band's centre, "GD" and the "CF" that tunes the next
// band (band 1 after the last), and "EX" at the end.
inline std::vector<std::string> ExpectedCommands(int startFQ, int bands, int passes) {
  auto cf = [startFQ](int band) {
    return "CF" + std::to_string(startFQ + 5 + 10 * (band - 1)) + "\r\n";
  };
  std::vector<std::string> commands = {"FP10\r\n"};
  for (int pass = 1; pass <= passes; ++pass) {
    for (int band = 1; band <= bands; ++band) {
      commands.insert(commands.end(), {cf(band), "GD\r\n", cf(band < bands ? band + 1 : 1)});
    }
  }
  commands.push_back("EX\r\n");
  return commands;
}

}  // namespace kov::testing
