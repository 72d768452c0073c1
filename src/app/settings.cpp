#include "app/settings.h"

#include <algorithm>
#include <charconv>

namespace beatloom {

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

// The keys the shutdown writes, in the order the settings file keeps them;
// the start-up reads the same rows. The view's own keys come from the view.
struct IntField {
  const IntViewSetting* setting;
  int Settings::*field;
};
constexpr IntField kIntFields[] = {
    {&GridHeightSetting, &Settings::GridHeight},           {&GridWidthSetting, &Settings::GridWidth},
    {&ObjectHeightSetting, &Settings::ObjectHeight},       {&GridPositionSetting, &Settings::GridPosition},
    {&SubGridPositionSetting, &Settings::SubGridPosition},
};

struct BoolField {
  const char* key;
  bool Settings::*field;
};
constexpr BoolField kBoolFields[] = {
    {ShowIndexNumverSetting.key, &Settings::ShowIndexNumver},
    {ShowFileNameSetting.key, &Settings::ShowFileName},
    {"ShowDirectInputBox", &Settings::ShowDirectInputBox},
    {"ShowSettingWindow", &Settings::ShowSettingWindow},
    {FlatObjectWidthSetting.key, &Settings::FlatObjectWidth},
    {"Wav&BmpDropOverWrite", &Settings::WavBmpDropOverWrite},
    {"DebugingSave", &Settings::DebugingSave},
};

constexpr const char* kMinColWidthKey = "MinimamColWidth";
constexpr const char* kActivationClickKey = "InActiveClickCancel";
constexpr const char* kEmailKey = "UserSettingEMAIL";
constexpr const char* kUrlKey = "UserSettingURL";

}  // namespace

Settings ReadSettings(const IniFile& ini, const Settings& fallback) {
  Settings s = fallback;
  const char* m = kSectionMain;
  for (const IntField& f : kIntFields)
    s.*f.field = f.setting->Clamp(ini.ReadInteger(m, f.setting->key, fallback.*f.field));
  for (const BoolField& f : kBoolFields) s.*f.field = ini.ReadBool(m, f.key, fallback.*f.field);
  s.MinimamColWidth = ini.ReadString(m, kMinColWidthKey, fallback.MinimamColWidth);
  s.BMPView = ReadBounds(ini, m, kBmpViewKeys, fallback.BMPView);
  for (int i = 0; i < kColorCount; ++i) {
    const int c = ini.ReadInteger(m, ScoreColorTable[i].key, fallback.Colors[i]);
    s.Colors[i] = c < 0 || c > 0xFFFFFF ? fallback.Colors[i] : c;
  }
  s.UserSettingEMAIL = ini.ReadString(m, kEmailKey, fallback.UserSettingEMAIL);
  s.UserSettingURL = ini.ReadString(m, kUrlKey, fallback.UserSettingURL);

  const char* p = kSectionPlayView;
  s.InActiveClickCancel = ini.ReadBool(p, kActivationClickKey, fallback.InActiveClickCancel);
  s.Window = ReadBounds(ini, p, kWindowKeys, fallback.Window);
  s.WindowPositionStored = ini.HasKey(p, kWindowKeys[0]) || ini.HasKey(p, kWindowKeys[1]);
  s.WindowSizeStored = ini.HasKey(p, kWindowKeys[2]) || ini.HasKey(p, kWindowKeys[3]);

  s.NoSound = ini.ReadBool(kSectionBoot, "NoSound", fallback.NoSound);
  s.DevMode = ini.ReadBool(kSectionBoot, "DevMode", fallback.DevMode);
  s.UndoLimit = std::max(0, ini.ReadInteger(kSectionBoot, "UndoLimit", fallback.UndoLimit));
  return s;
}

void WriteSettings(IniFile& ini, const Settings& s) {
  const char* m = kSectionMain;
  for (const IntField& f : kIntFields) ini.WriteInteger(m, f.setting->key, s.*f.field);
  for (const BoolField& f : kBoolFields) ini.WriteBool(m, f.key, s.*f.field);
  ini.WriteString(m, kMinColWidthKey, s.MinimamColWidth);
  ini.WriteBool(kSectionPlayView, kActivationClickKey, s.InActiveClickCancel);
  WriteBounds(ini, m, kBmpViewKeys, s.BMPView);
  for (int i = 0; i < kColorCount; ++i) ini.WriteInteger(m, ScoreColorTable[i].key, s.Colors[i]);
  WriteBounds(ini, kSectionPlayView, kWindowKeys, s.Window);
}

UserDefaults ReadUserDefaults(const IniFile& ini) {
  return {ini.ReadString(kSectionMain, kEmailKey, ""), ini.ReadString(kSectionMain, kUrlKey, "")};
}

bool WriteUserDefaults(IniFile& ini, const UserDefaults& user) {
  return ini.WriteString(kSectionMain, kEmailKey, user.email) && ini.WriteString(kSectionMain, kUrlKey, user.url);
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
