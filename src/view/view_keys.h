#pragma once

namespace beatloom {

// The keys the main window acts on before the focused control sees them.
enum class ViewKey { Other, PageUp, PageDown, Home, End, F5, Delete, PadPlus, PadMinus, PadStar, PadSlash };

// The page of the definition lists that is shown.
enum class ListPage { Wav, Bmp };

// What a key decision needs to know about the window.
struct ViewKeyState {
  bool scoreKeysActive = true;  // no text field has the focus
  bool scoreFocused = false;    // the score panel has the focus
  int scroll = 0;               // GSV position
  ListPage page = ListPage::Wav;
  int wavRow = -1;  // current rows, -1: none
  int bmpRow = -1;
  int wavCount = 255;
  int bmpCount = 256;
};

enum class KeyCommand {
  None,            // the key goes on to the focused control
  Scroll,          // GSV to value; the bar clamps it into its range
  SwitchListPage,  // the list page value (0 WAV, 1 BMP) is shown
  ClickDelete,     // the Edit menu's delete item is clicked
  SelectRow,       // row value of the shown list becomes current
  ClickList,       // the shown list's click action runs
  StopSound,
  HidePreview,
};

struct KeyAction {
  KeyCommand command = KeyCommand::None;
  int value = 0;
  bool thenClick = false;    // SelectRow: the list's click action runs afterwards
  bool showPreview = false;  // ClickList: the image preview window comes up too
};

// One measure up or down per page key; End asks for far more than any chart
// holds so that the bar stops at its top.
constexpr int kPageScroll = 192;
constexpr int kEndScroll = -999999;
// GSV ticks per wheel step, and the wheel's angle units per step.
constexpr int kWheelScroll = 48;
constexpr int kWheelStepAngle = 120;

KeyAction DecideKey(ViewKey key, const ViewKeyState& state);

// Turns wheel angles into whole steps, keeping what is left of a step from
// fine-grained wheels and touch pads for the next event. Positive steps are
// turns away from the author (up).
class WheelSteps {
 public:
  int Add(int angleDelta);
  void Reset() { rest_ = 0; }

 private:
  int rest_ = 0;
};

// The GSV position after steps up (negative: down): each step up shows 48
// ticks further up the chart, toward the bar's negative end.
constexpr int WheelScroll(int scroll, int stepsUp) { return scroll - stepsUp * kWheelScroll; }

}  // namespace beatloom
