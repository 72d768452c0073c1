#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace beatloom {

// Asks for the tempo of a new tempo change (decimals allowed), or the length
// of a new stop in 1/192 of a 4/4 measure. Enter or "OK" confirms; the close
// box ends it without a value. The caller validates the text.
class TBPMSet : public QDialog {
  Q_OBJECT

 public:
  enum class Kind { Tempo, Stop };
  explicit TBPMSet(QWidget* owner, Kind kind = Kind::Tempo);

  QString Text() const;
  QLineEdit* tempoEdit() const { return tempoEdit_; }
  QPushButton* okButton() const { return okButton_; }

 private:
  QLineEdit* tempoEdit_;
  QPushButton* okButton_;
};

}  // namespace beatloom
