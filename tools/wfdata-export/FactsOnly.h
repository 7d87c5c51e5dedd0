#pragma once

#include <memory>

#include "LineScanner.h"
#include "WaveformReader.h"

namespace kov::wfexport {

// A read for its report alone.
class FactsOnly : public ChunkWork {
 public:
  void Start(unsigned) override {}
  std::unique_ptr<ChunkOut> NewOut() override { return std::make_unique<ChunkOut>(); }
  void Scan(unsigned, const ChunkWindow& window, ChunkOut& out) override {
    auto none = [](std::int32_t, std::int32_t, const PointLevel&) {};
    ScanLines(window, none, out.facts);
  }
  void Merge(ChunkOut&) override {}
};

}  // namespace kov::wfexport
