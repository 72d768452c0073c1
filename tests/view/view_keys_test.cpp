#include "view/view_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace beatloom {
namespace {

struct KeyCase {
  const char* name;
  ViewKey key;
  ViewKeyState state;
  KeyAction expected;
};

ViewKeyState Score(int scroll) { return {.scoreFocused = true, .scroll = scroll}; }
ViewKeyState Elsewhere() { return {.scoreFocused = false, .scroll = -400}; }
ViewKeyState Typing() { return {.scoreKeysActive = false, .scoreFocused = true, .scroll = -400}; }
ViewKeyState Wav(int row) { return {.page = ListPage::Wav, .wavRow = row}; }
ViewKeyState Bmp(int row) { return {.page = ListPage::Bmp, .bmpRow = row}; }

TEST(ViewKeys, EachKeyDecidesByFocusPageAndRow) {
  using C = KeyCommand;
  const KeyCase cases[] = {
      {"page up is a measure up", ViewKey::PageUp, Score(-400), {C::Scroll, -592}},
      {"page down is a measure down", ViewKey::PageDown, Score(-400), {C::Scroll, -208}},
      {"home is measure 000", ViewKey::Home, Score(-400), {C::Scroll, 0}},
      {"end asks past the top", ViewKey::End, Score(0), {C::Scroll, kEndScroll}},
      {"scroll keys need the score", ViewKey::PageUp, Elsewhere(), {}},
      {"a text field keeps delete", ViewKey::Delete, Typing(), {}},
      {"a text field keeps the keypad", ViewKey::PadPlus, Typing(), {}},
      {"delete anywhere else", ViewKey::Delete, Elsewhere(), {C::ClickDelete}},
      {"F5 to the BMP page", ViewKey::F5, Wav(0), {C::SwitchListPage, 1}},
      {"plus steps on", ViewKey::PadPlus, Wav(3), {C::SelectRow, 4}},
      {"plus stops at WAV FF", ViewKey::PadPlus, Wav(254), {C::SelectRow, 254}},
      {"plus from no row", ViewKey::PadPlus, Wav(-1), {C::SelectRow, 0}},
      {"base 62: plus goes past FF",
       ViewKey::PadPlus,
       {.page = ListPage::Wav, .wavRow = 254, .wavCount = 3843},
       {C::SelectRow, 255}},
      {"base 36: plus stops at BMP ZZ",
       ViewKey::PadPlus,
       {.page = ListPage::Bmp, .bmpRow = 1295, .bmpCount = 1296},
       {C::SelectRow, 1295, true}},
      {"BMP plus clicks", ViewKey::PadPlus, Bmp(7), {C::SelectRow, 8, true}},
      {"BMP minus never reaches 00", ViewKey::PadMinus, Bmp(1), {C::SelectRow, 1, true}},
      {"BMP minus from 00 goes to 01", ViewKey::PadMinus, Bmp(0), {C::SelectRow, 1, true}},
      {"star plays the sound", ViewKey::PadStar, Wav(2), {C::ClickList}},
      {"star shows the image", ViewKey::PadStar, Bmp(2), {C::ClickList, 0, false, true}},
      {"slash stops the sound", ViewKey::PadSlash, Wav(2), {C::StopSound}},
      {"slash hides the image", ViewKey::PadSlash, Bmp(2), {C::HidePreview}},
  };
  for (const KeyCase& c : cases) {
    const KeyAction got = DecideKey(c.key, c.state);
    EXPECT_EQ(got.command, c.expected.command) << c.name;
    EXPECT_EQ(got.value, c.expected.value) << c.name;
    EXPECT_EQ(got.thenClick, c.expected.thenClick) << c.name;
    EXPECT_EQ(got.showPreview, c.expected.showPreview) << c.name;
  }
}

TEST(ViewKeys, WheelStepsCollectPartialTurns) {
  struct {
    const char* name;
    std::vector<int> deltas;
    std::vector<int> steps;
  } const cases[] = {
      {"one notch each way", {120, -120}, {1, -1}},
      {"two notches at once", {-240}, {-2}},
      {"fine turns add up", {40, 40, 40, 40}, {0, 0, 1, 0}},
      {"a partial turn back cancels", {60, -60, 60}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    WheelSteps wheel;
    for (size_t i = 0; i < c.deltas.size(); ++i) EXPECT_EQ(wheel.Add(c.deltas[i]), c.steps[i]) << c.name << " " << i;
  }
  EXPECT_EQ(WheelScroll(-400, 1), -448);  // up: toward the top of the chart
  EXPECT_EQ(WheelScroll(-400, -2), -304);
}

}  // namespace
}  // namespace beatloom
