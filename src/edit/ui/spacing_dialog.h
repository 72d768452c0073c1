#pragma once

#include <QDialog>
#include <optional>

#include "edit/arrange.h"

class QCheckBox;
class QLineEdit;

namespace beatloom {

// "オブジェ間隔の変更": new width over original width, and whether the tempo
// follows. Made once; its fields keep what the author typed last.
class SpacingDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SpacingDialog(QWidget* parent);

  // Waits for the author; nothing unless the dialog was closed with "実行".
  std::optional<SpacingRequest> Ask();

 private:
  QLineEdit* newWidth_ = nullptr;       // Edit1
  QLineEdit* originalWidth_ = nullptr;  // Edit2
  QCheckBox* matchTempo_ = nullptr;     // CheckBox1
};

}  // namespace beatloom
