#include "edit/ui/image_preview.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <atomic>
#include <thread>
#include <tuple>

#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

QImage Shown(TForm5& preview) { return preview.findChild<QWidget*>("PB")->grab().toImage(); }

TEST_F(MainWindowTest, PreviewCaptionLabelPictureAndZoomFollowTheFile) {
  const auto path = [this](const char* name) { return QString::fromStdString(charts.file(name)); };
  // 320 × 240, red but for one blue column at x 32: where it lands shows the
  // offset and the stretch.
  QImage wide(320, 240, QImage::Format_RGB32);
  wide.fill(Qt::red);
  for (int y = 0; y < 240; ++y) wide.setPixel(32, y, qRgb(0, 0, 255));
  ASSERT_TRUE(wide.save(path("wide.bmp"), "BMP"));
  QImage small(64, 32, QImage::Format_RGB32);
  small.fill(Qt::green);
  for (const char* name : {"s.jpg", "s.JPEG", "s.jpe"}) ASSERT_TRUE(small.save(path(name), "JPG"));
  ASSERT_TRUE(small.save(path("x.png"), "PNG"));
  WriteFile(charts.file("bad.jpg"), std::string("\xFF\xD8\x12\x34 no picture"));
  WriteFile(charts.file("a.gif"), "GIF89a");

  const struct {
    const char* name;
    const char* caption;  // "": the full path
    bool notFound;
    QSize picture;
  } cases[] = {{"wide.bmp", "", false, {320, 240}},   {"s.jpg", "", false, {64, 32}},
               {"s.JPEG", "", false, {64, 32}},       {"s.jpe", "", false, {64, 32}},
               {"bad.jpg", ".JPG", true, {256, 256}}, {"a.gif", "", false, {256, 256}},
               {"x.png", "", false, {64, 32}},        {"gone.bmp", ".BMP", true, {256, 256}}};
  Document doc;
  TForm5 preview(doc, {}, nullptr);
  for (const auto& c : cases) {
    preview.LoadImage(path(c.name));
    EXPECT_EQ(preview.windowTitle(), *c.caption ? QString::fromUtf8(c.caption) : path(c.name)) << c.name;
    EXPECT_EQ(preview.findChild<QLabel*>("Label3")->isVisibleTo(&preview), c.notFound) << c.name;
    EXPECT_EQ(preview.Picture().size(), c.picture) << c.name;
  }
  EXPECT_EQ(Shown(preview).pixel(128, 128), qRgb(0, 0, 0));

  // A FIFO named as an image is never opened: a reader waiting on it would
  // hang the window. The writer here frees such a reader and tells of it.
  ASSERT_EQ(mkfifo(charts.file("pipe.bmp").c_str(), 0600), 0);
  std::atomic<bool> done{false}, readerWaited{false};
  std::thread writer([&] {
    for (int fd = -1; !done; std::this_thread::yield())
      if ((fd = ::open(charts.file("pipe.bmp").c_str(), O_WRONLY | O_NONBLOCK)) >= 0) readerWaited = !::close(fd);
  });
  preview.LoadImage(path("pipe.bmp"));
  done = true;
  writer.join();
  EXPECT_FALSE(readerWaited);
  EXPECT_TRUE(preview.findChild<QLabel*>("Label3")->isVisibleTo(&preview));

  preview.LoadImage(path("s.jpg"));  // 64 wide, centred from x 95
  EXPECT_EQ(Shown(preview).pixel(94, 10), qRgb(0, 0, 0));
  EXPECT_GT(qGreen(Shown(preview).pixel(100, 10)), 200);

  preview.LoadImage(path("wide.bmp"));  // drawn from x -32
  EXPECT_EQ(Shown(preview).pixel(0, 10), qRgb(0, 0, 255));
  EXPECT_EQ(Shown(preview).pixel(1, 10), qRgb(255, 0, 0));
  preview.findChild<QAction*>("N211")->trigger();  // the top-left square fills 512 × 512
  EXPECT_EQ(preview.size(), QSize(512, 512));
  EXPECT_FALSE(preview.findChild<QAction*>("N1")->isChecked());
  const QImage twice = Shown(preview);
  for (const auto& [x, y, rgb] : {std::tuple{63, 10, qRgb(255, 0, 0)},
                                  {64, 10, qRgb(0, 0, 255)},
                                  {65, 300, qRgb(0, 0, 255)},
                                  {66, 10, qRgb(255, 0, 0)},
                                  {511, 479, qRgb(255, 0, 0)},
                                  {10, 480, qRgb(0, 0, 0)}})
    EXPECT_EQ(twice.pixel(x, y), rgb) << x << "," << y;
  preview.findChild<QAction*>("N141")->trigger();
  EXPECT_EQ(preview.size(), QSize(64, 64));
}

TEST_F(MainWindowTest, ClickedBmpLineLoadsFromTheChartFolderAndTheButtonsShowAndHide) {
  Quiet();
  QImage pic(40, 30, QImage::Format_RGB32);
  pic.fill(Qt::blue);
  ASSERT_TRUE(pic.save(QString::fromStdString(charts.file("pic.bmp")), "BMP"));
  auto main = Start();
  ASSERT_TRUE(OpenChart(*main, Chart("a.bms", "#BMP01 pic.bmp\r\n")));
  auto& preview = Control<TForm5>(*main, "Form5");
  EXPECT_EQ(preview.windowTitle(), "BMP VIEW");  // the load's own selection loads nothing

  auto& list = Control<QListWidget>(*main, "lbb");
  list.scrollToItem(list.item(1));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
  EXPECT_EQ(preview.windowTitle(), QString::fromStdString(charts.file("pic.bmp")));
  EXPECT_EQ(preview.Picture().pixel(5, 5), qRgb(0, 0, 255));
  EXPECT_FALSE(preview.isVisible());

  Control<QPushButton>(*main, "Button3").click();
  EXPECT_TRUE(preview.isVisible());
  preview.hide();
  ActionNamed(*main, "BMPB1").trigger();
  EXPECT_TRUE(preview.isVisible());
  Control<QTabWidget>(*main, "PC2").setCurrentIndex(1);
  Score(*main).setFocus();
  QTest::keyClick(main.get(), Qt::Key_Slash, Qt::KeypadModifier);  // keypad / hides it
  EXPECT_FALSE(preview.isVisible());
}

}  // namespace
}  // namespace beatloom::test
