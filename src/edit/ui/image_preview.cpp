#include "edit/ui/image_preview.h"

#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cstring>

#include "edit/jpeg_decoder.h"
#include "model/chart_file_lookup.h"
#include "model/definition_index.h"
#include "model/document.h"
#include "model/file_io.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

constexpr int kActualSize = 256;

struct ZoomItem {
  const char* name;
  const char* caption;
  int clientSize;
};

constexpr ZoomItem kZoomItems[] = {
    {"N311", "3/1", 768}, {"N211", "2/1", 512}, {"N1", "等倍", 256}, {"N121", "1/2", 128}, {"N141", "1/4", 64},
};

// The extension as the file name has it, dot included, upper-cased: "" when
// the name has none.
QString UpperExtension(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot).toUpper();
}

QImage BlankPicture(const QColor& colour) {
  QImage picture(kActualSize, kActualSize, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

}  // namespace

PreviewBox::PreviewBox(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
  setObjectName(QStringLiteral("PB"));
}

void PreviewBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (picture_.isNull()) return;
  if (width() == kActualSize) {
    // Centred when narrower, cut at both sides when wider; the division
    // truncates toward zero as the window always has (320 wide: x -32).
    painter.drawImage(QPoint((255 - picture_.width()) / 2, 0), picture_);
    return;
  }
  // Any other zoom shows the top-left 256 × 256 square, stretched or shrunk
  // pixel by pixel; what of it lies outside a small picture stays black.
  const int w = std::min(kActualSize, picture_.width());
  const int h = std::min(kActualSize, picture_.height());
  const double sx = width() / double(kActualSize);
  const double sy = height() / double(kActualSize);
  painter.drawImage(QRectF(0, 0, w * sx, h * sy), picture_, QRectF(0, 0, w, h));
}

TForm5::TForm5(const Document& doc, const ImagePreviewControls& controls, QWidget* parent)
    : QDialog(parent), doc_(doc), c_(controls) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("BMP VIEW"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  setModal(false);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);

  picture_ = BlankPicture(Qt::black);
  box_ = new PreviewBox(picture_, this);
  notFound_ = new QLabel(QStringLiteral("File Not Found"), box_);
  notFound_->setObjectName(QStringLiteral("Label3"));
  notFound_->setStyleSheet(QStringLiteral("color: white;"));
  notFound_->move(8, 8);
  notFound_->hide();

  zoomMenu_ = new QMenu(this);
  zoomMenu_->setObjectName(QStringLiteral("PopupMenu1"));
  zoomItems_ = new QActionGroup(this);
  for (const ZoomItem& z : kZoomItems) {
    QAction* item = zoomMenu_->addAction(QString::fromUtf8(z.caption));
    item->setObjectName(QString::fromLatin1(z.name));
    item->setCheckable(true);
    item->setChecked(z.clientSize == kActualSize);
    item->setData(z.clientSize);
    zoomItems_->addAction(item);
  }
  connect(zoomItems_, &QActionGroup::triggered, this, &TForm5::ZoomTo);
  box_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(box_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { zoomMenu_->popup(box_->mapToGlobal(at)); });
  SetClientSize(kActualSize);

  if (c_.showButton) connect(c_.showButton, &QPushButton::clicked, this, &TForm5::Present);
  if (c_.showAction) connect(c_.showAction, &QAction::triggered, this, &TForm5::Present);
  if (c_.keyHook) *c_.keyHook = [this](bool show) { show ? Present() : hide(); };
  if (!c_.bmpList) return;
  // A click, the keypad, or a line the author moves to with the keys; a line
  // the program selects (a chart loaded) loads nothing.
  connect(c_.bmpList, &QListWidget::itemClicked, this, &TForm5::LoadSelected);
  connect(c_.bmpList, &QListWidget::currentRowChanged, this, [this] {
    if (c_.bmpList->hasFocus()) LoadSelected();
  });
}

void TForm5::Present() {
  show();
  raise();
}

