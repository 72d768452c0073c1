// Every command carries a long note whole: its end goes where its start goes.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "edit/arrange.h"
#include "edit/selection.h"

namespace beatloom {
namespace {

using Held = std::tuple<int, int, int, int>;  // lane, start, end, end value

std::vector<Held> HeldNotes(const Document& doc) {
  std::vector<Held> out;
  for (const TBmsObject& o : doc.ObjList)
    if (IsLongNote(o)) out.emplace_back(o.Lane, o.Pos, o.EndPos, o.EndValue);
  return out;
}

TEST(LongNoteCommands, EveryCommandCarriesTheEnd) {
  const PasteWindow here{[](int) { return true; }, 0};
  const struct {
    const char* name;
    std::function<void(ChartSession&)> command;
    std::vector<Held> after;
  } cases[] = {
      {"spacing", [](ChartSession& s) { ChangeObjectSpacing(s, {"200", "100", false}); }, {{2, 384, 768, 3}}},
      {"squeezed", [](ChartSession& s) { ChangeObjectSpacing(s, {"1", "1000", false}); }, {{2, 0, 1, 3}}},
      {"mirror", [](ChartSession& s) { MirrorSelected(s); }, {{6, 192, 384, 3}}},
      {"cut and paste", [&](ChartSession& s) {
         CutSelected(s);
         PasteClip(s, here);
       }, {{2, 192, 384, 3}}},
      {"text copy and paste",
       [&](ChartSession& s) { EXPECT_EQ(PasteFromText(s, CopySelectedAsText(s), here), ""); },
       {{2, 192, 384, 3}, {2, 192, 384, 3}}},
      {"text with a broken end",
       [&](ChartSession& s) {
         EXPECT_NE(PasteFromText(s, std::string(kClipboardHeader) + "\r\nL002000192001>000100:3\r\n", here), "");
       },
       {{2, 192, 384, 3}}},
      {"delete", [](ChartSession& s) { DeleteSelected(s); }, {}},
      {"spacing undone",
       [](ChartSession& s) {
         ChangeObjectSpacing(s, {"200", "100", false});
         s.UndoLastChange();
       },
       {{2, 192, 384, 3}}},
  };
  for (const auto& c : cases) {
    ChartSession session;
    Document& doc = session.Doc();
    TBmsObject& o = doc.ObjList[doc.AddObject(2, 192, 1)];
    o.Long = LongByChannel;
    o.EndPos = 384;
    o.EndValue = 3;
    o.Selected = 1;
    c.command(session);
    EXPECT_EQ(HeldNotes(doc), c.after) << c.name;
  }
}

}  // namespace
}  // namespace beatloom
