#include "Gatherer.h"

#include <algorithm>
#include <sstream>

#include "WaterfallPart.h"

namespace kov::wfexport {

// Aligned to its own cache lines: workers writing beside each other would
// slow each other down many times.
struct alignas(64) Gatherer::Lane {
  SelectedCounts counts;
  // The first worker gathers into the parts themselves; the others into
  // their own, merged at the end.
  std::optional<PointStatistics> ownStatistics;
  std::optional<PeakFinder> ownPeaks;
  PointStatistics* statistics = nullptr;
  PeakFinder* peaks = nullptr;
  std::optional<TidyCsv::Rows> csv;
  bool inexact = false;
};

struct Gatherer::Chunk : ChunkOut {
  struct Tracked {
    std::int32_t pass, point;
    PointLevel level;
  };
  TextBuffer csv;
  std::vector<Tracked> track;
  WaterfallPart waterfall;
};

namespace {

// A whole level in tenths, sooner than the waterfall works it out for any.
KOV_HOT_INLINE std::int16_t Tenths(const PointLevel& level) {
  if (!level.has || !level.exact) return WaterfallGrid::Tenths(level.has, level.value);
  return static_cast<std::int16_t>(std::clamp(static_cast<int>(level.value) * 10, -32767, 32767));
}

}  // namespace

class Gatherer::Taker {
 public:
  Taker(const Selection& s, Lane& lane, Chunk& chunk, const TrackTable* track, bool waterfall)
      : s_(s), lane_(lane), chunk_(chunk), track_(track), waterfall_(waterfall) {}
  // Counted here, on the worker's stack, and handed on at the chunk's end.
  SelectedCounts counts;
  bool inexact = false;

  KOV_HOT_INLINE void operator()(std::int32_t pass, std::int32_t point, const PointLevel& level) {
    if (pass < s_.firstPass || pass > s_.lastPass) return;
    if (track_ != nullptr && track_->Tracks(point)) {
      ++counts.tracked;
      chunk_.track.push_back({pass, point, level});
    }
    if (point < s_.firstPoint || point > s_.lastPoint) return;
    counts.Add(pass, point, level.has);
    if (lane_.csv) lane_.csv->Add(chunk_.csv, pass, point, level);
    if (lane_.statistics != nullptr) {
      lane_.statistics->Add(point, level.has ? std::optional(level.value) : std::nullopt);
      inexact = inexact || !level.exact;
    }
    if (lane_.peaks != nullptr && level.has) lane_.peaks->Add(pass, point, level.value);
    if (waterfall_) chunk_.waterfall.Add(pass, point, Tenths(level));
  }

