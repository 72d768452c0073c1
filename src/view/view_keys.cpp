#include "view/view_keys.h"

#include <algorithm>

namespace beatloom {

namespace {

// The BMP list's entry 00 is never reached by stepping down, so that the keys
// cannot pick the image that means "none". The lists end where the chart's
// radix ends.
constexpr int kFirstSteppedBmpRow = 1;

KeyAction ScrollTo(int value) { return {KeyCommand::Scroll, value}; }

KeyAction ListKey(ViewKey key, const ViewKeyState& s) {
  const bool wav = s.page == ListPage::Wav;
  const int row = wav ? s.wavRow : s.bmpRow;
  const int last = (wav ? s.wavCount : s.bmpCount) - 1;
  const int first = wav ? 0 : kFirstSteppedBmpRow;
  switch (key) {
    case ViewKey::PadPlus:
      if (last < 0) return {};
      return {KeyCommand::SelectRow, std::clamp(row + 1, 0, last), !wav};
    case ViewKey::PadMinus:
      if (last < first) return {};
      return {KeyCommand::SelectRow, std::clamp(row - 1, first, last), !wav};
    case ViewKey::PadStar:
      return {KeyCommand::ClickList, 0, false, !wav};
    case ViewKey::PadSlash:
      return {wav ? KeyCommand::StopSound : KeyCommand::HidePreview};
    default:
      return {};
  }
}

}  // namespace

KeyAction DecideKey(ViewKey key, const ViewKeyState& s) {
  if (!s.scoreKeysActive) return {};
  switch (key) {
    case ViewKey::PageUp:
      return s.scoreFocused ? ScrollTo(s.scroll - kPageScroll) : KeyAction{};
    case ViewKey::PageDown:
      return s.scoreFocused ? ScrollTo(s.scroll + kPageScroll) : KeyAction{};
    case ViewKey::Home:
      return s.scoreFocused ? ScrollTo(0) : KeyAction{};
    case ViewKey::End:
      return s.scoreFocused ? ScrollTo(kEndScroll) : KeyAction{};
    case ViewKey::F5:
      return {KeyCommand::SwitchListPage, s.page == ListPage::Wav ? 1 : 0};
    case ViewKey::Delete:
      return {KeyCommand::ClickDelete};
    case ViewKey::PadPlus:
    case ViewKey::PadMinus:
    case ViewKey::PadStar:
    case ViewKey::PadSlash:
      return ListKey(key, s);
    case ViewKey::Other:
      break;
  }
  return {};
}

int WheelSteps::Add(int angleDelta) {
  rest_ += angleDelta;
  // Truncation toward zero keeps the partial step of either direction.
  const int steps = rest_ / kWheelStepAngle;
  rest_ -= steps * kWheelStepAngle;
  return steps;
}

}  // namespace beatloom
