#include "app/settings.h"

#include <charconv>

namespace beatloom {

const std::array<const char*, kColorCount> kColorKeys = {
    "Color_Background", "Color_NoteFont", "Color_NoteLine", "Color_Grid",
    "Color_SubLine",    "Color_ColLine1", "Color_ColLine2", "Color_ZoneFont",
};
const std::array<int, kColorCount> kDefaultColors = {0, 5789784, 16777215, 8421504, 12632256, 8421504, 16777215, 65280};

namespace {

WindowBounds ReadBounds(const IniFile& ini, const char* section, const std::array<const char*, 4>& keys,
                        const WindowBounds& fallback) {
  return {ini.ReadInteger(section, keys[0], fallback.left), ini.ReadInteger(section, keys[1], fallback.top),
          ini.ReadInteger(section, keys[2], fallback.width), ini.ReadInteger(section, keys[3], fallback.height)};
}

void WriteBounds(IniFile& ini, const char* section, const std::array<const char*, 4>& keys, const WindowBounds& b) {
  ini.WriteInteger(section, keys[0], b.left);
  ini.WriteInteger(section, keys[1], b.top);
  ini.WriteInteger(section, keys[2], b.width);
  ini.WriteInteger(section, keys[3], b.height);
}

constexpr std::array<const char*, 4> kBmpViewKeys = {"BMPViewXPos", "BMPViewYPos", "BMPViewWidth", "BMPViewHeight"};
constexpr std::array<const char*, 4> kWindowKeys = {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};

}  // namespace

Settings ReadSettings(const IniFile& ini, const Settings& fallback) {
  Settings s = fallback;
  const char* m = kSectionMain;
  s.GridPosition = kGridPositionRange.Clamp(ini.ReadInteger(m, "GridPosition", fallback.GridPosition));
  s.SubGridPosition = kSubGridPositionRange.Clamp(ini.ReadInteger(m, "SubGridPosition", fallback.SubGridPosition));
  s.GridHeight = kGridHeightRange.Clamp(ini.ReadInteger(m, "GridHeight", fallback.GridHeight));
  s.GridWidth = kGridWidthRange.Clamp(ini.ReadInteger(m, "GridWidth", fallback.GridWidth));
  s.ObjectHeight = kObjectHeightRange.Clamp(ini.ReadInteger(m, "ObjectHeight", fallback.ObjectHeight));
  s.ShowIndexNumver = ini.ReadBool(m, "ShowIndexNumver", fallback.ShowIndexNumver);
  s.ShowFileName = ini.ReadBool(m, "ShowFileName", fallback.ShowFileName);
  s.ShowDirectInputBox = ini.ReadBool(m, "ShowDirectInputBox", fallback.ShowDirectInputBox);
  s.ShowSettingWindow = ini.ReadBool(m, "ShowSettingWindow", fallback.ShowSettingWindow);
  s.FlatObjectWidth = ini.ReadBool(m, "FlatObjectWidth", fallback.FlatObjectWidth);
  s.WavBmpDropOverWrite = ini.ReadBool(m, "Wav&BmpDropOverWrite", fallback.WavBmpDropOverWrite);
  s.DebugingSave = ini.ReadBool(m, "DebugingSave", fallback.DebugingSave);
  s.MinimamColWidth = ini.ReadString(m, "MinimamColWidth", fallback.MinimamColWidth);
  s.BMPView = ReadBounds(ini, m, kBmpViewKeys, fallback.BMPView);
  for (int i = 0; i < kColorCount; ++i) {
    const int c = ini.ReadInteger(m, kColorKeys[i], fallback.Colors[i]);
    s.Colors[i] = c < 0 || c > 0xFFFFFF ? fallback.Colors[i] : c;
  }
  s.UserSettingEMAIL = ini.ReadString(m, "UserSettingEMAIL", fallback.UserSettingEMAIL);
  s.UserSettingURL = ini.ReadString(m, "UserSettingURL", fallback.UserSettingURL);

  const char* p = kSectionPlayView;
  s.InActiveClickCancel = ini.ReadBool(p, "InActiveClickCancel", fallback.InActiveClickCancel);
  s.Window = ReadBounds(ini, p, kWindowKeys, fallback.Window);
  s.WindowPositionStored = ini.HasKey(p, "WindowLeft") || ini.HasKey(p, "WindowTop");

  s.NoSound = ini.ReadBool(kSectionBoot, "NoSound", fallback.NoSound);
  s.DevMode = ini.ReadBool(kSectionBoot, "DevMode", fallback.DevMode);
  return s;
}

void WriteSettings(IniFile& ini, const Settings& s) {
  const char* m = kSectionMain;
  ini.WriteInteger(m, "GridHeight", s.GridHeight);
  ini.WriteInteger(m, "GridWidth", s.GridWidth);
  ini.WriteInteger(m, "ObjectHeight", s.ObjectHeight);
  ini.WriteInteger(m, "GridPosition", s.GridPosition);
  ini.WriteInteger(m, "SubGridPosition", s.SubGridPosition);
  ini.WriteBool(m, "ShowIndexNumver", s.ShowIndexNumver);
  ini.WriteBool(m, "ShowFileName", s.ShowFileName);
  ini.WriteBool(m, "ShowDirectInputBox", s.ShowDirectInputBox);
  ini.WriteBool(m, "ShowSettingWindow", s.ShowSettingWindow);
  ini.WriteBool(m, "FlatObjectWidth", s.FlatObjectWidth);
  ini.WriteBool(m, "Wav&BmpDropOverWrite", s.WavBmpDropOverWrite);
  ini.WriteBool(m, "DebugingSave", s.DebugingSave);
  ini.WriteString(m, "MinimamColWidth", s.MinimamColWidth);
  ini.WriteBool(kSectionPlayView, "InActiveClickCancel", s.InActiveClickCancel);
  WriteBounds(ini, m, kBmpViewKeys, s.BMPView);
  for (int i = 0; i < kColorCount; ++i) ini.WriteInteger(m, kColorKeys[i], s.Colors[i]);
  WriteBounds(ini, kSectionPlayView, kWindowKeys, s.Window);
}

UserDefaults ReadUserDefaults(const IniFile& ini) {
  return {ini.ReadString(kSectionMain, "UserSettingEMAIL", ""), ini.ReadString(kSectionMain, "UserSettingURL", "")};
}

double DateSerial(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  // Civil-day count from the proleptic Gregorian calendar; 1899-12-30 is day 0.
  auto days = [](int y, int mo, int d) {
    y -= mo <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
  };
  const int day = days(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) - days(1899, 12, 30);
  const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
  return day + seconds / 86400.0;
}

std::string FormatDateSerial(double serial, char decimalPoint) {
  // to_chars ignores the process locale, so the separator is ours to choose.
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, serial, std::chars_format::general, 15);
  std::string text(buf, result.ptr);
  for (char& c : text)
    if (c == '.') c = decimalPoint;
  return text;
}

void WriteLastBoot(IniFile& ini, std::time_t when, char decimalPoint) {
  ini.WriteString(kSectionBoot, "lastboot", FormatDateSerial(DateSerial(when), decimalPoint));
}

}  // namespace beatloom
