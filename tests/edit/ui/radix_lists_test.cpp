#include <QListWidget>
#include <QMenu>

#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

QString Line(QWidget& main, const char* list, int row) { return Control<QListWidget>(main, list).item(row)->text(); }

TEST_F(MainWindowTest, AuthorWidensAHexadecimalChartToBase36) {
  Quiet();
  const std::string path = Chart("a.bms", "#WAV1A b.wav\r\n#BMP10 c.bmp\r\n#00111:1A\r\n#00104:10\r\n");
  auto main = Start();
  ASSERT_TRUE(OpenChart(*main, path));
  auto& wav = Control<QListWidget>(*main, "lbw");
  auto& expand = ActionNamed(*main, "IndexBase36");
  wav.setCurrentRow(0x1A - 1);

  prompts.answers = {Prompts::Answer::No};
  expand.trigger();
  EXPECT_EQ(wav.count(), 255) << "declined: nothing changes";
  EXPECT_FALSE(Doc().Modified);

  prompts.answers = {Prompts::Answer::Yes};
  expand.trigger();
  EXPECT_NE(prompts.shown.back().text.indexOf("Ctrl+Z"), -1) << "the question says how to take it back";
  EXPECT_EQ(wav.count(), 1295);
  EXPECT_EQ(Control<QListWidget>(*main, "lbb").count(), 1296);
  EXPECT_EQ(Line(*main, "lbw", wav.currentRow()), "WAV1A:b.wav") << "the selection keeps its label";
  EXPECT_EQ(Line(*main, "lbb", 36), "BMP10:c.bmp");
  EXPECT_EQ(Line(*main, "lbw", 1294), "WAVZZ:");
  EXPECT_TRUE(Doc().Modified);
  EXPECT_TRUE(ActionNamed(*main, "K17").isEnabled()) << "widening is a step like any other";

  // Already base 36: the File menu offers it no more.
  emit qobject_cast<QMenu*>(expand.associatedObjects().front())->aboutToShow();
  EXPECT_FALSE(expand.isEnabled());
}

}  // namespace
}  // namespace beatloom::test
