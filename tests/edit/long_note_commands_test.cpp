// Every command carries a long note whole: its end goes where its start goes,
// a measure deletion cuts it short, and it goes only with both ends.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "edit/arrange.h"
#include "edit/measure_ops.h"
#include "edit/search.h"
#include "edit/selection.h"

namespace beatloom {
namespace {

TEST(LongNoteCommands, EveryCommandCarriesTheEnd) {
  using Held = std::tuple<int, int, int, int>;  // lane, start, end, end value
  using S = ChartSession&;
  const PasteWindow here{[](int) { return true; }, 0};
  SearchRequest replace{.byIndex = true, .index = "01", .action = SearchAction::Replace, .replacement = "05"};
  const std::string broken = std::string(kClipboardHeader) + "\r\nL002000288001>000100:3\r\n";
  const struct {
    const char* name;
    std::function<void(S)> command;
    std::vector<Held> after;
  } cases[] = {
      // clang-format off
      {"spacing", [](S s) { ChangeObjectSpacing(s, {"200", "100", false}); }, {{2, 576, 1152, 3}}},
      {"squeezed", [](S s) { ChangeObjectSpacing(s, {"1", "1000", false}); }, {{2, 0, 1, 3}}},
      {"undone", [](S s) { ChangeObjectSpacing(s, {"2", "1", false}), s.UndoLastChange(); }, {{2, 288, 576, 3}}},
      {"mirror", [](S s) { MirrorSelected(s); }, {{6, 288, 576, 3}}},
      {"cut, paste", [&](S s) { CutSelected(s), PasteClip(s, here); }, {{2, 288, 576, 3}}},
      {"text", [&](S s) { PasteFromText(s, CopySelectedAsText(s), here); }, {{2, 288, 576, 3}, {2, 288, 576, 3}}},
      {"bad text", [&](S s) { EXPECT_NE(PasteFromText(s, broken, here), ""); }, {{2, 288, 576, 3}}},
      {"delete", [](S s) { DeleteSelected(s); }, {}},
      {"delete 2", [](S s) { DeleteMeasures(s, {2, 2}); }, {{2, 288, 384, 3}}},
      {"delete 1", [](S s) { DeleteMeasures(s, {1, 1}); }, {{2, 192, 384, 3}}},
      {"delete 1-3", [](S s) { DeleteMeasures(s, {1, 3}); }, {}},
      {"insert 2", [](S s) { InsertMeasure(s, 2); }, {{2, 288, 768, 3}}},
      {"replace", [&](S s) { RunSearch(s, replace); }, {{2, 288, 576, 3}}},
      {"replace, end of the start's sound", [&](S s) { s.Doc().ObjList[0].EndValue = 1, RunSearch(s, replace); },
       {{2, 288, 576, 5}}},
      {"search and delete", [](S s) { RunSearch(s, {.action = SearchAction::Delete}); }, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    ChartSession session;
    Document& doc = session.Doc();
    TBmsObject& o = doc.ObjList[doc.AddObject(2, 288, 1)];
    o.Long = LongByChannel;
    o.EndPos = 576;
    o.EndValue = 3;
    o.Selected = 1;
    c.command(session);
    std::vector<Held> held;
    for (const TBmsObject& h : doc.ObjList)
      if (IsLongNote(h)) held.emplace_back(h.Lane, h.Pos, h.EndPos, h.EndValue);
    EXPECT_EQ(held, c.after) << c.name;
  }
}

}  // namespace
}  // namespace beatloom
