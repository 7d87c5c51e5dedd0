#include <gtest/gtest.h>

#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeWindow.h"
#include "platform/ProgramFolder.h"
#include "settings/Settings.h"

namespace kov::settings {
namespace {

using fakes::FakeProfileFiles;
using fakes::FakeWindow;
using ui::Entry;

const std::string kIni = std::string("/opt/kov") + platform::PathSeparator() + "KOV_Xport.ini";

TEST(Settings, ProfilePathIsBesideTheProgram) {
  FakeProfileFiles files;
  Settings settings(files, "/opt/kov");
  EXPECT_EQ(settings.ProfilePath(), kIni);
}

TEST(Settings, StartUpWithoutAFileShowsTheDefaults) {
  FakeProfileFiles files;
  FakeWindow window;
  Settings settings(files, "/opt/kov");
  settings.ReadCommunication(window);
  settings.ReadMeasurement(window);
  using E = Entry;
  EXPECT_EQ(window.entries, (std::map<Entry, std::string>{{E::TxtXportIP, "1"},
                                                          {E::TxtXportPort, "1"},
                                                          {E::TxtStartFQ, "451"},
                                                          {E::TxtEndFQ, "550"},
                                                          {E::TxtInterval, "5"},
                                                          {E::TxtTime, "1"}}));
  EXPECT_EQ(window.check, 1);
  // The seven keys in their order, each from the file beside the program.
  std::vector<std::string> keys;
  for (const auto& r : files.reads) {
    EXPECT_EQ(r.path, kIni);
    keys.push_back(r.section + "/" + r.key + "=" + r.value);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"COMMUNICATION/Xport_IP=1",
                                            "COMMUNICATION/Xport_Port=1", "MES_PARA/START_FQ=451",
                                            "MES_PARA/END_FQ=550", "MES_PARA/INTERVAL=5",
                                            "MES_PARA/COUNT=1", "MES_PARA/D_LEVEL=1"}));
  EXPECT_EQ(files.readCalls, 2) << "one reading of the file for each group, not one per key";
  EXPECT_TRUE(files.writes.empty());
}

TEST(Settings, ValuesAreTakenAsTheyStand) {
  FakeProfileFiles files;
  files.files[kIni][{"COMMUNICATION", "Xport_IP"}] = "192.168.0.10";
  files.files[kIni][{"MES_PARA", "START_FQ"}] = "";  // present and empty
  files.files[kIni][{"MES_PARA", "COUNT"}] = "abc";
  files.files[kIni][{"MES_PARA", "D_LEVEL"}] = std::string("0\0tail", 6);
  FakeWindow window;
  Settings settings(files, "/opt/kov");
  settings.ReadCommunication(window);
  settings.ReadMeasurement(window);
  EXPECT_EQ(window.EntryText(Entry::TxtXportIP), "192.168.0.10");
  EXPECT_EQ(window.EntryText(Entry::TxtStartFQ), "");
  EXPECT_EQ(window.EntryText(Entry::TxtTime), "abc");
  EXPECT_EQ(window.check, 0);
}

TEST(Settings, CheckValueFromText) {
  struct Case {
    const char* text;
    std::int16_t value;
  };
  for (const Case& c :
       {Case{"1", 1}, Case{" 1", 1}, Case{"0", 0}, Case{"2", 2}, Case{"0.5", 0}, Case{"1.5", 2},
        Case{"3", 0}, Case{"-1", 0}, Case{"x", 0}, Case{"40000", 0}, Case{"&H1", 1}}) {
    EXPECT_EQ(CheckValueFromText(c.text), c.value) << c.text;
  }
}

TEST(Settings, SaveWritesTheSevenKeysInOrder) {
  FakeProfileFiles files;
  FakeWindow window;
  window.entries = {{Entry::TxtXportIP, "127.0.0.1"}, {Entry::TxtXportPort, "10001"},
                    {Entry::TxtStartFQ, "450"},       {Entry::TxtEndFQ, ""},
                    {Entry::TxtInterval, "5"},        {Entry::TxtTime, "3"}};
  window.check = 0;
  Settings settings(files, "/opt/kov");
  settings.BtnSaveMespara_Click(window);
  std::vector<std::string> written;
  for (const auto& w : files.writes) written.push_back(w.section + "/" + w.key + "=" + w.value);
  EXPECT_EQ(written, (std::vector<std::string>{
                         "COMMUNICATION/Xport_IP=127.0.0.1", "COMMUNICATION/Xport_Port=10001",
                         "MES_PARA/START_FQ=450", "MES_PARA/END_FQ=", "MES_PARA/INTERVAL=5",
                         "MES_PARA/COUNT=3", "MES_PARA/D_LEVEL= 0"}));
  EXPECT_EQ(files.writeCalls, 1) << "one change of the file, not one per key";
  EXPECT_TRUE(window.log.empty());  // nothing shown, nothing changed
}

TEST(Settings, ReadIsCutTo254Bytes) {
  FakeProfileFiles files;
  files.files[kIni][{"COMMUNICATION", "Xport_IP"}] = std::string(300, '9');
  Settings settings(files, "/opt/kov");
  EXPECT_EQ(settings.ProfileRead("COMMUNICATION", "Xport_IP", "1"), std::string(254, '9'));
}

}  // namespace
}  // namespace kov::settings
