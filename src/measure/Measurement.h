#pragma once

#include <string>

#include "link/Link.h"
#include "link/Protocol.h"
#include "measure/Display.h"
#include "measure/RecordingFiles.h"
#include "measure/StateRecord.h"
#include "measure/WaveformFile.h"
#include "platform/Clock.h"
#include "platform/TextFiles.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace kov::measure {

// What a run acts on: the state record, the link, the parts of the window it
// uses, the graphs, the clock and the recording's files.
struct MeasurementParts {
  StateRecord& state;
  link::Link& link;
  ui::Fields& fields;
  ui::Messages& messages;
  ui::Buttons& buttons;
  ui::Labels& labels;
  ui::Timers timers;
  Display& display;
  platform::Clock& clock;
  platform::TextFiles& files;
  std::string waveformPath = kWaveformFile;
};

// The start and break commands, the three timer handlers of a run, the trace
// grid and the waveform file.
class Measurement {
 public:
  explicit Measurement(MeasurementParts parts);

  void CmdMesStart_Click();
  void CmdMesBreak_Click();
  void ShowBandCount();
  void Timer1_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  void ResetWFGrid();
  // Stores the band's levels in its grid column, appends its 320 lines to
  // the waveform file and, with the time its reply was complete, its line to
  // the times file. False when they cannot be written.
  bool StoreBandTrace(const link::BandLevels& levels, platform::WallTime replyTime);

 private:
  // The start command's preparation of the graphs, labels and timers.
  void PrepareRun();
  double BandCenter(std::int16_t bandNo) const;
  void SettlingWait();
  // Ends the run early: the message in the status line, the end time, and
  // the connection closed. The window stays.
  void EndRun(const char* message);

  StateRecord& state_;
  link::Link& link_;
  ui::Fields& fields_;
  ui::Messages& messages_;
  ui::Buttons& buttons_;
  ui::Labels& labels_;
  ui::Timers timers_;
  Display& display_;
  platform::Clock& clock_;
  RecordingFiles recording_;
};

}  // namespace kov::measure
