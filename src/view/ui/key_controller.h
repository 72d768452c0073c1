#pragma once

#include <QObject>
#include <functional>

#include "view/view_keys.h"

class QAction;
class QKeyEvent;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QWheelEvent;
class QWidget;

namespace beatloom {

class TextFieldShortcuts;

// The controls the score's keys and the wheel act on.
struct KeyControls {
  QWidget* window = nullptr;
  QWidget* score = nullptr;                   // pb
  QScrollBar* verticalScrollBar = nullptr;    // GSV
  QScrollBar* horizontalScrollBar = nullptr;  // GSH
  QTabWidget* listPages = nullptr;            // PC2: WAV page, BMP page
  QListWidget* wavList = nullptr;             // lbw
  QListWidget* bmpList = nullptr;             // lbb
  QAction* deleteAction = nullptr;            // Delete1
  QPushButton* stopSoundButton = nullptr;     // Button2
};

// Sees every key of the window before its focused control does, and the
// wheel over the score: Page Up/Down, Home, End scroll the score, F5 turns
// the list page, Delete deletes the selection, the keypad keys step through
// and click the shown list. The decisions are DecideKey's.
class KeyController : public QObject {
  Q_OBJECT

 public:
  KeyController(const KeyControls& controls, const TextFieldShortcuts& shortcuts, QObject* parent);

  // The image preview window's show and hide, once there is one.
  std::function<void(bool show)> showImagePreview;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Key(QKeyEvent* event);
  bool Wheel(QObject* watched, QWheelEvent* event);
  bool Run(const KeyAction& action);
  bool ScoreFocused() const;
  ViewKeyState State() const;
  QListWidget* ShownList() const;

  KeyControls c_;
  const TextFieldShortcuts& shortcuts_;
  WheelSteps wheel_;
};

}  // namespace beatloom
