#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace beatloom {

// Asks for the tempo of a new tempo change. Enter or "OK" confirms; the
// close box ends it without a tempo. The caller validates the text.
class TBPMSet : public QDialog {
  Q_OBJECT

 public:
  explicit TBPMSet(QWidget* owner);

  QString Text() const;
  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* Button1() const { return button1_; }

 private:
  QLineEdit* edit1_;
  QPushButton* button1_;
};

}  // namespace beatloom
