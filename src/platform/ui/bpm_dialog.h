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
  QLineEdit* tempoEdit() const { return tempoEdit_; }
  QPushButton* okButton() const { return okButton_; }

 private:
  QLineEdit* tempoEdit_;
  QPushButton* okButton_;
};

}  // namespace beatloom
