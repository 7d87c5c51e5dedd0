// The outputs of a small recording whose summary, signals and pixels are
// worked out by hand.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "ExportHarness.h"
#include "PictureParts.h"
#include "RunRig.h"

namespace kov::wfexport::testing {

Picture ReadPng(const std::string& path) {
  const std::string bytes = Slurp(path);
  Picture picture;
  int channels = 0;
  unsigned char* pixels = stbi_load_from_memory(
      reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
      &picture.width, &picture.height, &channels, 3);
  if (pixels == nullptr) return {};
  picture.rgb.assign(pixels, pixels + static_cast<std::size_t>(picture.width) * picture.height * 3);
  stbi_image_free(pixels);
  return picture;
}

namespace {

// One band from 450 MHz, three passes, -88 dB but for:
//   point  10 (450.28125 MHz): -26, -76, -51  (above -60 in passes 1 and 3)
//   point  12: pass 2 -51; point 11: pass 3 -51, which joins 10 and 12 into
//              one signal above the threshold in 3 passes
//   point  99 (453.0625 MHz): pass 2 -10
//   points 199 and 200: "00" in every pass; point 201: "00" in pass 1, else -80
//   point 320 (459.96875 MHz): pass 3 +005
std::string Cell(int pass, int point) {
  switch (point) {
    case 10:
      return pass == 1 ? "-026 " : pass == 2 ? "-076 " : "-051 ";
    case 11:
      return pass == 3 ? "-051 " : "-088 ";
    case 12:
      return pass == 2 ? "-051 " : "-088 ";
    case 99:
      return pass == 2 ? "-010 " : "-088 ";
    case 199:
    case 200:
      return "00";
    case 201:
      return pass == 1 ? "00" : "-080 ";
    case 320:
      return pass == 3 ? "+005 " : "-088 ";
    default:
      return "-088 ";
  }
}

class ExportOutputs : public ::testing::Test {
 protected:
  ExportOutputs() { Spit(dir / "WFdata.txt", Recording(3, 1, Cell)); }
  Outcome Export(std::vector<std::string> options) {
    options.insert(options.begin(), {"--start", "450", dir.File("WFdata.txt")});
    return RunTool(options);
  }
  TempDir dir;
};

TEST_F(ExportOutputs, SummaryPerPoint) {
  ASSERT_EQ(Export({"--summary", dir.File("s.csv")}).status, 0);
  const auto rows = Lines(Slurp(dir / "s.csv"));
  ASSERT_EQ(rows.size(), 321u);
  EXPECT_EQ(rows[0],
            "point,frequency_mhz,min_db,mean_db,max_db,passes_with_data,passes_above_threshold");
  EXPECT_EQ(rows[1], "1,450,-88,-88,-88,3,0");
  EXPECT_EQ(rows[10], "10,450.28125,-76,-51,-26,3,2");
  EXPECT_EQ(rows[11], "11,450.3125,-88,-75.67,-51,3,1");
  EXPECT_EQ(rows[199], "199,456.1875,,,,0,0") << "\"00\" is no data, not 0 dB";
  EXPECT_EQ(rows[201], "201,456.25,-80,-80,-80,2,0");
  EXPECT_EQ(rows[320], "320,459.96875,-88,-57,5,3,1");
}

TEST_F(ExportOutputs, PeaksMergeNeighboursAndCountTheirPasses) {
  ASSERT_EQ(Export({"--peaks", dir.File("p.csv"), "--threshold", "-60"}).status, 0);
  EXPECT_EQ(Slurp(dir / "p.csv"),
            "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,"
            "passes_above_threshold\n"
            "450.28125,450.3125,450.34375,450.28125,-26,1,3,3\n"
            "453.0625,453.0625,453.0625,453.0625,-10,2,2,1\n"
            "459.96875,459.96875,459.96875,459.96875,5,3,3,1\n");
}

TEST_F(ExportOutputs, TidyRowsWithEmptyLevelsForNoData) {
  ASSERT_EQ(Export({"--csv", dir.File("a.csv")}).status, 0);
  const auto rows = Lines(Slurp(dir / "a.csv"));
  ASSERT_EQ(rows.size(), 961u);
  EXPECT_EQ(rows[0], "pass,point,frequency_mhz,level_db");
  EXPECT_EQ(rows[1], "1,1,450,-88");
  EXPECT_EQ(rows[199], "1,199,456.1875,");
  EXPECT_EQ(rows[320 + 99], "2,99,453.0625,-10");
  EXPECT_EQ(rows[960], "3,320,459.96875,5");
}

TEST_F(ExportOutputs, SelectionOfPassesAndFrequencies) {
  ASSERT_EQ(
      Export({"--summary", dir.File("s.csv"), "--passes", "2:3", "--freq", "450.3:450.35"}).status,
      0);
  EXPECT_EQ(Slurp(dir / "s.csv"),
            "point,frequency_mhz,min_db,mean_db,max_db,passes_with_data,passes_above_threshold\n"
            "11,450.3125,-88,-69.5,-51,2,1\n"
            "12,450.34375,-88,-69.5,-51,2,1\n");
}

constexpr display::Rgb kBlue{0, 0, 255};

struct PixelCase {
  const char* width;
  const char* height;
  int column, row;
  display::Rgb colour;
};

class ExportWaterfallPixels : public ExportOutputs,
                              public ::testing::WithParamInterface<PixelCase> {};

TEST_P(ExportWaterfallPixels, ColourOfTheHighestLevelOfTheBlock) {
  const PixelCase& c = GetParam();
  ASSERT_EQ(
      Export({"--waterfall", dir.File("w.png"), "--width", c.width, "--height", c.height}).status,
      0);
  const Picture picture = ReadPng(dir.File("w.png"));
  ASSERT_GT(picture.width, parts::kLeft + c.column);
  EXPECT_EQ(picture.At(parts::kLeft + c.column, parts::kTop + c.row), c.colour);
}

// The full-range ramp: -26 (244,255,0), -51 (0,255,10), -76 (0,244,255),
// -88 (0,122,255), -10 (255,102,0).
INSTANTIATE_TEST_SUITE_P(
    Cells, ExportWaterfallPixels,
    ::testing::Values(
        PixelCase{"320", "3", 9, 0, {244, 255, 0}}, PixelCase{"320", "3", 9, 1, {0, 244, 255}},
        PixelCase{"320", "3", 9, 2, {0, 255, 10}}, PixelCase{"320", "3", 0, 0, {0, 122, 255}},
        PixelCase{"320", "3", 198, 1, kBlue},          // "00": the background
        PixelCase{"320", "3", 200, 0, kBlue},          // "00" in pass 1 only
        PixelCase{"320", "3", 200, 1, {0, 204, 255}},  // -80
        // Two points and three passes to a cell: the highest wins.
        PixelCase{"160", "1", 4, 0, {244, 255, 0}}, PixelCase{"160", "1", 49, 0, {255, 102, 0}},
        PixelCase{"160", "1", 99, 0, kBlue},
        // A picture larger than the data: whole blocks of pixels.
        PixelCase{"640", "30", 19, 9, {244, 255, 0}},
        PixelCase{"640", "30", 19, 10, {0, 244, 255}}));

TEST_F(ExportOutputs, LinearColoursSpreadTheRampOverTheirRange) {
  ASSERT_EQ(Export({"--waterfall", dir.File("w.png"), "--width", "320", "--height", "3", "--db-min",
                    "-90", "--db-max", "-40"})
                .status,
            0);
  // -51 dB lies 78 % up from -90 to -40: -22 dB of the full ramp.
  EXPECT_EQ(ReadPng(dir.File("w.png")).At(parts::kLeft + 9, parts::kTop + 2),
            (display::Rgb{255, 224, 0}));
}

// Twenty passes to two rows: the rows held while reading are joined in
// pairs as the passes come, then five of them to a row of the picture.
TEST(ExportWaterfall, ManyPassesMakeRowsOfEqualBlocks) {
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(20, 1, [](int pass, int point) {
         if (point == 5 && pass == 13) return "-010 ";
         if (point == 6 && pass == 10) return "-026 ";
         return "-088 ";
       }));
  ASSERT_EQ(RunTool({"--start", "450", dir.File("WFdata.txt"), "--waterfall", dir.File("w.png"),
                     "--width", "320", "--height", "2"})
                .status,
            0);
  const Picture picture = ReadPng(dir.File("w.png"));
  const auto at = [&](int x, int y) { return picture.At(parts::kLeft + x, parts::kTop + y); };
  EXPECT_EQ(at(4, 0), (display::Rgb{0, 122, 255}));  // passes 1 to 10
  EXPECT_EQ(at(4, 1), (display::Rgb{255, 102, 0}));  // passes 11 to 20
  EXPECT_EQ(at(5, 0), (display::Rgb{244, 255, 0}));
  EXPECT_EQ(at(5, 1), (display::Rgb{0, 122, 255}));
  EXPECT_EQ(at(4, 2), parts::kRule) << "two rows, then the frame";
}

TEST_F(ExportOutputs, SpectrumOnTheProgramsFrame) {
  ASSERT_EQ(Export({"--spectrum", dir.File("s.png"), "--width", "320"}).status, 0);
  const Picture picture = ReadPng(dir.File("s.png"));
  ASSERT_GT(picture.width, parts::kLeft + 320);
  const auto at = [&](int x, int y) { return picture.At(parts::kLeft + x, parts::kTop + y); };
  EXPECT_EQ(at(160, 10), (display::Rgb{128, 0, 128}));  // the middle line
  EXPECT_EQ(at(40, 10), (display::Rgb{0, 128, 0}));     // a column of the grid
  EXPECT_EQ(at(20, 80), (display::Rgb{0, 128, 0}));     // a row: -20 dB of 0 to -100
  EXPECT_EQ(at(98, 40), (display::Rgb{255, 255, 0}));   // max-hold of point 99, -10 dB
}

// A run of the program's own measurement code, with a carrier at point 5
// of band 2 and a reply line too short to hold a level at point 7 of band 1.
TEST(ExportRecording, ReadsWhatTheProgramWrites) {
  kov::testing::RunRig run;
  run.reply = [](const std::string& cf) {
    std::vector<link::ReplyEntry> entries(link::kPointsPerBand, {0, "-090 "});
    if (cf.rfind("CF465", 0) == 0) entries[4].level = "-030 ";
    if (cf.rfind("CF455", 0) == 0) entries[6].level = std::nullopt;
    return link::BuildGDReply(entries);
  };
  run.Entries("450", "470", "2", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  TempDir dir;
  Spit(dir / "WFdata.txt", run.files.files["WFdata.txt"]);
  ASSERT_EQ(
      RunTool({"--start", "450", dir.File("WFdata.txt"), "--summary", dir.File("s.csv")}).status,
      0);
  const auto rows = Lines(Slurp(dir / "s.csv"));
  ASSERT_EQ(rows.size(), 641u);
  EXPECT_EQ(rows[1], "1,450,-90,-90,-90,2,0");
  EXPECT_EQ(rows[7], "7,450.1875,,,,0,0");
  EXPECT_EQ(rows[325], "325,460.125,-30,-30,-30,2,2");
}

}  // namespace
}  // namespace kov::wfexport::testing
