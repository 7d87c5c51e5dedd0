#include "FrequencyAxis.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <variant>

#include "FileCalls.h"
#include "link/Protocol.h"
#include "measure/SweepPlan.h"
#include "platform/LockedReplace.h"
#include "platform/ProfileText.h"
#include "settings/Settings.h"

namespace kov::wfexport {
namespace {

// Frequencies typed in decimal rarely land on a point exactly.
constexpr double kSlack = 1e-6;
// Far more than any settings file, far less than a recording.
constexpr std::uint64_t kLargestSettings = std::uint64_t{64} << 20;

bool IsSection(std::string_view line) {
  const std::size_t open = line.find_first_not_of(" \t");
  return open != std::string_view::npos && line[open] == '[' &&
         line.find(']', open) != std::string_view::npos;
}

// Why the bytes are no settings file (a picture, a recording given by
// mistake), or "". Keys may all be missing: the program itself saves a file
// of one section before its first save of the measurement keys.
std::string NoSettings(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    return "is in UTF-16, which the program does not read; save it in the system's code page";
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') {
      char where[64];
      std::snprintf(where, sizeof where, " (byte 0x%02X at offset %zu)", c, i);
      return std::string("is no settings file: it holds binary content") + where;
    }
  }
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    if (IsSection(bytes.substr(start, end - start))) return {};
    start = end + 1;
  }
  return "is no settings file: it holds no section, such as [MES_PARA]";
}

}  // namespace

std::int64_t FrequencyAxis::FirstPointFrom(double mhz) const {
  return static_cast<std::int64_t>(std::ceil((mhz - startMHz) / kStepMHz - kSlack)) + 1;
}

std::int64_t FrequencyAxis::LastPointUpTo(double mhz) const {
  return static_cast<std::int64_t>(std::floor((mhz - startMHz) / kStepMHz + kSlack)) + 1;
}

std::string AxisFromSettings(const std::string& iniPath, FrequencyAxis& axis) {
  // The profile code takes a missing file for an empty one; here it is a mistake.
  std::FILE* exists = OpenInputFile(iniPath);
  if (exists == nullptr) return iniPath + ": " + std::strerror(errno);
  const std::uint64_t size = SizeOf(exists);
  std::fclose(exists);
  if (size > kLargestSettings) {
    return iniPath + ": is no settings file: it holds " + std::to_string(size >> 20) + " MB";
  }
  const auto file = platform::ReadWholeFile(iniPath);
  if (!file) return iniPath + ": cannot be read";
  if (auto problem = NoSettings(*file); !problem.empty()) return iniPath + ": " + problem;
  // Absent keys take the program's own defaults.
  const auto value = [&](const settings::Key& key) {
    return platform::ReadProfileValue(*file, key.section, key.name).value_or(key.defaultText);
  };
  const std::string start = value(settings::kStartFQ);
  const std::string end = value(settings::kEndFQ);
  // The count plays no part in the frequencies; any valid one will do.
  const auto plan = measure::PlanSweep(start, end, "1");
  if (const auto* refusal = std::get_if<measure::Refusal>(&plan)) {
    return iniPath + ": START_FQ " + start + " and END_FQ " + end + " start no run (" +
           refusal->message + ")";
  }
  const auto& sweep = std::get<measure::SweepPlan>(plan);
  if (sweep.bandCount == 0) {
    return iniPath + ": START_FQ " + start + " and END_FQ " + end + " plan no band";
  }
  axis = FrequencyAxis{};
  axis.startMHz = sweep.startFQ;
  axis.plannedPoints = sweep.bandCount * link::kPointsPerBand;
  axis.checkValue = settings::CheckValueFromText(value(settings::kLevel));
  return {};
}

}  // namespace kov::wfexport