 private:
  const Selection& s_;
  Lane& lane_;
  Chunk& chunk_;
  const TrackTable* track_;
  bool waterfall_;
};

Gatherer::Gatherer(const Selection& selection, Gathering& into)
    : selection_(selection), into_(into) {}

Gatherer::~Gatherer() = default;

void SelectedCounts::Merge(const SelectedCounts& o) {
  if (o.selected > 0 && (selected == 0 || o.firstPass < firstPass)) firstPass = o.firstPass;
  lastPass = std::max(lastPass, o.lastPass);
  highestPoint = std::max(highestPoint, o.highestPoint);
  selected += o.selected;
  withoutData += o.withoutData;
  tracked += o.tracked;
}

void Gatherer::Start(unsigned workers) {
  lanes_.clear();
  for (unsigned w = 0; w < workers; ++w) {
    auto lane = std::make_unique<Lane>();
    if (into_.statistics) {
      lane->statistics =
          w == 0 ? &*into_.statistics : &lane->ownStatistics.emplace(*into_.statistics);
    }
    if (into_.peaks) lane->peaks = w == 0 ? &*into_.peaks : &lane->ownPeaks.emplace(*into_.peaks);
    if (into_.csv) lane->csv.emplace(*into_.csv);
    lanes_.push_back(std::move(lane));
  }
  if (into_.csvFile != nullptr) into_.csvFile->Write(into_.csv->Header());
}

std::unique_ptr<ChunkOut> Gatherer::NewOut() { return std::make_unique<Chunk>(); }

void Gatherer::Scan(unsigned worker, const ChunkWindow& window, ChunkOut& out) {
  auto& chunk = static_cast<Chunk&>(out);
  chunk.csv.Clear();
  chunk.track.clear();
  chunk.waterfall.Reset(columns_.load(std::memory_order_acquire));
  const TrackTable* track = into_.track ? &*into_.track : nullptr;
  Taker take(selection_, *lanes_[worker], chunk, track, into_.waterfall.has_value());
  ScanLines(window, take, chunk.facts);
  lanes_[worker]->counts.Merge(take.counts);
  lanes_[worker]->inexact = lanes_[worker]->inexact || take.inexact;
}

void Gatherer::Merge(ChunkOut& out) {
  auto& chunk = static_cast<Chunk&>(out);
  if (into_.csvFile != nullptr) into_.csvFile->Write(chunk.csv.View());
  for (const Chunk::Tracked& t : chunk.track) {
    into_.track->Add(t.pass, t.point, t.level.has ? std::optional(t.level.value) : std::nullopt);
  }
  if (into_.waterfall) {
    chunk.waterfall.AddTo(*into_.waterfall);
    if (columns_.load(std::memory_order_relaxed) == nullptr) {
      columns_.store(into_.waterfall->Columns(), std::memory_order_release);
    }
  }
}

void Gatherer::Finish() {
  counts_ = SelectedCounts{};
  for (std::size_t w = 0; w < lanes_.size(); ++w) {
    const Lane& lane = *lanes_[w];
    counts_.Merge(lane.counts);
    if (w == 0) continue;
    if (lane.statistics != nullptr) into_.statistics->Merge(*lane.statistics);
    if (lane.peaks != nullptr) into_.peaks->Merge(*lane.peaks);
  }
}

bool Gatherer::SumsInexact() const {
  return lanes_.size() > 1 &&
         std::any_of(lanes_.begin(), lanes_.end(), [](const auto& lane) { return lane->inexact; });
}

namespace {

class SumWork : public ChunkWork {
 public:
  SumWork(const Selection& selection, PointStatistics& statistics)
      : selection_(selection), statistics_(statistics) {}
  void Start(unsigned) override { statistics_.ResetSums(); }
  std::unique_ptr<ChunkOut> NewOut() override { return std::make_unique<ChunkOut>(); }
  void Scan(unsigned, const ChunkWindow& window, ChunkOut& out) override {
    auto add = [this](std::int32_t pass, std::int32_t point, const PointLevel& level) {
      if (level.has && selection_.Holds(pass, point)) statistics_.AddToSum(point, level.value);
    };
    ScanLines(window, add, out.facts);
  }
  void Merge(ChunkOut&) override {}

 private:
  const Selection& selection_;
  PointStatistics& statistics_;
};

// The sums of the selected points' levels again, read in the file's order
// by one thread.
void SumInTurn(RecordingInput& input, const Selection& selection, PointStatistics& statistics,
               const ReadSettings& settings) {
  SumWork work(selection, statistics);
  ReadSettings inTurn = settings;
  inTurn.threads = 1;
  inTurn.progress = nullptr;
  std::ostringstream told;  // the first read told it all
  ReadWaveformFile(input, work, inTurn, told);
}

}  // namespace

ReadReport Gather(RecordingInput& input, const Selection& selection, Gathering& into,
                  SelectedCounts& counts, const ReadSettings& settings, std::ostream& err) {
  Gatherer gatherer(selection, into);
  ReadReport report = ReadWaveformFile(input, gatherer, settings, err);
  gatherer.Finish();
  counts = gatherer.Counts();
  if (report.error.empty() && !report.stoppedAtSkipped && gatherer.SumsInexact()) {
    SumInTurn(input, selection, *into.statistics, settings);
  }
  return report;
}

}  // namespace kov::wfexport
