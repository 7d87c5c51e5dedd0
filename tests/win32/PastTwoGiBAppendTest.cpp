// The program's file adapter on a WFdata.txt already past 2 and 4 GiB, as a
// recording of days grows: each band lands at the end, and a band that fails
// part way is cut back to the size before it. The files are sparse up to
// their last line end, so they cost no disk. CMakeLists.txt runs this under
// a limit on the size of the files the process writes, KOV_FILE_SIZE_LIMIT,
// so that an append can fail there.
#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "TestFiles.h"
#include "measure/WaveformFile.h"
#include "platform/SystemTextFiles.h"

namespace kov::testing {
namespace {

constexpr std::uint64_t kTwoGiB = std::uint64_t{1} << 31;
constexpr std::uint64_t kFourGiB = std::uint64_t{1} << 32;

// A file of `size` bytes that ends in a line end, the rest a hole.
void MakeSparse(const std::string& path, std::uint64_t size) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  // On NTFS, else the append would first fill gigabytes with zeros.
  DeviceIoControl(f, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &n, nullptr);
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(size - 2);
  const bool written =
      SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && WriteFile(f, "\r\n", 2, &n, nullptr);
  CloseHandle(f);
  ASSERT_TRUE(written && n == 2);
}

// The size and the last bytes of the file, read past the C library.
std::pair<std::uint64_t, std::string> SizeAndTail(const std::string& path, std::size_t count) {
  HANDLE f =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {0, ""};
  LARGE_INTEGER size{}, at{};
  std::string tail(count, '\0');
  DWORD n = 0;
  if (GetFileSizeEx(f, &size)) at.QuadPart = size.QuadPart - static_cast<LONGLONG>(count);
  if (at.QuadPart <= 0 || !SetFilePointerEx(f, at, nullptr, FILE_BEGIN) ||
      !ReadFile(f, tail.data(), static_cast<DWORD>(count), &n, nullptr)) {
    n = 0;
  }
  CloseHandle(f);
  tail.resize(n);
  return {static_cast<std::uint64_t>(size.QuadPart), tail};
}

// One band of the program's lines, about 5 KB.
std::string Band() {
  std::string band;
  for (int k = 1; k <= 320; ++k) measure::AppendPointLine(band, 4000, 32320 + k, "-087 ");
  return band + "\r\n";
}

std::uint64_t SizeLimit() {
  const char* limit = std::getenv("KOV_FILE_SIZE_LIMIT");
  return limit == nullptr ? 0 : std::strtoull(limit, nullptr, 10);
}

TEST(PastTwoGiBAppend, EachBandLandsAtTheEnd) {
  struct Row {
    const char* where;
    std::uint64_t size;
  };
  const Row rows[] = {
      {"across 2 GiB", kTwoGiB - 3000},
      {"past 2 GiB", kTwoGiB + 1000},
      {"across 4 GiB", kFourGiB - 3000},
      {"past 4 GiB", kFourGiB + 1000},
  };
  const std::string band = Band();
  TempDir dir;
  const std::string path = dir.File("WFdata.txt");
  platform::SystemTextFiles files;
  for (const Row& row : rows) {
    MakeSparse(path, row.size);
    ASSERT_TRUE(files.Append(path, band)) << row.where;
    EXPECT_EQ(SizeAndTail(path, band.size() + 2),
              std::make_pair(row.size + band.size(), "\r\n" + band))
        << row.where;
  }
}

TEST(PastTwoGiBAppend, ABandThatFailsPartWayIsCutBack) {
  const std::uint64_t limit = SizeLimit();
  if (limit == 0) GTEST_SKIP() << "no KOV_FILE_SIZE_LIMIT: nothing makes an append fail";
  ASSERT_GT(limit, kFourGiB + 3000);
  const std::string band = Band();
  TempDir dir;
  const std::string path = dir.File("WFdata.txt");
  MakeSparse(path, limit - 3000);
  platform::SystemTextFiles files;
  EXPECT_FALSE(files.Append(path, band));
  EXPECT_EQ(SizeAndTail(path, 2), std::make_pair(limit - 3000, std::string("\r\n")));
}

}  // namespace
}  // namespace kov::testing
