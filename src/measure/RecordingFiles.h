#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "measure/TimesFile.h"
#include "platform/TextFiles.h"

namespace kov::measure {

// The recording of a run: the waveform file and, beside it, the times file.
// The two always agree band for band: a band is appended to both or to
// neither.
class RecordingFiles {
 public:
  RecordingFiles(platform::TextFiles& files, std::string waveformPath);

  const std::string& WaveformPath() const { return waveformPath_; }
  const std::string& TimesPath() const { return timesPath_; }

  // Sets the last run aside before a new start empties the files: when the
  // waveform file holds more than its empty line, it and its times file
  // are renamed to WFdata-YYYYMMDD-HHMMSS.txt and WFtime-YYYYMMDD-HHMMSS.csv
  // (then -2, -3 ...), stamped with the local time of the run's first band,
  // or else of the file's last write. False when that failed: the files then
  // keep their names and their content.
  bool SetAsideLast();
  // Empties both files for a new run. False when either cannot be written.
  bool Start();
  // Appends a band's point lines to the waveform file and its line to the
  // times file, both or neither. False when they cannot be written.
  bool AppendBand(std::string_view pointLines, const BandTime& band);

 private:
  std::optional<platform::WallTime> FirstBandTime();
  std::string Beside(std::string_view name) const;
  std::optional<std::string> FreeStamp(const std::string& stamp);

  platform::TextFiles& files_;
  std::string waveformPath_;
  std::string folder_;  // the waveform file's folder, its separator included
  std::string timesPath_;
  std::string timesLine_;  // kept to spare an allocation per band
};

}  // namespace kov::measure
