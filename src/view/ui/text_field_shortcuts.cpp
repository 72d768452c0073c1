#include "view/ui/text_field_shortcuts.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

namespace beatloom {

bool IsTextField(const QWidget* widget) {
  if (!widget) return false;
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->isEditable();
  if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) return !plain->isReadOnly();
  return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

namespace {

// Keys a field edits its own text with. A menu item that also has one (Save
// As on Ctrl+A, Delete on Ctrl+Delete) must not act on the chart while the
// author is typing.
bool IsTextEditingKey(const QKeySequence& keys) {
  static const QKeySequence::StandardKey editing[] = {QKeySequence::SelectAll,
                                                      QKeySequence::Undo,
                                                      QKeySequence::Redo,
                                                      QKeySequence::Cut,
                                                      QKeySequence::Copy,
                                                      QKeySequence::Paste,
                                                      QKeySequence::DeleteEndOfWord,
                                                      QKeySequence::DeleteStartOfWord};
  return std::any_of(std::begin(editing), std::end(editing),
                     [&keys](QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key).contains(keys); });
}

}  // namespace

TextFieldShortcuts::TextFieldShortcuts(QWidget* window, const QList<QAction*>& handedItems, QObject* parent)
    : QObject(parent), window_(window) {
  for (QAction* item : handedItems) handed_ << item;
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
  // A field that overrides a key for itself would keep it from the menu; the
  // override is checked before any widget of the window sees it.
  qApp->installEventFilter(this);
  FocusChanged(QApplication::focusWidget());
}

void TextFieldShortcuts::FocusChanged(QWidget* now) {
  // Focus leaving the application comes back to the same control.
  if (!now) return;
  if (now->window() == window_ && IsTextField(now)) {
    Enter();
  } else {
    Exit();
  }
}

void TextFieldShortcuts::Enter() {
  scoreKeysActive_ = false;
  if (!AllHanded() || handed_.front()->shortcut().isEmpty()) return;
  stored_.clear();
  for (QAction* item : handed_) {
    stored_ << item->shortcuts();
    item->setShortcuts({});
  }
}

void TextFieldShortcuts::Exit() {
  scoreKeysActive_ = true;
  if (!AllHanded() || !handed_.front()->shortcut().isEmpty() || stored_.size() != handed_.size()) return;
  for (qsizetype i = 0; i < handed_.size(); ++i) handed_[i]->setShortcuts(stored_[i]);
}

bool TextFieldShortcuts::AllHanded() const {
  return !handed_.isEmpty() &&
         std::all_of(handed_.begin(), handed_.end(), [](const auto& item) { return !item.isNull(); });
}

bool TextFieldShortcuts::IsMenuShortcut(const QKeySequence& keys) const {
  const QList<QAction*> items = window_->findChildren<QAction*>();
  return std::any_of(items.begin(), items.end(),
                     [&keys](const QAction* item) { return item->isEnabled() && item->shortcuts().contains(keys); });
}

bool TextFieldShortcuts::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  // Every widget the override passes on its way up is asked: an editable
  // combo box hands it to its line edit again.
  const auto* widget = qobject_cast<QWidget*>(watched);
  const QWidget* focus = QApplication::focusWidget();
  if (!widget || widget->window() != window_ || !focus || focus->window() != window_ || !IsTextField(focus))
    return false;
  const QKeySequence keys(static_cast<QKeyEvent*>(event)->keyCombination());
  if (IsTextEditingKey(keys) || !IsMenuShortcut(keys)) return false;
  // Not overridden: the key goes on to the menu item.
  event->ignore();
  return true;
}

}  // namespace beatloom
