#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <functional>
#include <string>

class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace beatloom {

class Document;

// What shows the preview and what it previews.
struct ImagePreviewControls {
  QListWidget* bmpList = nullptr;                     // lbb: a line the author selects is loaded
  QPushButton* showButton = nullptr;                  // Button3
  QAction* showAction = nullptr;                      // BMPB1
  std::function<void(bool show)>* keyHook = nullptr;  // filled: the keypad's show and hide
  std::function<QString()> chartFolder;               // where the images are looked up
};

// The paint box PB: draws the preview picture by the zoom the window's size
// stands for.
class PreviewBox : public QWidget {
 public:
  explicit PreviewBox(const QImage& picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage& picture_;
};

// The image preview window "BMP VIEW": shows the image of a BMP line so that
// the author can check a BGA frame while placing it. Created once and hidden
// rather than destroyed when closed.
class TForm5 : public QDialog {
  Q_OBJECT

 public:
  TForm5(const Document& doc, const ImagePreviewControls& controls, QWidget* parent);

  // Replaces the picture by the image at path, whatever its state; a file
  // that cannot be read (or is no regular file) leaves a black picture and
  // "File Not Found", a JPEG that does not decode the reason.
  void LoadImage(const QString& path);
  void Present();
  // The client area on the screen, as the settings file keeps it.
  QRect Bounds() const { return geometry(); }
  void SetBounds(const QRect& bounds);
  const QImage& Picture() const { return picture_; }

 private:
  void LoadSelected();
  void ZoomTo(QAction* item);
  void SetClientSize(int size);
  // A black picture with why instead ("File Not Found" when empty).
  void NotFound(const QString& why = QString());
  bool LoadBitmap(const std::string& bytes, const char* format);
  // False, with why, when the file does not decode or is too large.
  bool LoadJpeg(const std::string& bytes, std::string& error);
  void DrawGifNotice();

  const Document& doc_;
  ImagePreviewControls c_;
  QImage picture_;
  PreviewBox* box_ = nullptr;
  QLabel* notFound_ = nullptr;  // Label3
  QMenu* zoomMenu_ = nullptr;   // PopupMenu1
  QActionGroup* zoomItems_ = nullptr;
};

}  // namespace beatloom
