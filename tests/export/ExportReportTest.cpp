// The HTML report: what it says, that it needs nothing beside itself, and
// that a real browser shows its pictures and its table.
#include <cstdlib>
#include <filesystem>

#include "ExportHarness.h"

namespace kov::wfexport::testing {
namespace {

namespace fs = std::filesystem;

// 2026-12-08T23:59:50.000+09:00; a pass every 10 s, band 2 four seconds in.
constexpr std::int64_t kStart = 1796741990000;
std::int64_t BandMs(int pass, int band) { return kStart + (pass - 1) * 10000 + (band - 1) * 4000; }

// Twelve passes of two bands at -88 dB; a carrier at point 330 in passes 2
// and 3 (-30 dB), another at points 100 to 102 in every pass (-50 dB), and
// one point without data in pass 1.
std::string Cell(int pass, int point) {
  if (point == 330 && (pass == 2 || pass == 3)) return "-030 ";
  if (point >= 100 && point <= 102) return "-050 ";
  if (point == 7 && pass == 1) return "00";
  return "-088 ";
}

class ExportReport : public ::testing::Test {
 protected:
  ExportReport() {
    Spit(dir / "WFdata.txt", Recording(12, 2, Cell));
    Spit(dir / "WFtime.csv", TimesFile(12, 2, BandMs));
  }
  TempDir dir;
};

TEST_F(ExportReport, TheRunsFactsPicturesAndPeaksInOnePage) {
  ASSERT_EQ(RunTool({dir.File("WFdata.txt"), "--report", dir.File("r.html")}).status, 0);
  const std::string html = Slurp(dir / "r.html");
  for (const char* part :
       {"<html lang=\"ja\">", "<meta charset=\"utf-8\">", "WFdata.txt, WFtime.csv",
        "測定範囲 <span class=\"en\">/ Frequency range</span></th><td>450 – 469.96875 MHz",
        "ダウンロード回数 <span class=\"en\">/ Passes</span></th><td>12 (1 – 12)",
        "開始時刻 <span class=\"en\">/ Start</span></th><td>2026-12-08 23:59:50 (UTC+09:00)",
        "終了時刻 <span class=\"en\">/ End</span></th><td>2026-12-09 00:01:44 (UTC+09:00)",
        "測定時間 <span class=\"en\">/ Duration</span></th><td>0:01:54",
        "データなしの点 <span class=\"en\">/ Points without data</span></th><td>1 / 7680",
        "<img alt=\"waterfall\" src=\"data:image/png;base64,iVBORw0KGgo",
        "<img alt=\"spectrum\" src=\"data:image/png;base64,iVBORw0KGgo",
        "<td>453.09375</td><td>453.125</td><td>453.15625</td><td>453.09375</td><td>-50</td>"
        "<td>1</td><td>12</td><td>12</td><td>2026-12-08 23:59:50</td><td>2026-12-09 00:01:40</td>",
        "<td>460.28125</td><td>-30</td><td>2</td><td>3</td><td>2</td>"
        "<td>2026-12-09 00:00:04</td><td>2026-12-09 00:00:14</td>"}) {
    EXPECT_NE(html.find(part), std::string::npos) << part;
  }
  // Nothing is fetched: no address, no file beside it.
  EXPECT_EQ(html.find("http"), std::string::npos);
  EXPECT_EQ(html.find("src=\"data:"), html.find("src=\""));
  EXPECT_EQ(html.find("url("), std::string::npos);
}

#ifndef _WIN32
std::string Browser() {
  for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
    if (fs::exists(path)) return path;
  }
  return {};
}

int Count(const Picture& p, display::Rgb colour, int fromRow = 0) {
  int n = 0;
  for (int y = fromRow; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) n += p.At(x, y) == colour;
  }
  return n;
}

int LastRowWith(const Picture& p, display::Rgb colour) {
  int last = -1;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width && last != y; ++x) last = p.At(x, y) == colour ? y : last;
  }
  return last;
}

// Headless Chromium, in a profile of its own, takes a screenshot of the page.
TEST_F(ExportReport, ChromiumShowsThePicturesAndTheTable) {
  const std::string browser = Browser();
  if (browser.empty()) GTEST_SKIP() << "no Chromium";
  ASSERT_EQ(RunTool({dir.File("WFdata.txt"), "--report", dir.File("r.html"), "--width", "640",
                     "--height", "240"})
                .status,
            0);
  fs::create_directories(dir / "profile");
  const std::string command =
      "env HOME=" + dir.File("profile") + " timeout 120 " + browser +
      " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --user-data-dir=" +
      dir.File("profile") + " --screenshot=" + dir.File("shot.png") +
      " --window-size=1200,1800 file://" + dir.File("r.html") + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const Picture shot = ReadPng(dir.File("shot.png"));
  ASSERT_EQ(shot.width, 1200);
  // The waterfall's -88 dB over 640 x 240 pixels, the spectrum's black
  // background over 640 x 400, and the peaks table's head under them.
  EXPECT_GT(Count(shot, {0, 122, 255}), 640 * 240 * 3 / 4);
  EXPECT_GT(Count(shot, {0, 0, 0}), 640 * 400 * 3 / 4);
  const int spectrumEnd = LastRowWith(shot, {0, 0, 0});
  EXPECT_GT(Count(shot, {220, 230, 240}, spectrumEnd), 2000) << "no table under the pictures";
  EXPECT_GT(Count(shot, {242, 246, 250}, spectrumEnd), 1000) << "no second row of peaks";
}
#endif

}  // namespace
}  // namespace kov::wfexport::testing
