#include "Selection.h"

#include <algorithm>

#include "ExportNotes.h"
#include "TimeAxis.h"
#include "TimeBound.h"
#include "link/Protocol.h"
#include "platform/Numbers.h"

namespace kov::wfexport {

bool MakeSelection(const Options& options, const FrequencyAxis& axis, std::int32_t points,
                   Selection& selection) {
  selection = Selection{};
  if (options.passes.low) selection.firstPass = static_cast<std::int32_t>(*options.passes.low);
  if (options.passes.high) selection.lastPass = static_cast<std::int32_t>(*options.passes.high);
  std::int64_t first = 1, last = points;
  if (options.freqMHz.low) first = std::max(first, axis.FirstPointFrom(*options.freqMHz.low));
  if (options.freqMHz.high) last = std::min(last, axis.LastPointUpTo(*options.freqMHz.high));
  if (first > last) return false;
  selection.firstPoint = static_cast<std::int32_t>(first);
  selection.lastPoint = static_cast<std::int32_t>(last);
  return true;
}

std::string NoFrequency(const Options& options, const FrequencyAxis& axis, std::int32_t points,
                        const std::string& name) {
  const auto side = [](const std::optional<double>& v) {
    return v ? platform::PlainNumber(*v) : std::string();
  };
  return "--freq " + side(options.freqMHz.low) + ":" + side(options.freqMHz.high) +
         " selects no point: " + name + " holds " + HeldFrequencies(axis, points) + " (" +
         std::to_string(points / link::kPointsPerBand) +
         (points > link::kPointsPerBand ? " bands" : " band") + "), " +
         platform::PlainNumber(FrequencyAxis::kStepMHz * 1000) + " kHz apart";
}

std::string SelectTimes(const Options& o, const TimesTable& times, Selection& s, bool& refused) {
  refused = false;
  if ((o.fromTime.empty() && o.toTime.empty()) || times.Count() == 0) return {};
  std::optional<platform::WallTime> from, to;
  for (const auto& [option, text, bound] :
       {std::tuple{"--from", &o.fromTime, &from}, {"--to", &o.toTime, &to}}) {
    if (text->empty()) continue;
    *bound = ReadTimeBound(*text, times.First());
    if (!*bound) {
      refused = true;
      return std::string(option) + ": '" + *text +
             "' is no time: give 2026-12-08T20:48:28 (an offset such as +09:00 may follow), "
             "\"2026-12-08 20:48\" or 20:48[:28] on the run's first day";
    }
  }
  std::int32_t first = 0, last = 0;
  for (std::int32_t p = 1; p <= times.LastPass(); ++p) {
    const auto t = times.PassTime(p);
    if (!t || (from && t->utcMs < from->utcMs) || (to && t->utcMs > to->utcMs)) continue;
    if (first == 0) first = p;
    last = p;
  }
  s.firstPass = std::max(s.firstPass, first);
  s.lastPass = std::min(s.lastPass, last);
  if (first != 0 && s.firstPass <= s.lastPass) return {};
  std::string when;
  if (from) when += " from " + LocalText(*from);
  if (to) when += " to " + LocalText(*to);
  if (o.passes.low || o.passes.high) when += " among the passes of --passes";
  return "nothing selected: no pass began" + when + "; the run's " +
         std::to_string(times.LastPass()) + " passes began from " + LocalText(times.First()) +
         " to " + LocalText(*times.PassTime(times.LastPass())) + " (" + OffsetText(times.First()) +
         ")";
}

}  // namespace kov::wfexport
