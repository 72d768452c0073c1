#include <gtest/gtest.h>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "edit/definition_lists.h"
#include "edit/search.h"
#include "edit/selection.h"

namespace beatloom {
namespace {

// The author widens a hexadecimal chart, then uses the top of the range.
TEST(Radix, AWidenedChartKeepsItsBytesAndReachesZZ) {
  ChartSession session;
  Document& doc = session.Doc();
  LoadBmsBytes(doc,
               "#WAV01 a.wav\r\n#WAV1A b.wav\r\n#BMP10 c.bmp\r\n#00111:011a\r\n#00104:10\r\n#00103:1A\r\n#00151:1A\r\n"
               "#BPM1A 155.5\r\n#STOP1A 96\r\n#00208:1A\r\n#00209:1A\r\n",
               "t.bms", session.ChartLog());
  session.Clipboard() = {{1, 0, 0x1A, 1, 0}};
  session.Apply({.label = "書き込み"}, [](Document& d) {
    d.AddObject(2, 0, 1);
    return EditOutcome::Changed;
  });
  session.Apply({.modified = ChartEdit::Mark::Clear, .aspects = 0}, [](Document&) { return EditOutcome::Unchanged; });
  const std::string hexText = WriteBmsText(doc, {});

  ASSERT_EQ(ExpandToBase36(session).outcome, EditOutcome::Changed);
  EXPECT_EQ(WriteBmsText(doc, {}), hexText) << "every label stays, the tempos and stop too";
  EXPECT_TRUE(doc.Modified);
  // Widening is a step like any other: undone, the chart is hexadecimal and
  // as saved again.
  ASSERT_TRUE(session.UndoLastChange());
  EXPECT_EQ(doc.indices.Radix(), DefinitionIndex::Hex);
  EXPECT_EQ(WriteBmsText(doc, {}), hexText);
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(session.Clipboard().front().Value, 0x1A) << "1A in hexadecimal again";
  ASSERT_TRUE(session.RedoNextChange());
  EXPECT_EQ(session.Clipboard().front().Value, 46) << "1A in base 36";
  EXPECT_EQ(ExpandToBase36(session).outcome, EditOutcome::Refused);

  const int zz = RowCount(doc, DefinitionKind::Wav) - 1;
  ASSERT_EQ(zz, 1294);
  AssignDefinition(session, DefinitionKind::Wav, zz, "zz.wav");
  doc.AddObject(3, 192, 1295);
  ASSERT_EQ(SwapDefinitions(session, DefinitionKind::Wav, zz, 0).outcome, EditOutcome::Changed);
  const std::string text = WriteBmsText(doc, {});
  for (const char* line : {"#WAV01 zz.wav", "#WAVZZ a.wav", "#00111:ZZ1A", "#00012:ZZ", "#00113:01", "#00151:1A"})
    EXPECT_NE(text.find(std::string(line) + "\r\n"), std::string::npos) << line;
  SearchRequest find{.byIndex = true, .index = "zz"};
  EXPECT_EQ(RunSearch(session, find).matched, 2u) << "typed in base 36, either case";

  const DropPlan drop = PlanDrop(doc, {"/c/b.wav", "/c/a.wav", "/c/c.wav"}, {zz - 1, 0, false, "/c"});
  EXPECT_EQ(drop.wav, (std::vector<std::pair<int, std::string>>{{zz - 1, "a.wav"}, {zz, "b.wav"}}));
  EXPECT_EQ(drop.messages, std::vector<std::string>{"WAVファイルは最大1295個迄しか登録できません"});

  // The clipboard text gives a value from 1000 on a fourth digit; a
  // hexadecimal chart refuses it, while a tempo is a number of its own.
  for (TBmsObject& o : doc.ObjList) o.Selected = o.Lane == 1 && o.Value == 1295;
  const std::string clip = CopySelectedAsText(session);
  EXPECT_EQ(clip, std::string(kClipboardHeader) + "\r\n0010001921295\r\n");
  EXPECT_EQ(ReadClipboardText(clip, doc.indices).objects.at(0).Value, 1295);
  EXPECT_NE(ReadClipboardText(clip).error.find("1～255 の範囲外"), std::string::npos);
  EXPECT_EQ(ReadClipboardText(std::string(kClipboardHeader) + "\r\n0000000000300").numbers, std::vector<double>{300});
}

// A kept line that hexadecimal reads as nothing must not become a definition
// or a tempo once the chart is base 36: "#WAVG" would wipe the real #WAV0G.
TEST(Radix, WideningRefusesAKeptLineBase36WouldReadOtherwise) {
  // (Tempo and stop definitions and cells that only base 36 reads make the
  // chart base 36 when read: they are definitions and objects, not kept lines.)
  const std::vector<std::string> changing = {"#WAVG", "#bmpz"},
                                 staying = {"#WAVG x.wav", "#WAV0_ x", "#00208:0G!!", "#00211:0A0_", "#BPMG 150"};
  for (const bool refused : {true, false})
    for (const std::string& kept : refused ? changing : staying) {
      ChartSession session;
      LoadBmsBytes(session.Doc(), "#WAV01 a.wav\r\n#00111:01\r\n" + kept + "\r\n", "t.bms", session.ChartLog());
      ASSERT_EQ(session.Doc().mcom, std::vector<std::string>{kept});
      const ListOutcome got = ExpandToBase36(session);
      EXPECT_EQ(got.outcome, refused ? EditOutcome::Refused : EditOutcome::Changed) << kept;
      EXPECT_EQ(got.message.find(kept) != std::string::npos, refused) << got.message;
    }
}

}  // namespace
}  // namespace beatloom
