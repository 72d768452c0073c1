#include <QDir>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/ui/main_window_fixture.h"
#include "model/chart_file_lookup.h"

namespace beatloom::test {
namespace {

QString Line(QWidget& main, const char* list, int row) { return Control<QListWidget>(main, list).item(row)->text(); }

void DropFiles(QWidget& main, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&main, &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&main, &drop);
  QCoreApplication::processEvents();
}

TEST_F(MainWindowTest, AuthorArrangesTheSoundAndImageListsAndDropsFiles) {
  Quiet();
  const std::string path =
      Chart("a.bms", "#WAV02 b.wav\r\n#WAV03 c.wav\r\n#BMP05 e.bmp\r\n#00111:0002\r\n#00101:0003\r\n#00104:05\r\n");
  auto main = Start();
  ASSERT_TRUE(OpenChart(*main, path));
  auto& wav = Control<QListWidget>(*main, "lbw");

  wav.setCurrentRow(1);
  QTest::mousePress(&Control<QPushButton>(*main, "Button5"), Qt::LeftButton);
  EXPECT_EQ(Line(*main, "lbw", 2), "WAV03:b.wav");
  EXPECT_EQ(wav.currentRow(), 2) << "the selection moves with the file";
  EXPECT_EQ(Doc().ObjList.at(0).Value, 3);
  EXPECT_EQ(Doc().ObjList.at(1).Value, 2);
  EXPECT_TRUE(Doc().Modified);
  ASSERT_TRUE(ChartHistory().CanUndo()) << "a swap is a step like any other";
  EXPECT_EQ(ChartHistory().UndoLabel(), "定義の入れ替え");

  Control<QPushButton>(*main, "Button12").click();
  EXPECT_EQ(Line(*main, "lbw", 2), "WAV03:");
  prompts.fileNames.push_back(QStringLiteral("/elsewhere/new.wav"));
  Control<QPushButton>(*main, "Button11").click();
  EXPECT_EQ(Line(*main, "lbw", 2), "WAV03:new.wav");
  EXPECT_EQ(wav.currentRow(), 2);
  prompts.fileNames.push_back(QStringLiteral("/elsewhere/ü é.wav"));
  Control<QPushButton>(*main, "Button11").click();
  EXPECT_EQ(Line(*main, "lbw", 2), "WAV03:new.wav") << "refused, never stored as \"? ?.wav\"";
  EXPECT_TRUE(prompts.shown.back().text.contains("ü é.wav"));

  wav.setCurrentRow(0);
  const QString folder = QString::fromStdString(charts.path());
  DropFiles(*main, {folder + "/z.wav", folder + "/A.wav", folder + "/song.mid", "/other/p.bmp"});
  EXPECT_EQ(Line(*main, "lbw", 0), "WAV01:A.wav");
  EXPECT_EQ(Line(*main, "lbw", 3), "WAV04:z.wav") << "used lines are skipped";
  EXPECT_EQ(wav.currentRow(), 4);
  EXPECT_EQ(Line(*main, "lbb", 0), "BMP00:p.bmp");
  EXPECT_EQ(Doc().header.e_midif, "song.mid");
  EXPECT_NE(ChartLog().Lines().back().find("/other/p.bmp"), std::string::npos);

  ActionNamed(*main, "BMPWAV1").trigger();
  EXPECT_EQ(Line(*main, "lbb", 1), "BMP01:e.bmp");
  EXPECT_EQ(Doc().ObjList.at(2).Value, 1);
  ActionNamed(*main, "WAVBMPC1").trigger();
  EXPECT_EQ(Line(*main, "lbw", 0), "WAV01:") << "no object uses sound 01";
  EXPECT_EQ(Line(*main, "lbw", 1), "WAV02:c.wav");
  EXPECT_EQ(Line(*main, "lbb", 0), "BMP00:p.bmp");
}

TEST(SoundPreview, PlaysACompressedSoundUnderTheNamedOnesBaseName) {
  TempDir dir;
  WriteFile(dir.file("kept.wav"), "x");
  WriteFile(dir.file("kept.ogg"), "x");
  WriteFile(dir.file("drum.flac"), "x");
  WriteFile(dir.file("bass.ogg"), "x");
  const std::string d = dir.path() + "/";
  EXPECT_EQ(ResolveChartSound(dir.path(), "kept.wav"), d + "kept.wav");
  EXPECT_EQ(ResolveChartSound(dir.path(), "drum.wav"), d + "drum.flac");
  EXPECT_EQ(ResolveChartSound(dir.path(), "bass.wav"), d + "bass.ogg");
  EXPECT_EQ(ResolveChartSound(dir.path(), "none.wav"), "");
}

}  // namespace
}  // namespace beatloom::test
