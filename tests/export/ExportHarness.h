#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "Export.h"
#include "TestFiles.h"
#include "display/GraphSurface.h"
#include "measure/TimesFile.h"
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

// The times file of such a recording from 450 MHz, in Japan's offset; the
// band's time in milliseconds since 1970 from `ms(pass, band)`; `bands` of
// the last pass only.
inline std::string TimesFile(int passes, int bands, const std::function<std::int64_t(int, int)>& ms,
                             int lastPassBands = -1) {
  std::string file = std::string(measure::kTimesHeader) + "\r\n";
  for (int pass = 1; pass <= passes; ++pass) {
    const int n = pass == passes && lastPassBands >= 0 ? lastPassBands : bands;
    for (int band = 1; band <= n; ++band) {
      measure::AppendTimesLine(file, {pass, band, 445.0 + 10 * band, {ms(pass, band), 540}});
    }
  }
  return file;
}

struct Outcome {
  int status = -1;
  std::string err, out;
};

// `surroundings`: where the program lies (a settings file beside it), how it
// reads.
inline Outcome RunTool(std::vector<std::string> args, const Surroundings& surroundings) {
  args.insert(args.begin(), "wfdata-export");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  Outcome outcome;
  outcome.status = Main(static_cast<int>(argv.size()), argv.data(), out, err, surroundings);
  outcome.err = err.str();
  outcome.out = out.str();
  return outcome;
}

inline Outcome RunTool(std::vector<std::string> args, const std::string& programFolder = "") {
  return RunTool(std::move(args), Surroundings{false, programFolder});
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
