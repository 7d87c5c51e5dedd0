#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "LineScanner.h"
#include "ReadTally.h"
#include "RecordingInput.h"

namespace kov::wfexport {

// What the reading of one chunk leaves for the merge.
struct ChunkOut {
  virtual ~ChunkOut() = default;
  ChunkFacts facts;
};

// The work done on a recording's chunks: each chunk is scanned on one of the
// workers, the chunks of a file on several at once and in any order; the
// results are merged one by one in the file's order.
class ChunkWork {
 public:
  virtual ~ChunkWork() = default;
  // Before the first chunk: how many workers there will be (1 or more).
  virtual void Start(unsigned workers) = 0;
  virtual std::unique_ptr<ChunkOut> NewOut() = 0;
  // On worker `worker`: a chunk's lines into `out`, cleared before (its
  // facts filled by ScanLines).
  virtual void Scan(unsigned worker, const ChunkWindow& window, ChunkOut& out) = 0;
  // On the thread that reads, in the file's order.
  virtual void Merge(ChunkOut& out) = 0;
};

// Reads the waveform file from start to end in chunks, in memory that does
// not grow with the file: points go to the work, the rest into the report.
// Lines that are no point line (and pass or point numbers the program cannot
// write) are skipped and counted, the first few reported to err with their
// line numbers; with `strict` the first one ends the read. Bytes after the
// last line end are left unread.
ReadReport ReadWaveformFile(RecordingInput& input, ChunkWork& work, const ReadSettings& settings,
                            std::ostream& err);

}  // namespace kov::wfexport
