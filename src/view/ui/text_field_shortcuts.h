#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace beatloom {

// A control that takes typed text: a line or text edit, an editable combo
// box, a spin box.
bool IsTextField(const QWidget* widget);

// Hands the clipboard keys to the text fields of a window. While one of its
// text fields has the focus, the items that would take Ctrl+Z/X/C/V from it
// (undo, cut, copy, paste of score objects) lose their shortcuts, the other
// keys a field edits text with (Ctrl+A selects all) stay the field's, and
// every other menu shortcut stays a menu command. Only the shortcut keys change: the
// enabled state of the items belongs to the commands.
class TextFieldShortcuts : public QObject {
  Q_OBJECT

 public:
  TextFieldShortcuts(QWidget* window, const QList<QAction*>& handedItems, QObject* parent);

  // False while a text field of the window has the focus: the score's keys
  // are then the field's.
  bool ScoreKeysActive() const { return scoreKeysActive_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FocusChanged(QWidget* now);
  void Enter();
  void Exit();
  bool AllHanded() const;
  bool IsMenuShortcut(const QKeySequence& keys) const;

  QWidget* window_;
  // The window takes its menus down before its other children.
  QList<QPointer<QAction>> handed_;
  QList<QList<QKeySequence>> stored_;
  bool scoreKeysActive_ = true;
};

}  // namespace beatloom