void TForm5::SetBounds(const QRect& bounds) {
  // The client area, as Bounds reads it back: move() would place the frame
  // on some platforms and the client on others.
  // A size the file never held (or a broken one) keeps the zoom's size.
  if (bounds.width() <= 0 || bounds.height() <= 0) return setGeometry(QRect(bounds.topLeft(), size()));
  setFixedSize(bounds.size());
  setGeometry(bounds);
  box_->setGeometry(rect());
}

void TForm5::ZoomTo(QAction* item) {
  item->setChecked(true);
  SetClientSize(item->data().toInt());
}

void TForm5::SetClientSize(int size) {
  setFixedSize(size, size);
  box_->setGeometry(0, 0, size, size);
}

void TForm5::LoadSelected() {
  const int row = c_.bmpList->currentRow();
  const size_t index = static_cast<size_t>(row) + DefinitionIndex::FirstBmp;
  if (row < 0 || index >= doc_.bmp.size() || doc_.bmp[index].empty() || !c_.chartFolder) return;
  const QString name = QString::fromStdString(ToUtf8(doc_.bmp[index], doc_.encoding));
  const std::string found =
      ResolveChartFile(QFile::encodeName(c_.chartFolder()).toStdString(), QFile::encodeName(name).toStdString());
  // A file not found is still named in the caption, as the chart writes it.
  LoadImage(found.empty() ? QDir(c_.chartFolder()).filePath(name) : QFile::decodeName(found.c_str()));
}

void TForm5::LoadImage(const QString& path) {
  picture_ = QImage();
  const QString extension = UpperExtension(path);
  setWindowTitle(extension);
  const bool bitmap = extension.startsWith(QLatin1String(".BMP"));
  const bool png = extension == QLatin1String(".PNG");
  const bool jpeg = extension.startsWith(QLatin1String(".J"));
  // Read as the chart itself is: only a regular file is opened, so that a
  // FIFO or a device a chart names cannot block the window.
  std::string bytes;
  if ((bitmap || png || jpeg) && !ReadFileBytes(QFile::encodeName(path).toStdString(), bytes)) return NotFound();
  if (bitmap || png) {
    if (!LoadBitmap(bytes, bitmap ? "BMP" : "PNG")) return NotFound();
  } else if (jpeg) {
    std::string error;
    if (!LoadJpeg(bytes, error)) return NotFound(QString::fromStdString(error));
  } else if (extension.startsWith(QLatin1String(".GIF"))) {
    DrawGifNotice();
  } else {
    // No decoder of ours: the caption names the kind, the picture stays empty.
    notFound_->hide();
    box_->update();
    return;
  }
  setWindowTitle(path);
  notFound_->hide();
  box_->update();
}

bool TForm5::LoadBitmap(const std::string& bytes, const char* format) {
  QImage bitmap;
  if (!bitmap.loadFromData(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), format))
    return false;
  picture_ = bitmap.convertToFormat(QImage::Format_RGB32);
  return true;
}

bool TForm5::LoadJpeg(const std::string& bytes, std::string& error) {
  const RgbPicture decoded = DecodeJpeg(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), &error);
  if (decoded.Empty()) return false;
  QImage rgb(decoded.width, decoded.height, QImage::Format_RGB888);
  for (int y = 0; y < decoded.height; ++y)
    std::memcpy(rgb.scanLine(y), &decoded.pixels[static_cast<size_t>(y) * decoded.width * 3],
                static_cast<size_t>(decoded.width) * 3);
  picture_ = rgb.convertToFormat(QImage::Format_RGB32);
  return true;
}

void TForm5::DrawGifNotice() {
  picture_ = BlankPicture(Qt::white);
  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  painter.drawText(QRect(20, 20, kActualSize - 20, kActualSize - 20), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("GIFは表示できません"));
}

void TForm5::NotFound(const QString& why) {
  picture_ = BlankPicture(Qt::black);
  notFound_->setText(why.isEmpty() ? QStringLiteral("File Not Found") : why);
  notFound_->adjustSize();
  notFound_->show();
  box_->update();
}

}  // namespace beatloom
