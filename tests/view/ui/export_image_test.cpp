#include "view/ui/export_image.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QStringList>

#include "bms/bms_reader.h"
#include "support/test_support.h"
#include "view/ui/score_widget.h"

namespace beatloom {
namespace {

const QString Demo = QStringLiteral(BEATLOOM_TEST_DATA "/../../samples/demo.bms");

uint32_t At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

class ExportImageTest : public ::testing::Test {
 protected:
  QString Out(const char* name) const { return QString::fromStdString(dir.file(name)); }

  QImage Export(QStringList options, int expectedStatus = 0) {
    const QString out = Out("score.png");
    QStringList args = {"--export-image", Demo, out};
    args << options;
    EXPECT_EQ(RunExportImage(args), expectedStatus) << args.join(' ').toStdString();
    return QImage(out).convertToFormat(QImage::Format_RGB32);
  }

  test::TempDir dir;
};

TEST_F(ExportImageTest, DefaultsShowTheStartOfTheChart) {
  const QImage image = Export({});
  ASSERT_EQ(image.size(), QSize(800, 600));
  EXPECT_EQ(At(image, 700, 599), 0xFFFFFFu);  // measure line of 000
  EXPECT_EQ(At(image, 700, 408), 0xFFFFFFu);  // of 001
  EXPECT_EQ(At(image, 276, 301), 0xFFFFFFu);  // separator before the background lanes
  EXPECT_EQ(At(image, 78, 301), 0x808080u);   // lane edge of key 2
  EXPECT_EQ(At(image, 27, 595), 0xA0A000u);   // the tempo change to 150 at the start (#00003:96)
}

TEST_F(ExportImageTest, OptionsChangeTheView) {
  struct Case {
    QStringList options;
    QSize size;
    int x, y;
    uint32_t color;
  };
  const std::vector<Case> cases = {
      {{"--size", "640x480"}, {640, 480}, 600, 479, 0xFFFFFF},
      {{"--scroll", "-96"}, {800, 600}, 700, 503, 0xFFFFFF},
      {{"--mode", "2", "--size", "640x480"}, {640, 480}, 222, 301, 0x808080},  // 2P key 2 edge
      {{"--mode", "1", "--size", "640x480"}, {640, 480}, 222, 301, 0x000000},
      {{"--flat"}, {800, 600}, 84, 301, 0x808080},
      {{"--hscroll", "-10"}, {800, 600}, 10, 301, 0xFFFFFF},
      {{"--hscroll", "100000"}, {800, 600}, 948 - 158, 301, 0xFFFFFF},  // clamped to the range
      {{"--grid", "4"}, {800, 600}, 700, 600 - 48, 0x808080},
      {{"--grid", "free"}, {800, 600}, 700, 600 - 36, 0x000000},
      {{"--grid", "1/32"}, {800, 600}, 700, 600 - 6, 0x808080},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.join(' ').toStdString());
    const QImage image = Export(c.options);
    ASSERT_EQ(image.size(), c.size);
    EXPECT_EQ(At(image, c.x, c.y), c.color);
  }
}

TEST_F(ExportImageTest, RefusesBadInput) {
  struct Case {
    QStringList args;
    int status;
  };
  const QString out = Out("x.png");
  const std::vector<Case> cases = {
      {{"--export-image", Demo}, 2},
      {{"--export-image", Demo, out, "--size", "0x10"}, 2},
      {{"--export-image", Demo, out, "--size", "800"}, 2},
      {{"--export-image", Demo, out, "--size"}, 2},
      {{"--export-image", Demo, out, "--mode", "4"}, 2},
      {{"--export-image", Demo, out, "--grid", "5"}, 2},
      {{"--export-image", Demo, out, "--scroll", "up"}, 2},
      {{"--export-image", Demo, out, "--colour"}, 2},
      {{"--export-image", Out("missing.bms"), out}, 1},
      {{"--export-image", Demo, Out("no/such/folder/x.png")}, 1},
      {{"--print"}, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunExportImage(c.args), c.status) << c.args.join(' ').toStdString();
  }
  EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ExportImageTest, SameImageAsTheScoreView) {
  Document doc;
  Log log;
  ASSERT_TRUE(LoadBmsFile(doc, Demo.toStdString(), log));
  ViewSettings settings;
  ScoreWidget widget(doc, settings);
  widget.resize(800, 600);
  widget.show();
  widget.SetScroll(-150, 0);
  EXPECT_EQ(Export({"--scroll", "-150"}), widget.ScoreImage());
}

}  // namespace
}  // namespace beatloom
