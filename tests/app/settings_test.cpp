#include "app/settings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace beatloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(Settings, MissingFileGivesTheFirstStartValues) {
  TempDir dir;
  const IniFile ini(dir.file("beatloom.ini"));
  const Settings s = ReadSettings(ini, Settings{});
  EXPECT_EQ(s.GridPosition, 2);
  EXPECT_EQ(s.SubGridPosition, 0);
  EXPECT_EQ(s.GridHeight, 192);
  EXPECT_EQ(s.GridWidth, 6);
  EXPECT_EQ(s.ObjectHeight, 10);
  EXPECT_TRUE(s.ShowIndexNumver);
  EXPECT_FALSE(s.ShowFileName);
  EXPECT_TRUE(s.ShowDirectInputBox);
  EXPECT_TRUE(s.ShowSettingWindow);
  EXPECT_FALSE(s.FlatObjectWidth);
  EXPECT_TRUE(s.WavBmpDropOverWrite);
  EXPECT_TRUE(s.DebugingSave);
  EXPECT_EQ(s.MinimamColWidth, "1");
  EXPECT_EQ(s.Colors, (std::array<int, 8>{0, 5789784, 16777215, 8421504, 12632256, 8421504, 16777215, 65280}));
  EXPECT_TRUE(s.InActiveClickCancel);
  EXPECT_FALSE(s.WindowPositionStored);
  EXPECT_FALSE(s.NoSound);
  EXPECT_FALSE(s.DevMode);
  EXPECT_EQ(s.UserSettingEMAIL, "");
}

TEST(Settings, WrittenValuesReadBackUnchanged) {
  TempDir dir;
  IniFile ini(dir.file("beatloom.ini"));
  Settings s;
  s.GridPosition = 8;
  s.SubGridPosition = 9;
  s.GridHeight = 728;
  s.GridWidth = 4;
  s.ObjectHeight = 30;
  s.ShowIndexNumver = false;
  s.ShowFileName = true;
  s.ShowDirectInputBox = false;
  s.ShowSettingWindow = false;
  s.FlatObjectWidth = true;
  s.WavBmpDropOverWrite = false;
  s.DebugingSave = false;
  s.MinimamColWidth = "16";
  s.BMPView = {11, 22, 512, 513};
  s.Colors = {1, 2, 3, 4, 5, 6, 7, 0xFFFFFF};
  s.InActiveClickCancel = false;
  s.Window = {-5, 7, 800, 600};
  WriteSettings(ini, s);
  Settings expected = s;
  expected.WindowPositionStored = true;
  expected.WindowSizeStored = true;
  EXPECT_EQ(ReadSettings(ini, Settings{}), expected);
  // The author's own keys and the boot switches are not the shutdown's business.
  EXPECT_FALSE(ini.HasKey("BTLM", "UserSettingEMAIL"));
  EXPECT_FALSE(ini.HasKey("boot", "NoSound"));
  EXPECT_FALSE(ini.HasKey("boot", "DevMode"));
}

TEST(Settings, OutOfRangeValuesAreClamped) {
  struct Row {
    const char* key;
    const char* stored;
    int Settings::*field;
    int expected;
  };
  const Row rows[] = {
      {"GridHeight", "1000", &Settings::GridHeight, 728},
      {"GridHeight", "10", &Settings::GridHeight, 96},
      {"GridWidth", "99", &Settings::GridWidth, 20},
      {"GridWidth", "-1", &Settings::GridWidth, 4},
      {"ObjectHeight", "0", &Settings::ObjectHeight, 4},
      {"ObjectHeight", "31", &Settings::ObjectHeight, 30},
      {"GridPosition", "9", &Settings::GridPosition, 8},
      {"GridPosition", "-2", &Settings::GridPosition, 0},
      {"SubGridPosition", "10", &Settings::SubGridPosition, 9},
      {"GridHeight", "many", &Settings::GridHeight, 192},
  };
  for (const Row& r : rows) {
    TempDir dir;
    IniFile ini(dir.file("beatloom.ini"));
    ini.WriteString("BTLM", r.key, r.stored);
    EXPECT_EQ(ReadSettings(ini, Settings{}).*r.field, r.expected) << r.key << "=" << r.stored;
  }
}

TEST(Settings, MissingBoundsKeepTheCurrentWindow) {
  TempDir dir;
  IniFile ini(dir.file("beatloom.ini"));
  ini.WriteInteger("PLAYVIEW", "WindowWidth", 640);
  Settings current;
  current.Window = {30, 40, 573, 577};
  current.BMPView = {1, 2, 3, 4};
  const Settings s = ReadSettings(ini, current);
  EXPECT_EQ(s.Window, (WindowBounds{30, 40, 640, 577}));
  EXPECT_EQ(s.BMPView, (WindowBounds{1, 2, 3, 4}));
  EXPECT_FALSE(s.WindowPositionStored);
}

TEST(Settings, LastBootIsTheDaySerialOfLocalTime) {
  // 1970-01-02 12:00 local time is day 25570.5.
  std::tm t{};
  t.tm_year = 70;
  t.tm_mon = 0;
  t.tm_mday = 2;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  const std::time_t when = std::mktime(&t);
  EXPECT_DOUBLE_EQ(DateSerial(when), 25570.5);
  EXPECT_EQ(FormatDateSerial(25570.5, ','), "25570,5");
  EXPECT_EQ(FormatDateSerial(45000.25, '.'), "45000.25");

  TempDir dir;
  IniFile ini(dir.file("beatloom.ini"));
  WriteLastBoot(ini, when, '.');
  EXPECT_EQ(ReadFile(dir.file("beatloom.ini")), "[boot]\r\nlastboot=25570.5\r\n");
}

TEST(Settings, BootSwitchesAreRead) {
  TempDir dir;
  WriteFile(dir.file("beatloom.ini"), "[BOOT]\r\nnosound=1\r\nDevMode=2\r\n");
  const Settings s = ReadSettings(IniFile(dir.file("beatloom.ini")), Settings{});
  EXPECT_TRUE(s.NoSound);
  EXPECT_TRUE(s.DevMode);
}

}  // namespace
}  // namespace beatloom
