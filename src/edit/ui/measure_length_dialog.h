#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/document.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace beatloom {

class Prompts;

// "小節幅の設定": the length of every measure, one line each, edited a few
// selected lines at a time. Made for one use: it shows the table as it is
// when opened.
class MeasureLengthDialog : public QDialog {
  Q_OBJECT

 public:
  MeasureLengthDialog(const std::array<double, MeasureCount>& lengths, Prompts& prompts, QWidget* parent);

  // Waits for the author: every line as it stands when "OK" closed the
  // dialog, nothing after "Cancel" or closing the window.
  std::optional<std::vector<std::string>> Ask();

 private:
  void LineClicked(QListWidgetItem* item);
  void ChangeClicked();
  void FocusValue();

  Prompts& prompts_;
  std::vector<std::string> lines_;
  QListWidget* list_ = nullptr;     // lb
  QLineEdit* valueEdit_ = nullptr;  // Edit1
};

}  // namespace beatloom
