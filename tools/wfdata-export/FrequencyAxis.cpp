#include "FrequencyAxis.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <variant>

#include "measure/SweepPlan.h"
#include "platform/LockedReplace.h"
#include "platform/ProfileText.h"
#include "settings/Settings.h"

namespace kov::wfexport {
namespace {

// Frequencies typed in decimal rarely land on a point exactly.
constexpr double kSlack = 1e-6;

}  // namespace

std::int64_t FrequencyAxis::FirstPointFrom(double mhz) const {
  return static_cast<std::int64_t>(std::ceil((mhz - startMHz) / kStepMHz - kSlack)) + 1;
}

std::int64_t FrequencyAxis::LastPointUpTo(double mhz) const {
  return static_cast<std::int64_t>(std::floor((mhz - startMHz) / kStepMHz + kSlack)) + 1;
}

std::string AxisFromSettings(const std::string& iniPath, FrequencyAxis& axis) {
  // The profile code takes a missing file for an empty one; here it is a mistake.
  std::FILE* exists = std::fopen(iniPath.c_str(), "rb");
  if (exists == nullptr) return iniPath + ": " + std::strerror(errno);
  std::fclose(exists);
  const auto file = platform::ReadWholeFile(iniPath);
  if (!file) return iniPath + ": cannot be read";
  // Absent keys take the program's own defaults.
  const auto value = [&](const char* key, const char* defaultText) {
    return platform::ReadProfileValue(*file, "MES_PARA", key).value_or(defaultText);
  };
  const std::string start = value("START_FQ", "451");
  const std::string end = value("END_FQ", "550");
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
  axis.plannedPoints = sweep.bandCount * 320;
  axis.checkValue = settings::CheckValueFromText(value("D_LEVEL", "1"));
  return {};
}

}  // namespace kov::wfexport
