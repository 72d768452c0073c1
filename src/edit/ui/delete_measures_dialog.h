#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <utility>

class QLineEdit;

namespace beatloom {

// "小節の削除": the first and last measure to delete. Made once; its fields
// keep what the author typed last. Enter cancels as Escape does, so that a
// stray Enter never deletes measures.
class DeleteMeasuresDialog : public QDialog {
  Q_OBJECT

 public:
  explicit DeleteMeasuresDialog(QWidget* parent);

  // Waits for the author: the two fields as typed, nothing unless the dialog
  // was closed with "実行".
  std::optional<std::pair<QString, QString>> Ask();

 private:
  QLineEdit* firstEdit_ = nullptr;  // Edit3
  QLineEdit* lastEdit_ = nullptr;   // Edit4
};

}  // namespace beatloom
