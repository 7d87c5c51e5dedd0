#pragma once

// Two readings of a recording held in memory, for the tests and the fuzzer:
// a plain one, line by line through ParsePointLine, and the exporter's own,
// cut into chunks of a given size and added up in the file's order.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "LineScanner.h"
#include "ReadTally.h"
#include "measure/WaveformFile.h"

namespace kov::wfexport::testing {

struct ReadPoint {
  std::int32_t pass = 0, point = 0;
  bool has = false;
  double value = 0;
  bool operator==(const ReadPoint&) const = default;
};

struct Reading {
  std::vector<ReadPoint> points;
  // The numbers of the lines skipped; of the chunked reading, the first few
  // of each chunk, the one that ends at each of chunkEnds' lines.
  std::vector<std::int64_t> skipped;
  std::vector<std::int64_t> chunkEnds;
  ReadReport report;
};

// The skipped lines a chunked reading reports, from all of them.
inline std::vector<std::int64_t> FirstOfEachChunk(const std::vector<std::int64_t>& all,
                                                  const std::vector<std::int64_t>& chunkEnds) {
  std::vector<std::int64_t> first;
  std::size_t i = 0;
  for (const std::int64_t end : chunkEnds) {
    for (std::int64_t n = 0; i < all.size() && all[i] <= end; ++i) {
      if (n++ < kReported) first.push_back(all[i]);
    }
  }
  return first;
}

// The plain reading: a line longer than kLongestLine is no point line, nor
// is an unfinished last line that long; a shorter one is left unread.
inline Reading ReadPlainly(std::string_view file) {
  Reading r;
  ReadReport& t = r.report;
  std::int32_t firstPassHigh = 0;
  std::size_t start = 0;
  for (std::size_t nl; (nl = file.find('\n', start)) != std::string_view::npos; start = nl + 1) {
    std::string_view line = file.substr(start, nl - start);
    ++t.lines;
    if (line.size() <= kLongestLine && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto p = line.size() > kLongestLine ? std::nullopt : measure::ParsePointLine(line);
    if (line.empty()) {
      t.endsInBand = false;
    } else if (!p || !scan::Acceptable(p->pass, p->point)) {
      r.skipped.push_back(t.lines);
    } else {
      r.points.push_back({p->pass, p->point, p->level.has_value(), p->level.value_or(0)});
      if (++t.pointLines == 1) t.lowestPass = p->pass;
      if (t.pointsPerPass == 0 && p->pass != r.points.front().pass) t.pointsPerPass = firstPassHigh;
      if (t.pointsPerPass == 0) firstPassHigh = std::max(firstPassHigh, p->point);
      t.endsInBand = true;
      t.lastPass = p->pass;
      t.lastPoint = p->point;
      t.highestPoint = std::max(t.highestPoint, p->point);
      t.lowestPass = std::min(t.lowestPass, p->pass);
      t.highestPass = std::max(t.highestPass, p->pass);
    }
  }
  const std::size_t tail = file.size() - start;
  if (tail > kLongestLine) r.skipped.push_back(++t.lines);
  if (tail > 0 && tail <= kLongestLine) t.partialBytes = tail;
  t.skipped = static_cast<std::int64_t>(r.skipped.size());
  return r;
}

// The exporter's reading, chunk by chunk, each in a window of its own.
inline Reading ReadInChunks(std::string_view file, std::uint64_t chunkBytes,
                            std::string* told = nullptr) {
  Reading r;
  ReadSettings settings;
  settings.name = "f";
  std::ostringstream err;
  ReadTally tally(settings, err, r.report);
  std::string window;
  for (std::uint64_t i = 0; i * chunkBytes < file.size(); ++i) {
    const ChunkSpan span = SpanOf(i, chunkBytes, file.size());
    window.assign(file.substr(span.readBegin, span.readEnd - span.readBegin));
    const std::size_t size = window.size();
    window.append(kWindowPadding, '\n');
    const std::int64_t before = r.report.lines;
    ChunkFacts facts;
    auto take = [&](std::int32_t pass, std::int32_t point, const PointLevel& level) {
      r.points.push_back({pass, point, level.has, level.value});
    };
    const auto own = static_cast<std::size_t>(span.ownEnd - span.readBegin);
    ScanLines(ChunkWindow{window.data(), size, own, i == 0}, take, facts);
    for (const SkippedLine& s : facts.firstSkipped) r.skipped.push_back(before + s.line);
    tally.Add(facts);
    r.chunkEnds.push_back(r.report.lines);
  }
  if (told != nullptr) *told = err.str();
  return r;
}

// "" when the chunked reading found what the plain one found, else what
// differs.
inline std::string Difference(const Reading& plain, const Reading& chunked) {
  const ReadReport &a = plain.report, &b = chunked.report;
  const std::pair<const char*, bool> checks[] = {
      {"points", plain.points == chunked.points},
      {"skipped lines", FirstOfEachChunk(plain.skipped, chunked.chunkEnds) == chunked.skipped},
      {"line count", a.lines == b.lines && a.pointLines == b.pointLines && a.skipped == b.skipped},
      {"cut-short end", a.partialBytes == b.partialBytes && a.endsInBand == b.endsInBand &&
                            a.lastPass == b.lastPass && a.lastPoint == b.lastPoint},
      {"first pass", a.pointsPerPass == b.pointsPerPass},
      {"range", a.highestPoint == b.highestPoint && a.lowestPass == b.lowestPass &&
                    a.highestPass == b.highestPass},
  };
  for (const auto& [what, same] : checks) {
    if (!same) return what;
  }
  return {};
}

}  // namespace kov::wfexport::testing
