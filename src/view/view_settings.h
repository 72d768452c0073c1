#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace beatloom {

// Ranges and defaults of the three view scroll bars ("表示高さ", "表示幅", "オブジェ").
constexpr int MinGridHeight = 96;
constexpr int MaxGridHeight = 728;
constexpr int DefaultGridHeight = 192;
constexpr int MinGridWidth = 4;
constexpr int MaxGridWidth = 20;
constexpr int DefaultGridWidth = 6;
constexpr int MinObjectHeight = 4;
constexpr int MaxObjectHeight = 30;
constexpr int DefaultObjectHeight = 10;
// cb_grid: "1/4", "1/8", "1/16", "1/32", "1/3", "1/6", "1/12", "1/24", "Free".
constexpr int GridChoiceCount = 9;
constexpr int DefaultGridPosition = 2;
// cb_r: "1/2", "1/4", "1/8", "1/16", "1/32", "1/3", "1/6", "1/12", "1/24", "none".
constexpr int SubGridChoiceCount = 10;
constexpr int DefaultSubGridPosition = 0;

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
uint32_t RgbFromColorRef(int64_t colorRef);
int64_t ColorRefFromRgb(uint32_t rgb);

// What the score view shows and how: the view scroll bars, the grid and
// sub-line choices, the label options, the colours. The main window, the
// colour dialog and the settings file fill it; the renderer and the
// coordinate conversions read it at every render.
struct ViewSettings {
  int GridHeight = DefaultGridHeight;            // H: pixels per measure
  int GridWidth = DefaultGridWidth;              // W: the lane width unit
  int ObjectHeight = DefaultObjectHeight;        // pixels of an ordinary object
  bool FlatObjectWidth = false;                  // N26: every key lane 4W wide
  int GridPosition = DefaultGridPosition;        // cb_grid item index
  int SubGridPosition = DefaultSubGridPosition;  // cb_r item index
  bool ShowIndexNumver = true;                   // c_dindex: labels on objects
  bool ShowFileName = false;                     // N33: labels show file names
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
