#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ProfileText.h"

namespace kov::platform {
namespace {

const char* const kHandEdited =
    "; written by hand\r\n"
    "[Communication]\r\n"
    "  xport_ip  =  192.168.0.10  \r\n"
    "Xport_Port=\"10001\"\r\n"
    "\r\n"
    "[MES_PARA]\r\n"
    "START_FQ='451'\r\n"
    "END_FQ=\r\n"
    "END_FQ=999\r\n"
    "[mes_para]\r\n"
    "COUNT=7\r\n";

struct ReadCase {
  const char* section;
  const char* key;
  std::optional<std::string> value;
};

class ProfileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, HandEditedFile) {
  EXPECT_EQ(ReadProfileValue(kHandEdited, GetParam().section, GetParam().key), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ProfileReadTest,
    ::testing::Values(ReadCase{"COMMUNICATION", "Xport_IP", "192.168.0.10"},
                      ReadCase{"COMMUNICATION", "Xport_Port", "10001"},  // quotes removed
                      ReadCase{"MES_PARA", "START_FQ", "451"},
                      ReadCase{"MES_PARA", "END_FQ", ""},           // present and empty; first wins
                      ReadCase{"MES_PARA", "COUNT", std::nullopt},  // only in a later section
                      ReadCase{"MES_PARA", "INTERVAL", std::nullopt},
                      ReadCase{"NOWHERE", "Xport_IP", std::nullopt},
                      ReadCase{"COMMUNICATION", "; written by hand", std::nullopt}));

TEST(ProfileText, LongValueIsCutAnd254BytesKept) {
  const std::string value(300, 'x');
  const auto read = ReadProfileValue("[S]\nK=" + value, "S", "K");
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, std::string(254, 'x'));
}

TEST(ProfileText, EmptyAndMissingFiles) {
  EXPECT_EQ(ReadProfileValue("", "S", "K"), std::nullopt);
  EXPECT_EQ(WriteProfileValue("", "MES_PARA", "COUNT", "1"), "[MES_PARA]\r\nCOUNT=1\r\n");
}

struct WriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

class ProfileWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteTest, ChangesOnlyTheKeysLine) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(WriteProfileValue(c.before, c.section, c.key, c.value), c.after) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileWriteTest,
    ::testing::Values(
        WriteCase{"replace keeps other lines and LF ends", "; note\n[A]\nx = 1\ny=2\n[B]\nx=3\n",
                  "a", "X", "9", "; note\n[A]\nX=9\ny=2\n[B]\nx=3\n"},
        WriteCase{"new key at the end of its section", "[A]\r\nx=1\r\n\r\n[B]\r\nz=1\r\n", "A", "y",
                  "2", "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=1\r\n"},
        WriteCase{"new section at the end", "[A]\r\nx=1\r\n", "B", "k", "v",
                  "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteCase{"no final line end, new section", "[A]\r\nx=1", "B", "k", "v",
                  "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteCase{"no final line end, new key", "[A]\r\nx=1", "A", "k", "v",
                  "[A]\r\nx=1\r\nk=v\r\n"},
        WriteCase{"no final line end, replaced", "[A]\r\nx=1", "A", "x", "22", "[A]\r\nx=22"},
        WriteCase{"empty value", "[A]\r\nx=1\r\n", "A", "x", "", "[A]\r\nx=\r\n"},
        WriteCase{"first of duplicate keys", "[A]\r\nx=1\r\nx=2\r\n", "A", "x", "3",
                  "[A]\r\nx=3\r\nx=2\r\n"},
        WriteCase{"line break cuts the value", "[A]\r\nx=1\r\n", "A", "x", "2\r\n[B]\r\ny=3",
                  "[A]\r\nx=2\r\n"},
        WriteCase{"byte-order mark kept, key replaced", "\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "2",
                  "\xEF\xBB\xBF[A]\r\nx=2\r\n"},
        WriteCase{"byte-order mark kept, new key", "\xEF\xBB\xBF[A]\nx=1\n", "a", "y", "2",
                  "\xEF\xBB\xBF[A]\nx=1\ny=2\n"},
        WriteCase{"byte-order mark only", "\xEF\xBB\xBF", "A", "x", "1",
                  "\xEF\xBB\xBF[A]\r\nx=1\r\n"},
        WriteCase{"mixed ends: the first one wins", "[A]\nx=1\r\n", "B", "k", "v",
                  "[A]\nx=1\r\n[B]\nk=v\n"},
        WriteCase{"CR, no final line end, new key", "[A]\rx=1", "A", "k", "v", "[A]\rx=1\rk=v\r"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// The same file with each line end: every key reads, and new lines end alike.
TEST(ProfileText, ReadsAndWritesWithTheFilesOwnLineEnd) {
  for (const std::string e : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(e == "\r\n" ? "CR LF" : e == "\n" ? "LF" : "CR");
    const std::string file = "[COMMUNICATION]" + e + "Xport_IP=10.0.0.1" + e + e + "[MES_PARA]" +
                             e + "END_FQ = 550" + e + "COUNT=" + e;
    EXPECT_EQ(ReadProfileValue(file, "COMMUNICATION", "Xport_IP"), "10.0.0.1");
    EXPECT_EQ(ReadProfileValue(file, "MES_PARA", "END_FQ"), "550");
    EXPECT_EQ(ReadProfileValue(file, "MES_PARA", "COUNT"), "");
    EXPECT_EQ(ReadProfileValue(file, "MES_PARA", "Xport_IP"), std::nullopt);
    EXPECT_EQ(WriteProfileValue(file, "COMMUNICATION", "Xport_Port", "10001"),
              "[COMMUNICATION]" + e + "Xport_IP=10.0.0.1" + e + "Xport_Port=10001" + e + e +
                  "[MES_PARA]" + e + "END_FQ = 550" + e + "COUNT=" + e);
    EXPECT_EQ(WriteProfileValue(file, "OTHER", "k", "v"), file + "[OTHER]" + e + "k=v" + e);
    EXPECT_EQ(WriteProfileValue(file, "MES_PARA", "END_FQ", "600"),
              "[COMMUNICATION]" + e + "Xport_IP=10.0.0.1" + e + e + "[MES_PARA]" + e +
                  "END_FQ=600" + e + "COUNT=" + e);
  }
}

TEST(ProfileText, ByteOrderMarkHidesNoSection) {
  const std::string file =
      "\xEF\xBB\xBF[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\nXport_Port=10001\r\n";
  EXPECT_EQ(ReadProfileValue(file, "COMMUNICATION", "Xport_IP"), "10.0.0.1");
  EXPECT_EQ(ReadProfileValue(file, "COMMUNICATION", "Xport_Port"), "10001");
  // Only a mark at the very start is one.
  EXPECT_EQ(ReadProfileValue("\r\n\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x"), std::nullopt);
}

TEST(ProfileText, WrittenValueReadsBack) {
  std::string file = kHandEdited;
  for (const char* value : {"127.0.0.1", "", " 1", "a=b"}) {
    file = WriteProfileValue(file, "COMMUNICATION", "Xport_IP", value);
    EXPECT_EQ(ReadProfileValue(file, "COMMUNICATION", "Xport_IP"),
              std::string(value) == " 1" ? "1" : value);
    // Every other key is still there with its value.
    EXPECT_EQ(ReadProfileValue(file, "MES_PARA", "START_FQ"), "451");
    EXPECT_EQ(ReadProfileValue(file, "COMMUNICATION", "Xport_Port"), "10001");
  }
}

// A whole save, or a whole start-up, in one pass over the file: the same as
// the keys one by one, also for keys given twice, new sections, a section
// named in two spellings and a file of many empty lines.
TEST(ProfileText, SeveralKeysAtOnceAsOneByOne) {
  const ProfileEntry save[] = {{"COMMUNICATION", "Xport_IP", "127.0.0.1"},
                               {"NEW", "COUNT", "3"},
                               {"mes_para", "END_FQ", ""},
                               {"MES_PARA", "INTERVAL", "5\r\n[X]"},
                               {"COMMUNICATION", "xport_ip", " 2"},
                               {"new", "count", "4"},
                               {"MES_PARA", "D_LEVEL", " 0"},
                               {"Other", "k", "v"}};
  std::vector<ProfileKey> keys;
  for (const ProfileEntry& e : save) keys.push_back({e.section, e.key});
  for (const std::string& file :
       {std::string(), std::string(kHandEdited), std::string("\xEF\xBB\xBF[A]"),
        std::string("[MES_PARA]\nEND_FQ=1\n\n[X]\ny=2"),
        std::string("[COMMUNICATION]\r\nXport_Port=1"),
        std::string(100000, '\n') + "[MES_PARA]\nD_LEVEL=1\n"}) {
    SCOPED_TRACE(file.substr(0, 40));
    std::string oneByOne = file;
    for (const ProfileEntry& e : save) {
      oneByOne = WriteProfileValue(oneByOne, e.section, e.key, e.value);
    }
    EXPECT_EQ(WriteProfileValues(file, save), oneByOne);
    const auto values = ReadProfileValues(oneByOne, keys);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(values[i], ReadProfileValue(oneByOne, keys[i].section, keys[i].key)) << i;
    }
  }
}

}  // namespace
}  // namespace kov::platform
