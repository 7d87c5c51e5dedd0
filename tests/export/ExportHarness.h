#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "Export.h"
#include "TestFiles.h"
#include "display/GraphSurface.h"
#include "measure/WaveformFile.h"

namespace kov::wfexport::testing {

using kov::testing::Slurp;
using kov::testing::Spit;
using kov::testing::TempDir;

// A recording as the program writes it: an empty line, then for each pass
// and band its 320 point lines and an empty line; cell(pass, point) is the
// grid's text of the point.
inline std::string Recording(int passes, int bands,
                             const std::function<std::string(int, int)>& cell) {
  std::string file = "\r\n";
  for (int pass = 1; pass <= passes; ++pass) {
    for (int band = 0; band < bands; ++band) {
      for (int k = 1; k <= 320; ++k) {
        measure::AppendPointLine(file, static_cast<std::int16_t>(pass), band * 320 + k,
                                 cell(pass, band * 320 + k));
      }
      file += "\r\n";
    }
  }
  return file;
}

struct Outcome {
  int status = -1;
  std::string err;
};

inline Outcome RunTool(std::vector<std::string> args) {
  args.insert(args.begin(), "wfdata-export");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  Outcome outcome;
  outcome.status = Main(static_cast<int>(argv.size()), argv.data(), out, err, false);
  outcome.err = err.str();
  return outcome;
}

// The pixels of a PNG file (none when it is no PNG).
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  display::Rgb At(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};
Picture ReadPng(const std::string& path);

// The lines of a text, without their ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace kov::wfexport::testing
