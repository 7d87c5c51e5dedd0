#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "OutputFile.h"
#include "PeakFinder.h"
#include "PointStatistics.h"
#include "Selection.h"
#include "TidyCsv.h"
#include "TrackTable.h"
#include "WaterfallGrid.h"
#include "WaveformReader.h"

namespace kov::wfexport {

// The points an export took in: those of the selected passes and points,
// and the tracked points (selected by pass only).
struct SelectedCounts {
  std::int64_t selected = 0, withoutData = 0, tracked = 0;
  std::int32_t firstPass = 0, lastPass = 0, highestPoint = 0;

  void Add(std::int32_t pass, std::int32_t point, bool hasLevel) {
    if (selected++ == 0 || pass < firstPass) firstPass = pass;
    if (pass > lastPass) lastPass = pass;
    if (point > highestPoint) highestPoint = point;
    if (!hasLevel) ++withoutData;
  }
  void Merge(const SelectedCounts& other);
};

// What the outputs gather from the recording, each part only when an output
// needs it; the CSV rows go to their file as they come, in the file's order.
struct Gathering {
  std::optional<TidyCsv> csv;
  OutputFile* csvFile = nullptr;
  std::optional<PointStatistics> statistics;
  std::optional<PeakFinder> peaks;
  std::optional<WaterfallGrid> waterfall;
  std::optional<TrackTable> track;
};

// Hands each selected point to every part that wants it. Each worker keeps
// its own statistics and peaks, merged when the read is over; a chunk's CSV
// rows, tracked points and share of the waterfall go with the chunk and are
// added in the file's order.
class Gatherer : public ChunkWork {
 public:
  Gatherer(const Selection& selection, Gathering& into);
  ~Gatherer() override;

  void Start(unsigned workers) override;
  std::unique_ptr<ChunkOut> NewOut() override;
  void Scan(unsigned worker, const ChunkWindow& window, ChunkOut& out) override;
  void Merge(ChunkOut& out) override;

  // After the read: the workers' parts in `into`.
  void Finish();
  const SelectedCounts& Counts() const { return counts_; }
  // Whether the sums of the levels must be made again in the file's order:
  // levels that are no small whole numbers, added in parts.
  bool SumsInexact() const;

 private:
  struct Lane;
  struct Chunk;
  class Taker;

  Selection selection_;
  Gathering& into_;
  std::vector<std::unique_ptr<Lane>> lanes_;
  SelectedCounts counts_;
  std::atomic<const WaterfallColumns*> columns_{nullptr};
};

// Reads the recording once and gathers the selected points into `into`,
// the same whatever chunks and threads the settings choose.
ReadReport Gather(RecordingInput& input, const Selection& selection, Gathering& into,
                  SelectedCounts& counts, const ReadSettings& settings, std::ostream& err);

}  // namespace kov::wfexport
