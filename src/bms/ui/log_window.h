#pragma once

#include <QDialog>

#include "bms/log.h"

class QListWidget;
class QPushButton;

namespace beatloom {

// "Result..": the report of the last load or save. Not modal and always on
// top, so the author can keep it beside the score while fixing the lines it
// names.
class LogWindow : public QDialog {
  Q_OBJECT

 public:
  explicit LogWindow(QWidget* parent = nullptr);

  // Shows the lines of the log; the window keeps them until the next call.
  void ShowLines(const Log& log);
  // Brings the window up, centred on the screen the first time.
  void Present();

  QListWidget* lines() const { return lines_; }

 private:
  QListWidget* lines_;
  QPushButton* closeButton_;
  bool placed_ = false;
};

}  // namespace beatloom
