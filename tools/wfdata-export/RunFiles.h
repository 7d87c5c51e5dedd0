#pragma once

#include <string>
#include <vector>

#include "NameCheck.h"
#include "Options.h"

namespace kov::wfexport {

// The files of one export, found before anything is read: the outputs (the
// usual set beside the recording when none is named), the times file (named,
// or beside the recording by name) and the settings file (named, or for the
// usual set without times, KOV_Xport.ini beside the recording or else beside
// the program).
struct RunFiles {
  Options options;          // with the usual outputs filled in
  bool usualSet = false;    // no output named
  std::string name;         // the recording's file name, for messages
  std::string timesPath;    // "" when there is none
  bool timesNamed = false;  // by --times: it must be there
  std::vector<NamedFile> inputs, outputs;
};

// The files, or the reason the export cannot start (a command line to refuse).
std::string FindRunFiles(const Options& options, const std::string& programFolder, RunFiles& files);

// "NAME-report.html" and the rest, beside the recording.
void NameUsualOutputs(Options& options);

}  // namespace kov::wfexport
