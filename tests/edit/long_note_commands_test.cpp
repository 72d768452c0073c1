// Every command carries a long note whole: its end goes where its start goes,
// a measure deletion cuts it short, and it goes only with both ends.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <tuple>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
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

// Random commands on random selections of a chart of long and plain notes:
// no long note ever ends before it starts or past the chart, a save and a
// load give back every note with its end while no two share a lane's time,
// and undoing every step gives back the chart.
TEST(LongNoteCommands, RandomCommandsKeepEveryLongNoteWhole) {
  using Note = std::tuple<int, int, int, bool>;  // lane, start, end (or start), held
  const auto notes = [](const std::vector<TBmsObject>& objects) {
    std::vector<Note> out;
    for (const TBmsObject& o : objects)
      out.emplace_back(o.Lane, o.Pos, IsLongNote(o) ? o.EndPos : o.Pos, IsLongNote(o));
    std::sort(out.begin(), out.end());
    return out;
  };
  const PasteWindow here{[](int) { return true; }, 0};
  int comparedSaves = 0;
  for (unsigned seed = 0; seed < 150; ++seed) {
    std::mt19937 rng(seed);
    ChartSession session;
    Document& doc = session.Doc();
    for (int lane = 1; lane <= 7; ++lane)
      for (int pos = static_cast<int>(rng() % 96); pos < 12 * TicksPerMeasure;
           pos += 12 * static_cast<int>(1 + rng() % 8)) {
        TBmsObject& o = doc.ObjList[doc.AddObject(lane, pos, 1)];
        if (rng() % 2) continue;
        o.Long = LongByChannel;
        o.EndPos = pos + 12 * static_cast<int>(1 + rng() % 16);
        pos = o.EndPos;
      }
    const std::vector<Note> original = notes(doc.ObjList);
    for (int step = 0; step < 8; ++step) {
      // Whole lanes, a lane with its mirror image: a mirror then lays no
      // note over another.
      const unsigned chosen = static_cast<unsigned>(rng());
      for (TBmsObject& o : doc.ObjList) o.Selected = (chosen >> std::min<int>(o.Lane, 8 - o.Lane)) & 1;
      const int measure = static_cast<int>(rng() % 12);
      switch (rng() % 6) {
        case 0:
          DeleteMeasures(session, {measure, measure + static_cast<int>(rng() % 2)});
          break;
        case 1:
          InsertMeasure(session, measure);
          break;
        case 2:
          MirrorSelected(session);
          break;
        case 3:
          ChangeObjectSpacing(session, rng() % 2 ? SpacingRequest{"2", "1", false} : SpacingRequest{"1", "2", false});
          break;
        case 4:
          CutSelected(session), PasteClip(session, here);
          break;
        default:
          session.UndoLastChange();
      }
      for (const TBmsObject& o : doc.ObjList)
        ASSERT_TRUE(!IsLongNote(o) || (EndsAfterStart(o) && o.EndPos < MeasureCount * TicksPerMeasure))
            << seed << " step " << step;
    }
    Document tidy = doc;
    tidy.RemoveDuplicates();
    const std::vector<Note> kept = notes(tidy.ObjList);
    bool overlapping = false;
    for (size_t k = 1; k < kept.size(); ++k)
      overlapping = overlapping || (std::get<0>(kept[k]) == std::get<0>(kept[k - 1]) &&
                                    std::get<1>(kept[k]) <= std::get<2>(kept[k - 1]) && std::get<3>(kept[k - 1]));
    if (!overlapping) {
      Document back;
      Log log;
      LoadBmsBytes(back, WriteBmsText(tidy, {}), "chart", log);
      EXPECT_EQ(notes(back.ObjList), kept) << seed;
      ++comparedSaves;
    }
    while (session.UndoLastChange()) {
    }
    EXPECT_EQ(notes(doc.ObjList), original) << seed;
  }
  EXPECT_GT(comparedSaves, 50) << "the save is compared for most charts";
}

}  // namespace
}  // namespace beatloom
