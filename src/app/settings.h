#pragma once

#include <array>
#include <ctime>
#include <string>

#include "app/ini_file.h"
#include "view/view_settings.h"

namespace beatloom {

inline constexpr const char* kSettingsFile = "beatloom.ini";
inline constexpr const char* kSectionMain = "BTLM";
// Whether writing or clicking a note plays its sound (the options dialog's
// choice; on when absent).
inline constexpr const char* kHearNotesKey = "HearNotes";
inline constexpr const char* kSectionPlayView = "PLAYVIEW";
inline constexpr const char* kSectionBoot = "boot";

struct WindowBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowBounds&) const = default;
};

// The score colours as the settings file stores them (Windows colour
// numbers), in the colour dialog's order; the view's colour table is the
// source.
constexpr int kColorCount = ScoreColorCount;
using StoredColors = std::array<int, kColorCount>;
constexpr StoredColors DefaultStoredColors() {
  StoredColors colors{};
  for (int i = 0; i < kColorCount; ++i) colors[i] = static_cast<int>(ColorRefFromRgb(ScoreColorTable[i].defaultRgb));
  return colors;
}

// Everything the program keeps in the settings file between runs. The
// defaults are those of a first start.
struct Settings {
  // BTLM
  int GridPosition = GridPositionSetting.defaultValue;
  int SubGridPosition = SubGridPositionSetting.defaultValue;
  int GridHeight = GridHeightSetting.defaultValue;
  int GridWidth = GridWidthSetting.defaultValue;
  int ObjectHeight = ObjectHeightSetting.defaultValue;
  bool ShowIndexNumver = ShowIndexNumverSetting.defaultValue;
  bool ShowFileName = ShowFileNameSetting.defaultValue;
  bool ShowDirectInputBox = true;
  bool ShowSettingWindow = true;
  bool FlatObjectWidth = FlatObjectWidthSetting.defaultValue;
  bool WavBmpDropOverWrite = true;
  bool DebugingSave = true;
  std::string MinimamColWidth = "1";
  WindowBounds BMPView{0, 0, 256, 256};
  StoredColors Colors = DefaultStoredColors();
  std::string UserSettingEMAIL;
  std::string UserSettingURL;
  // PLAYVIEW
  bool InActiveClickCancel = true;
  WindowBounds Window{0, 0, 573, 577};
  // Whether the file held a window position, and a size, at all; without a
  // position the window opens centred on the screen.
  bool WindowPositionStored = false;
  bool WindowSizeStored = false;
  // boot
  bool NoSound = false;
  bool DevMode = false;
  // How many steps the edit history keeps; 0 keeps every step.
  int UndoLimit = 0;

  bool operator==(const Settings&) const = default;
};

// Reads every key; a missing or unusable key keeps the value of fallback, and
// values outside their control's range are clamped.
Settings ReadSettings(const IniFile& ini, const Settings& fallback);

// The shutdown write: view options, check boxes, preview window, colours and
// main window bounds, in the order the settings file keeps them. The e-mail
// and URL belong to the options dialog and boot keys are never written.
void WriteSettings(IniFile& ini, const Settings& settings);

// %EMAIL and %URL of every new chart, as the options dialog stored them;
// empty when absent.
struct UserDefaults {
  std::string email;
  std::string url;
};
UserDefaults ReadUserDefaults(const IniFile& ini);
// The options dialog's write; false when the settings file refused it.
bool WriteUserDefaults(IniFile& ini, const UserDefaults& user);

// Days since 30 December 1899 with the time of day as fraction: the form the
// "lastboot" stamp has always had.
double DateSerial(std::time_t when);
std::string FormatDateSerial(double serial, char decimalPoint);
void WriteLastBoot(IniFile& ini, std::time_t when, char decimalPoint);

}  // namespace beatloom
