#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace beatloom {

// An integer the settings file keeps for a view control: its key, the range
// of the control and the value of a first start. Both the settings file code
// and the view read these; nothing else may restate them.
struct IntViewSetting {
  const char* key;
  int min;
  int max;
  int defaultValue;
  // A stored value the program never writes is pulled to the nearest end.
  constexpr int Clamp(int v) const { return v < min ? min : (v > max ? max : v); }
};

struct BoolViewSetting {
  const char* key;
  bool defaultValue;
};

// One item of the grid or sub-line selector: its caption and the divisions
// per measure it stands for (0: no lines).
struct GridChoice {
  const char* caption;
  int division;
};

// cb_grid; "Free" snaps to every tick.
inline constexpr std::array<GridChoice, 9> GridChoices = {{
    {"1/4", 4},
    {"1/8", 8},
    {"1/16", 16},
    {"1/32", 32},
    {"1/3", 3},
    {"1/6", 6},
    {"1/12", 12},
    {"1/24", 24},
    {"Free", 192},
}};
// cb_r; "none" draws no sub-lines.
inline constexpr std::array<GridChoice, 10> SubGridChoices = {{
    {"1/2", 2},
    {"1/4", 4},
    {"1/8", 8},
    {"1/16", 16},
    {"1/32", 32},
    {"1/3", 3},
    {"1/6", 6},
    {"1/12", 12},
    {"1/24", 24},
    {"none", 0},
}};
constexpr int GridChoiceCount = static_cast<int>(GridChoices.size());
constexpr int SubGridChoiceCount = static_cast<int>(SubGridChoices.size());

// The three view scroll bars ("表示高さ", "表示幅", "オブジェ") and the two selectors.
inline constexpr IntViewSetting GridHeightSetting{"GridHeight", 96, 728, 192};
inline constexpr IntViewSetting GridWidthSetting{"GridWidth", 4, 20, 6};
inline constexpr IntViewSetting ObjectHeightSetting{"ObjectHeight", 4, 30, 10};
inline constexpr IntViewSetting GridPositionSetting{"GridPosition", 0, GridChoiceCount - 1, 2};           // "1/16"
inline constexpr IntViewSetting SubGridPositionSetting{"SubGridPosition", 0, SubGridChoiceCount - 1, 0};  // "1/2"
// The label and lane-width check items of the view menu.
inline constexpr BoolViewSetting ShowIndexNumverSetting{"ShowIndexNumver", true};
inline constexpr BoolViewSetting ShowFileNameSetting{"ShowFileName", false};
inline constexpr BoolViewSetting FlatObjectWidthSetting{"FlatObjectWidth", false};

// The values the "初期値" buttons put back.
constexpr int DefaultGridHeight = GridHeightSetting.defaultValue;
constexpr int DefaultGridWidth = GridWidthSetting.defaultValue;
constexpr int DefaultObjectHeight = ObjectHeightSetting.defaultValue;

// The swatches of the colour dialog, in its order.
enum class ScoreColor { Background, NoteFont, NoteLine, Grid, SubLine, ColLine1, ColLine2, ZoneFont };
constexpr int ScoreColorCount = 8;

struct ScoreColorInfo {
  const char* key;      // settings key
  const char* label;    // caption of the swatch in the colour dialog
  uint32_t defaultRgb;  // 0xRRGGBB
};

inline constexpr std::array<ScoreColorInfo, ScoreColorCount> ScoreColorTable = {{
    {"Color_Background", "背景", 0x000000},
    {"Color_NoteFont", "小節文字色", 0x585858},
    {"Color_NoteLine", "小節区切り", 0xFFFFFF},
    {"Color_Grid", "グリッド", 0x808080},
    {"Color_SubLine", "補助線", 0xC0C0C0},
    {"Color_ColLine1", "分割線１", 0x808080},
    {"Color_ColLine2", "分割線２", 0xFFFFFF},
    {"Color_ZoneFont", "ゾーン表示", 0x00FF00},
}};

constexpr std::array<uint32_t, ScoreColorCount> DefaultScoreColors() {
  std::array<uint32_t, ScoreColorCount> colors{};
  for (int i = 0; i < ScoreColorCount; ++i) colors[i] = ScoreColorTable[i].defaultRgb;
  return colors;
}

// The settings file keeps colours as Windows colour numbers, red in the low
// byte (#585858 is 5789784, pure blue 16711680). Bits above the three colour
// bytes are ignored.
constexpr uint32_t RgbFromColorRef(int64_t colorRef) {
  const auto v = static_cast<uint32_t>(colorRef & 0xFFFFFF);
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}
constexpr int64_t ColorRefFromRgb(uint32_t rgb) {
  return static_cast<int64_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// What the score view shows and how: the view scroll bars, the grid and
// sub-line choices, the label options, the colours. The main window, the
// colour dialog and the settings file fill it; the renderer and the
// coordinate conversions read it at every render.
struct ViewSettings {
  int GridHeight = GridHeightSetting.defaultValue;             // H: pixels per measure
  int GridWidth = GridWidthSetting.defaultValue;               // W: the lane width unit
  int ObjectHeight = ObjectHeightSetting.defaultValue;         // pixels of an ordinary object
  bool FlatObjectWidth = FlatObjectWidthSetting.defaultValue;  // N26: every key lane 4W wide
  int GridPosition = GridPositionSetting.defaultValue;         // cb_grid item index
  int SubGridPosition = SubGridPositionSetting.defaultValue;   // cb_r item index
  bool ShowIndexNumver = ShowIndexNumverSetting.defaultValue;  // c_dindex: labels on objects
  bool ShowFileName = ShowFileNameSetting.defaultValue;        // N33: labels show file names
  // The cbpmode index the lanes are laid out for. Empty: the chart's own play
  // mode (Document::header.cbpmode), which is what the main window shows.
  std::optional<int> PlayMode;
  std::array<uint32_t, ScoreColorCount> Colors = DefaultScoreColors();  // 0xRRGGBB

  uint32_t Color(ScoreColor which) const { return Colors[static_cast<int>(which)]; }
  void SetColor(ScoreColor which, uint32_t rgb) { Colors[static_cast<int>(which)] = rgb & 0xFFFFFF; }
  void ResetColors() { Colors = DefaultScoreColors(); }

  int PlayModeFor(int chartPlayMode) const { return PlayMode.value_or(chartPlayMode); }
  // The same settings with every number put into the range of its control, so
  // that a hand-edited settings file cannot make a measure zero pixels high.
  ViewSettings Clamped() const;
};

}  // namespace beatloom
