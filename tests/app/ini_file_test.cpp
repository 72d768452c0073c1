#include "app/ini_file.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace beatloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(IniFile, MissingFileGivesFallbacksAndFirstWriteCreatesIt) {
  TempDir dir;
  IniFile ini(dir.file("x.ini"));
  EXPECT_FALSE(ini.HasKey("BTLM", "GridHeight"));
  EXPECT_EQ(ini.ReadInteger("BTLM", "GridHeight", 192), 192);
  EXPECT_EQ(ini.ReadString("BTLM", "MinimamColWidth", "1"), "1");
  EXPECT_TRUE(ini.ReadBool("BTLM", "ShowIndexNumver", true));
  ASSERT_TRUE(ini.WriteString("boot", "lastboot", "45000.5"));
  EXPECT_EQ(ReadFile(dir.file("x.ini")), "[boot]\r\nlastboot=45000.5\r\n");
}

TEST(IniFile, ReadsWithoutRegardToCaseAndTrimsSpaces) {
  TempDir dir;
  WriteFile(dir.file("x.ini"),
            "[btlm]\r\n  gridheight = 300 \r\nWav&BmpDropOverWrite=0\r\n[Other]\r\nGridHeight=5\r\n");
  IniFile ini(dir.file("x.ini"));
  EXPECT_EQ(ini.ReadInteger("BTLM", "GridHeight", 0), 300);
  EXPECT_FALSE(ini.ReadBool("BTLM", "WAV&BMPDROPOVERWRITE", true));
  EXPECT_EQ(ini.ReadInteger("OTHER", "gridheight", 0), 5);
}

TEST(IniFile, IntegersAndBooleans) {
  struct Row {
    const char* stored;
    int asInteger;  // fallback 77
    bool asBool;    // fallback true
  };
  const Row rows[] = {
      {"12", 12, true},  {"-3", -3, true}, {"0", 0, false},   {"+4", 4, true},
      {"abc", 77, true}, {"", 77, true},   {"12x", 77, true}, {"2", 2, true},
  };
  TempDir dir;
  IniFile ini(dir.file("x.ini"));
  for (const Row& r : rows) {
    ASSERT_TRUE(ini.WriteString("S", "K", r.stored));
    EXPECT_EQ(ini.ReadInteger("S", "K", 77), r.asInteger) << r.stored;
    EXPECT_EQ(ini.ReadBool("S", "K", true), r.asBool) << r.stored;
  }
}

TEST(IniFile, WritesKeepEveryOtherLine) {
  TempDir dir;
  const std::string before =
      "; my settings\r\n[BTLM]\r\nGridHeight=200\r\nunknown line\r\n\r\n[PLAYVIEW]\r\nWindowLeft=10\r\n";
  WriteFile(dir.file("x.ini"), before);
  IniFile ini(dir.file("x.ini"));
  ASSERT_TRUE(ini.WriteInteger("btlm", "gridheight", 250));  // replaces in place
  ASSERT_TRUE(ini.WriteInteger("BTLM", "GridWidth", 8));     // added at the end of its section
  ASSERT_TRUE(ini.WriteBool("boot", "DevMode", true));       // new section at the end
  EXPECT_EQ(ReadFile(dir.file("x.ini")),
            "; my settings\r\n[BTLM]\r\ngridheight=250\r\nGridWidth=8\r\nunknown line\r\n\r\n[PLAYVIEW]\r\n"
            "WindowLeft=10\r\n[boot]\r\nDevMode=1\r\n");
}

TEST(IniFile, KeepsLfLineEndsAndAFileWithoutFinalNewline) {
  TempDir dir;
  WriteFile(dir.file("x.ini"), "[A]\nk=1");
  IniFile ini(dir.file("x.ini"));
  ASSERT_TRUE(ini.WriteString("A", "j", "2"));
  EXPECT_EQ(ReadFile(dir.file("x.ini")), "[A]\nk=1\nj=2");
  ASSERT_TRUE(ini.WriteString("B", "m", "3"));
  EXPECT_EQ(ReadFile(dir.file("x.ini")), "[A]\nk=1\nj=2\n[B]\nm=3\n");
}

TEST(IniFile, OnlyTheFirstSectionOfANameCounts) {
  TempDir dir;
  WriteFile(dir.file("x.ini"), "[A]\r\nk=1\r\n[a]\r\nk=2\r\nj=5\r\n");
  IniFile ini(dir.file("x.ini"));
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_FALSE(ini.HasKey("A", "j"));
  ASSERT_TRUE(ini.WriteString("A", "j", "6"));
  EXPECT_EQ(ReadFile(dir.file("x.ini")), "[A]\r\nk=1\r\nj=6\r\n[a]\r\nk=2\r\nj=5\r\n");
}

TEST(IniFile, ValuesStayBytesAndOnOneLine) {
  TempDir dir;
  IniFile ini(dir.file("x.ini"));
  const std::string sjis = "\x83\x65\x83\x58\x83\x67";  // CP932 bytes
  ASSERT_TRUE(ini.WriteString("BTLM", "UserSettingURL", sjis));
  EXPECT_EQ(ini.ReadString("BTLM", "UserSettingURL", ""), sjis);
  ASSERT_TRUE(ini.WriteString("BTLM", "UserSettingEMAIL", "a\r\n[boot]\nb"));
  EXPECT_EQ(ini.ReadString("BTLM", "UserSettingEMAIL", ""), "a  [boot] b");
  EXPECT_FALSE(ini.HasKey("boot", "b"));
}

TEST(IniFile, UnwritableFolderReportsFailureAndKeepsTheFile) {
  TempDir dir;
  WriteFile(dir.file("x.ini"), "[A]\r\nk=1\r\n");
  IniFile ini(dir.file("missing-folder/x.ini"));
  EXPECT_FALSE(ini.WriteString("A", "k", "2"));
}

}  // namespace
}  // namespace beatloom
