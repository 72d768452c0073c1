#include "edit/definition_lists.h"

#include <gtest/gtest.h>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace beatloom {
namespace {

std::vector<int> Values(const std::vector<TBmsObject>& objects) {
  std::vector<int> values;
  for (const TBmsObject& o : objects) values.push_back(o.Value);
  return values;
}

TBmsObject Obj(int lane, int value) {
  return TBmsObject(lane, 0, value);
}

TEST(DefinitionLists, SwapRenumbersOnlyTheLanesOfItsList) {
  const struct {
    const char* name;
    DefinitionKind kind;
    int a, b;  // rows
    std::vector<TBmsObject> objects;
    std::vector<int> after;
    std::vector<std::string> keptAfter;
  } cases[] = {
      // clang-format off
      {"wav 02/03: notes, bgm, tempo untouched", DefinitionKind::Wav, 1, 2,
       {Obj(1, 2), Obj(22, 3), Obj(0, 2), Obj(19, 2), Obj(40, 3)}, {3, 2, 2, 2, 2},
       {"#00111:0302", "#00104:0506", "#00155:01ZZ"}},
      {"bmp 05/06: note with 05 keeps it", DefinitionKind::Bmp, 5, 6,
       {Obj(19, 5), Obj(20, 6), Obj(21, 5), Obj(3, 5)}, {6, 5, 6, 5},
       {"#00111:0203", "#00104:0605", "#00155:01ZZ"}},
      {"bmp 00 never moves", DefinitionKind::Bmp, 0, 1, {Obj(19, 0), Obj(19, 1)}, {0, 1},
       {"#00111:0203", "#00104:0506", "#00155:01ZZ"}},
      {"wav beyond the last row", DefinitionKind::Wav, 254, 255, {Obj(1, 255)}, {255},
       {"#00111:0203", "#00104:0506", "#00155:01ZZ"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChartSession session;
    Document& doc = session.Doc();
    NamesOf(doc, c.kind)[IndexOfRow(c.kind, c.a)] = "a.x";
    doc.ObjList = c.objects;
    session.Clipboard() = c.objects;
    // Channel 55 cannot be read but surely names none of the rows: it may stay.
    doc.mcom = {"#00111:0203", "#00104:0506", "#00155:01ZZ"};
    const std::vector<std::string> keptBefore = doc.mcom;
    const std::vector<std::string> namesBefore = NamesOf(doc, c.kind);
    EXPECT_EQ(SwapDefinitions(session, c.kind, c.a, c.b).outcome, EditOutcome::Changed);
    EXPECT_EQ(Values(doc.ObjList), c.after);
    EXPECT_EQ(Values(session.Clipboard()), c.after);
    EXPECT_EQ(doc.mcom, c.keptAfter);
    const bool moved = c.after != Values(c.objects);
    EXPECT_EQ(NamesOf(doc, c.kind)[IndexOfRow(c.kind, moved ? c.b : c.a)], "a.x");
    // The swap is a step like any other: names, notes and kept lines go back
    // together. A swap that changed nothing makes none.
    const bool changed = moved || doc.mcom != keptBefore || NamesOf(doc, c.kind) != namesBefore;
    EXPECT_EQ(doc.Modified, changed);
    EXPECT_EQ(session.UndoLastChange(), changed);
    EXPECT_EQ(Values(doc.ObjList), Values(c.objects));
    EXPECT_EQ(Values(session.Clipboard()), Values(c.objects)) << "the clipboard names the same sounds again";
    EXPECT_EQ(doc.mcom, keptBefore);
    EXPECT_EQ(NamesOf(doc, c.kind)[IndexOfRow(c.kind, c.a)], "a.x");
    EXPECT_EQ(session.RedoNextChange(), changed);
    EXPECT_EQ(Values(session.Clipboard()), c.after);
  }
}

TEST(DefinitionLists, UnreadableKeptLineRefusesSwapAndCompaction) {
  ChartSession session;
  Document& doc = session.Doc();
  doc.wav[4] = "d.wav";
  doc.mcom = {"#00112:0004X"};
  session.Apply({.label = "older"}, [](Document& d) {
    d.ObjList = {Obj(1, 4)};
    return EditOutcome::Changed;
  });
  doc.Modified = false;
  const ListOutcome swap = SwapDefinitions(session, DefinitionKind::Wav, 3, 4);
  EXPECT_EQ(swap.outcome, EditOutcome::Refused);
  EXPECT_NE(swap.message.find("#00112:0004X"), std::string::npos);
  EXPECT_EQ(CompactDefinitions(session).outcome, EditOutcome::Refused);
  EXPECT_EQ(Values(doc.ObjList), std::vector<int>{4});
  EXPECT_EQ(doc.wav[4], "d.wav");
  EXPECT_FALSE(doc.Modified);
  EXPECT_TRUE(session.ChartHistory().CanUndo());
}

TEST(DefinitionLists, CompactionClosesGapsAndKeepsUsedEmptyIndices) {
  ChartSession session;
  Document& doc = session.Doc();
  doc.wav[1] = "one.wav";
  doc.wav[4] = "four.wav";
  doc.wav[9] = "nine.wav";
  doc.bmp[0] = "miss.bmp";
  doc.bmp[3] = "three.bmp";
  doc.ObjList = {Obj(1, 4), Obj(22, 7), Obj(2, 9), Obj(19, 3), Obj(0, 9)};
  doc.mcom = {"#00216:000709"};
  EXPECT_EQ(CompactDefinitions(session).outcome, EditOutcome::Changed);
  EXPECT_EQ(Values(doc.ObjList), (std::vector<int>{2, 3, 4, 1, 9}));
  const std::vector<std::string> wav(doc.wav.begin(), doc.wav.begin() + 6);
  EXPECT_EQ(wav, (std::vector<std::string>{"", "one.wav", "four.wav", "", "nine.wav", ""}));
  EXPECT_EQ(doc.bmp[0], "miss.bmp");
  EXPECT_EQ(doc.bmp[1], "three.bmp");
  EXPECT_EQ(doc.bmp[3], "");
  EXPECT_EQ(doc.mcom, std::vector<std::string>{"#00216:000304"});
  EXPECT_TRUE(doc.Modified);
}

// Compaction as a run of the ▲/▼ exchanges, one gap at a time.
std::optional<std::string> CompactOneSwapAtATime(Document& doc, std::vector<TBmsObject>& clip) {
  std::vector<Renumbering> swaps;
  Document work = doc;
  for (const DefinitionKind kind : {DefinitionKind::Wav, DefinitionKind::Bmp}) {
    auto& names = NamesOf(work, kind);
    for (const TBmsObject& o : work.ObjList)
      if (LaneUsesKind(kind, o.Lane) && o.Value < names.size() && names[o.Value].empty() &&
          o.Value >= IndexOfRow(kind, 0))
        names[o.Value] = kCompactPlaceholder;
    const int last = RowCount(work, kind) - 1;
    for (int p = kind == DefinitionKind::Bmp ? 1 : 0; p < last; ++p) {
      if (!names[IndexOfRow(kind, p)].empty()) continue;
      int k = p + 1;
      while (k <= last && names[IndexOfRow(kind, k)].empty()) ++k;
      if (k > last) break;
      if (auto error = SwapInDocument(work, kind, k, p, &swaps)) return error;
    }
    for (std::string& name : names)
      if (name == kCompactPlaceholder) name.clear();
  }
  doc = std::move(work);
  for (const Renumbering& r : swaps) r.Apply(clip, false);
  return std::nullopt;
}

// Random charts, some with kept lines that cannot be renumbered, some with
// kept cells naming indices without a file: one pass gives what the
// exchanges one by one give, refusals and their messages included.
TEST(DefinitionLists, CompactionEqualsOneExchangeAtATime) {
  std::mt19937 rng(7);
  const int lanes[] = {0, 1, 12, 19, 21, 22, 40};
  for (int round = 0; round < 300; ++round) {
    Document doc;
    if (round % 3 == 1) doc.indices = DefinitionIndex(DefinitionIndex::Base36);
    doc.wav.assign(static_cast<size_t>(doc.indices.WavSlots()), "");
    doc.bmp.assign(static_cast<size_t>(doc.indices.BmpSlots()), "");
    for (int v = 0; v < 40; ++v) {
      if (rng() % 3 == 0) doc.wav[static_cast<size_t>(v)] = "s" + std::to_string(v);
      if (rng() % 3 == 0) doc.bmp[static_cast<size_t>(v)] = "i" + std::to_string(v);
    }
    std::vector<TBmsObject> clip;
    for (int i = 0; i < 30; ++i)
      (i % 3 ? doc.ObjList : clip).push_back(Obj(lanes[rng() % 7], static_cast<int>(rng() % 44)));
    for (const char* channel : {"01", "04", "15", "03"}) {
      std::string line = std::string("#00") + std::to_string(rng() % 10) + channel + ":";
      for (int c = 0; c < 4; ++c) line += doc.indices.Format(static_cast<int>(rng() % 44));
      if (round % 7 == 0 && channel[1] == '1') line += "X";  // unreadable
      doc.mcom.push_back(line);
    }
    Document expected = doc;
    std::vector<TBmsObject> expectedClip = clip;
    const std::optional<std::string> expectedError = CompactOneSwapAtATime(expected, expectedClip);
    std::vector<Renumbering> renumbered;
    EXPECT_EQ(CompactInDocument(doc, &renumbered), expectedError) << round;
    for (const Renumbering& r : renumbered) r.Apply(clip, false);
    EXPECT_EQ(doc.wav, expected.wav) << round;
    EXPECT_EQ(doc.bmp, expected.bmp) << round;
    EXPECT_EQ(doc.ObjList, expected.ObjList) << round;
    EXPECT_EQ(clip, expectedClip) << round;
    EXPECT_EQ(doc.mcom, expected.mcom) << round;
  }
}

TEST(DefinitionLists, ReleaseKeepsUsedDefinitionsAndImageZero) {
  ChartSession session;
  Document& doc = session.Doc();
  doc.wav = {"", "", "used.wav", "bmp-lane.wav", "long.wav", "odd.wav", "tempo.wav", "if.wav", "end.wav"};
  doc.bmp = {"miss.bmp", "", "note-lane.bmp", "used.bmp", "layer.bmp", "free.bmp"};
  doc.ObjList = {Obj(5, 2), Obj(19, 3), Obj(7, 2)};
  // A long note whose end cell alone names 08.
  doc.ObjList[2].Long = LongByChannel;
  doc.ObjList[2].EndValue = 8;
  // Kept lines name definitions too: a long note, an odd line that may hold
  // 05 at any offset, a branch's note and layer; a tempo index names none.
  doc.mcom = {"#00151:0004", "#00311:005", "#00108:06", "#IF 1", "#00216:07", "#00207:04", "#ENDIF"};
  EXPECT_EQ(ReleaseUnusedDefinitions(session), EditOutcome::Changed);
  EXPECT_EQ(doc.wav,
            (std::vector<std::string>{"", "", "used.wav", "", "long.wav", "odd.wav", "", "if.wav", "end.wav"}));
  EXPECT_EQ(doc.bmp, (std::vector<std::string>{"miss.bmp", "", "", "used.bmp", "layer.bmp", ""}));
  EXPECT_TRUE(session.ChartHistory().CanUndo());
}

// The #LNOBJ index (03, no sound of its own) moves with its row and nothing
// moves onto it: swapped or compacted, the chart still holds one long note
// after a save and a load, and only plain notes besides.
TEST(DefinitionLists, TheEndMarkOfLongNotesFollowsItsIndex) {
  const std::function<void(ChartSession&)> moves[] = {
      [](ChartSession& s) { SwapDefinitions(s, DefinitionKind::Wav, 1, 2); },
      [](ChartSession& s) { CompactDefinitions(s); },
  };
  for (const auto& move : moves) {
    ChartSession session;
    Log log;
    LoadBmsBytes(session.Doc(), "#WAV01 a.wav\r\n#WAV02 b.wav\r\n#WAV04 d.wav\r\n#LNOBJ 03\r\n"
                                "#00111:0103\r\n#00211:0204\r\n#00311:0402\r\n", "chart", log);
    move(session);
    Document back;
    LoadBmsBytes(back, WriteBmsText(session.Doc(), {}), "chart", log);
    std::vector<std::pair<int, bool>> notes;
    for (const TBmsObject& o : back.ObjList) notes.emplace_back(o.Pos, IsLongNote(o));
    EXPECT_EQ(notes, (std::vector<std::pair<int, bool>>{{192, true}, {384, false}, {480, false}, {576, false}, {672, false}}));
  }
}

TEST(DefinitionLists, DropFillsRowsInNameOrder) {
  using Rows = std::vector<std::pair<int, std::string>>;
  const struct {
    const char* name;
    std::vector<std::string> paths;
    DropStart start;
    Rows wav, bmp;
    std::vector<std::string> messages;
    std::optional<std::string> chart;
    std::vector<std::string> leftOut;
  } cases[] = {
      // clang-format off
      {"used 02 skipped", {"/c/b.wav", "/c/A.WAV"}, {0, 1, true, "/c"}, {{0, "A.WAV"}, {2, "b.wav"}}, {}, {}, {}, {}},
      {"check box off", {"/c/b.wav", "/c/a.wav"}, {0, 1, false, "/c"}, {{0, "a.wav"}, {1, "b.wav"}}, {}, {}, {}, {}},
      {"a chart wins", {"/c/z.bme", "/c/a.wav"}, {0, 1, true, "/c"}, {}, {}, {}, "/c/z.bme", {}},
      {"images by extension", {"/c/p.jpe", "/c/q.gif", "/c/x.png", "/c/y.bmp"}, {0, 1, true, "/c"}, {},
       {{1, "p.jpe"}, {2, "q.gif"}, {4, "x.png"}, {5, "y.bmp"}}, {}, {}, {}},
      {"sounds by extension", {"/c/a.ogg", "/c/b.flac", "/c/c.mp3", "/c/kick.wav.asd", "/c/pack.bms.d/d.wav"},
       {0, 1, true, ""}, {{0, "a.ogg"}, {2, "b.flac"}, {3, "c.mp3"}, {4, "d.wav"}}, {}, {}, {}, {"/c/kick.wav.asd"}},
      {"wav capacity", {"/c/a.wav", "/c/b.wav", "/c/c.wav"}, {253, 255, true, "/c"}, {{253, "a.wav"}}, {},
       {kWavCapacityMessage}, {}, {}},
      {"the empty last line takes one", {"/c/a.bmp", "/c/b.bmp"}, {0, 255, true, "/c"}, {}, {{255, "a.bmp"}},
       {kBmpCapacityMessage}, {}, {}},
      {"a name Shift_JIS cannot hold", {"/c/ü é.wav", "/c/b.wav"}, {0, 1, true, "/c"}, {{0, "b.wav"}}, {},
       {kUnencodableNameMessage + std::string("\n/c/ü é.wav")}, {}, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Document doc;
    doc.wav[2] = "used.wav";
    doc.wav[255] = "last.wav";
    doc.bmp[3] = "used.bmp";
    const DropPlan plan = PlanDrop(doc, c.paths, c.start);
    EXPECT_EQ(plan.wav, c.wav);
    EXPECT_EQ(plan.bmp, c.bmp);
    EXPECT_EQ(plan.messages, c.messages);
    EXPECT_EQ(plan.chart, c.chart);
    EXPECT_EQ(plan.leftOut, c.leftOut);
  }
  const DropPlan last = PlanDrop(Document(), {"/c/a.wav"}, {254, 1, true, "/c"});
  EXPECT_TRUE(last.wav == (Rows{{254, "a.wav"}}) && last.messages.empty()) << "an empty WAV FF takes a sound";
}

}  // namespace
}  // namespace beatloom
