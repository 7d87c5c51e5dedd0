// wfdata-export.exe, the one built beside this test, on a recording past
// 2 GiB written in full: every point line of every pass must count, those
// past 2^31 bytes as much as the first. About 2.2 GB in the temporary
// folder, removed afterwards.
#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "link/Protocol.h"
#include "measure/WaveformFile.h"
#include "platform/Numbers.h"

namespace kov::testing {
namespace {

constexpr int kPoints = 102 * 320;
constexpr std::uint64_t kBytes = (std::uint64_t{1} << 31) + (std::uint64_t{1} << 26);

// Point k has the level -40 - k % 50 dB in every pass, but -5 dB in pass p
// for k = 3p - 2, a carrier of one pass; the last pass has no data at
// point 2. Gives the number of passes.
int WriteRecording(const std::string& path) {
  std::vector<std::string> points(kPoints + 1), levels(kPoints + 1);
  for (int k = 1; k <= kPoints; ++k) {
    points[k] = platform::BlankNumber(k) + ",";
    levels[k] = link::LevelText(-40 - k % 50);
  }
  const std::string carrier = link::LevelText(-5), noData(measure::kNoData);
  auto build = [&](int p, bool last, std::string& pass) {
    const std::string prefix = platform::BlankNumber(p) + ", ";
    pass.clear();
    for (int k = 1; k <= kPoints; ++k) {
      pass += prefix;
      pass += points[k];
      pass += k == 3 * p - 2 ? carrier : last && k == 2 ? noData : levels[k];
      pass += "\r\n";
      if (k % 320 == 0) pass += "\r\n";
    }
  };
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::uint64_t written = std::fwrite("\r\n", 1, 2, file);
  int passes = 0;
  std::string pass;
  while (written < kBytes) {
    build(++passes, false, pass);
    if (written + pass.size() >= kBytes) build(passes, true, pass);
    const std::size_t n = std::fwrite(pass.data(), 1, pass.size(), file);
    written += n;
    if (n != pass.size()) break;
  }
  const bool closed = std::fclose(file) == 0;
  // The lines are the program's own.
  std::string line;
  measure::AppendPointLine(line, 1, 7, levels[7]);
  return closed && written >= kBytes && line == " 1,  7," + levels[7] + "\r\n" ? passes : 0;
}

// The exporter beside this program, run to its end; its exit status.
DWORD Export(const std::string& arguments) {
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string exe(self, n);
  exe = exe.substr(0, exe.find_last_of('\\') + 1) + "wfdata-export.exe";
  std::string command = "\"" + exe + "\" " + arguments;
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  // No console: one of its own would have it wait for Enter at the end.
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                      nullptr, nullptr, &start, &process)) {
    return 0xFFFF;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0xFFFF;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}

// The rows of a CSV file, header left out, each split at its commas.
std::vector<std::vector<std::string>> Rows(const std::string& path) {
  std::istringstream text(Slurp(path));
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(text, line);
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string>& row = rows.emplace_back();
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) row.push_back(field);
  }
  return rows;
}

int PointAt(const std::string& mhz) {
  return static_cast<int>(std::lround((std::strtod(mhz.c_str(), nullptr) - 450) * 32)) + 1;
}

TEST(PastTwoGiBExport, EveryPointLineCounts) {
  TempDir dir;
  const std::string recording = dir.File("WFdata.txt");
  const int passes = WriteRecording(recording);
  ASSERT_GT(passes, 0) << "the recording could not be written";
  const std::string summary = dir.File("summary.csv"), peaks = dir.File("peaks.csv");
  ASSERT_EQ(Export("--start 450 --threshold -10 --quiet \"" + recording + "\" --summary \"" +
                   summary + "\" --peaks \"" + peaks + "\""),
            0u);

  // point,frequency_mhz,min_db,mean_db,max_db,passes_with_data,passes_above_threshold
  const auto points = Rows(summary);
  ASSERT_EQ(points.size(), std::size_t{kPoints});
  int wrong = 0;
  for (const auto& row : points) {
    const int k = std::atoi(row.at(0).c_str());
    const bool carrier = k % 3 == 1 && k <= 3 * passes - 2;
    const std::vector<std::string> expected = {
        std::to_string(-40 - k % 50), carrier ? "-5" : std::to_string(-40 - k % 50),
        std::to_string(k == 2 ? passes - 1 : passes), carrier ? "1" : "0"};
    if (std::vector<std::string>{row.at(2), row.at(4), row.at(5), row.at(6)} != expected &&
        ++wrong <= 5) {
      ADD_FAILURE() << "summary row of point " << k << ": " << row.at(2) << " " << row.at(4) << " "
                    << row.at(5) << " " << row.at(6);
    }
  }
  EXPECT_EQ(wrong, 0);

  // low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,passes_above_threshold:
  // one carrier per pass, the last ones from the lines past 2^31 bytes.
  const auto carriers = Rows(peaks);
  ASSERT_EQ(carriers.size(), static_cast<std::size_t>(passes));
  for (int p = 1; p <= passes; ++p) {
    const auto& row = carriers[static_cast<std::size_t>(p - 1)];
    EXPECT_EQ(PointAt(row.at(3)), 3 * p - 2) << "pass " << p;
    EXPECT_EQ(std::vector<std::string>(row.begin() + 4, row.end()),
              (std::vector<std::string>{"-5", std::to_string(p), std::to_string(p), "1"}))
        << "pass " << p;
  }
}

}  // namespace
}  // namespace kov::testing
