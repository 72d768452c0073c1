// Random editing sessions on a base-36 chart with kept lines and on a
// hexadecimal one: undoing every step gives the chart's bytes as loaded,
// redoing every step the bytes before the undos, and after any step the
// modified mark is clear only while the chart saves to the file's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "edit/arrange.h"
#include "edit/definition_lists.h"
#include "edit/measure_ops.h"
#include "edit/selection.h"

namespace beatloom {
namespace {

const char* const kCharts[] = {
    "#TITLE base\r\n#WAV01 a.wav\r\n#WAV0Z z.wav\r\n#WAVZZ last.wav\r\n#BMP0A b.bmp\r\n#BPM01 150\r\n"
    "#00111:010Z\r\n#00212:ZZ01\r\n#00151:0Z00\r\n#IF 1\r\n#00311:01\r\n#ENDIF\r\n#00404:0A\r\n#00202:0.75\r\n",
    "#TITLE hex\r\n#WAV01 a.wav\r\n#WAV02 b.wav\r\n#WAVFF c.wav\r\n#BMP01 p.bmp\r\n"
    "#00111:0102\r\n#00116:FF00\r\n#00301:0102\r\n#00503:78\r\n#00203:0.5\r\n",
};

struct Sandbox {
  explicit Sandbox(unsigned seed) : random(seed) {}
  std::mt19937 random;
  ChartSession session;
  Document& doc = session.Doc();
  std::string file;

  int Any(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
  std::string Bytes() const { return WriteBmsText(doc, {}); }
  void SelectSome() {
    session.Apply({.modified = ChartEdit::Mark::Leave}, [&](Document& d) {
      for (TBmsObject& o : d.ObjList) o.Selected = Any(3) == 0;
      return EditOutcome::Changed;
    });
  }
  void Save() {
    session.Apply({.label = "保存前の整理", .modified = ChartEdit::Mark::Leave}, [](Document& d) {
      TidyForSave(d, {});
      return EditOutcome::Changed;
    });
    file = Bytes();
    session.Apply({.modified = ChartEdit::Mark::Clear, .aspects = 0}, [](Document&) { return EditOutcome::Unchanged; });
  }
  void RandomCommand() {
    const int lane = 1 + Any(8), pos = Any(6) * 96;
    switch (Any(14)) {
      case 0: {  // a mouse write: what stood on the spot goes
        ChartEdit edit{.label = "書き込み", .objects = ChartEdit::Objects::Appended};
        for (int i = 0; i <= doc.ObjLast(); ++i)
          if (doc.ObjList[i].Lane == lane && doc.ObjList[i].Pos == pos) edit.remove.push_back(i);
        session.Apply(edit, [&](Document& d) {
          d.AddObject(lane, pos, 1 + Any(2));
          return EditOutcome::Changed;
        });
        break;
      }
      case 1:  // a mouse drag of the selection, one step
        SelectSome();
        session.BeginGesture([] {});
        session.Apply({.label = "移動", .inGesture = true}, [&](Document& d) {
          for (TBmsObject& o : d.ObjList)
            if (o.Selected) o.Pos += 48;
          return EditOutcome::Changed;
        });
        session.EndGesture("移動");
        break;
      case 2:
        SelectSome(), DeleteSelected(session);
        break;
      case 3:
        SelectSome(), CutSelected(session);
        break;
      case 4:
        SelectSome(), CopySelected(session), PasteClip(session, {[](int) { return true; }, 0});
        break;
      case 5:
        InsertMeasure(session, Any(5));
        break;
      case 6:
        DeleteMeasures(session, {Any(5), Any(5)});
        break;
      case 7:
        session.Apply({.label = "ヘッダの編集", .aspects = kChartHeader}, [&](Document& d) {
          d.header.e_title += "x";
          d.mcom.push_back("#00" + std::to_string(Any(5)) + "99:01");
          return EditOutcome::Changed;
        });
        break;
      case 8:
        SwapDefinitions(session, DefinitionKind::Wav, Any(3), Any(3));
        break;
      case 9:
        CompactDefinitions(session);
        break;
      case 10:
        ReleaseUnusedDefinitions(session);
        break;
      case 11:
        SelectSome(), MirrorSelected(session);
        break;
      case 12:
        Save();
        break;
      case 13:  // the source editor reads the chart back in another order
        session.Apply({.label = "ソースのダイレクト編集"}, [&](Document& d) {
          std::shuffle(d.ObjList.begin(), d.ObjList.end(), random);
          return EditOutcome::Changed;
        });
        break;
    }
    if (!doc.Modified) {
      EXPECT_EQ(Bytes(), file) << "unmarked, yet not what the file holds";
    }
    if (Bytes() != file) {
      EXPECT_TRUE(doc.Modified);
    }
  }
};

TEST(HistoryProperty, UndoingEverythingGivesTheLoadedBytesAndRedoingEverythingTheEdited) {
  for (const char* chart : kCharts) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
      Sandbox s(seed);
      LoadBmsBytes(s.doc, chart, "p.bms", s.session.ChartLog());
      s.session.Apply({.modified = ChartEdit::Mark::Clear, .replaced = ChartReplaced::Loaded},
                      [](Document&) { return EditOutcome::Changed; });
      s.file = s.Bytes();
      const std::string loaded = s.file;
      for (int i = 0; i < 30; ++i) s.RandomCommand();
      const std::string edited = s.Bytes();
      while (s.session.UndoLastChange()) {
      }
      EXPECT_EQ(s.Bytes(), loaded) << seed;
      while (s.session.RedoNextChange()) {
      }
      EXPECT_EQ(s.Bytes(), edited) << seed;
    }
  }
}

}  // namespace
}  // namespace beatloom
