#include "view/ui/key_controller.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QWheelEvent>

#include "view/ui/text_field_shortcuts.h"

namespace beatloom {

namespace {

ViewKey KeyOf(const QKeyEvent& event) {
  const bool keypad = event.modifiers() & Qt::KeypadModifier;
  switch (event.key()) {
    case Qt::Key_PageUp:
      return ViewKey::PageUp;
    case Qt::Key_PageDown:
      return ViewKey::PageDown;
    case Qt::Key_Home:
      return ViewKey::Home;
    case Qt::Key_End:
      return ViewKey::End;
    case Qt::Key_F5:
      return ViewKey::F5;
    case Qt::Key_Delete:
      // Shift+Delete and Ctrl+Delete are menu shortcuts of their own.
      return event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier) ? ViewKey::Other : ViewKey::Delete;
    case Qt::Key_Plus:
      return keypad ? ViewKey::PadPlus : ViewKey::Other;
    case Qt::Key_Minus:
      return keypad ? ViewKey::PadMinus : ViewKey::Other;
    case Qt::Key_Asterisk:
      return keypad ? ViewKey::PadStar : ViewKey::Other;
    case Qt::Key_Slash:
      return keypad ? ViewKey::PadSlash : ViewKey::Other;
    default:
      return ViewKey::Other;
  }
}

}  // namespace

KeyController::KeyController(const KeyControls& controls, const TextFieldShortcuts& shortcuts, QObject* parent)
    : QObject(parent), c_(controls), shortcuts_(shortcuts) {
  // The window answers these keys whichever of its controls has the focus,
  // so it has to see them before that control does.
  qApp->installEventFilter(this);
}

bool KeyController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != c_.window) return false;
  if (event->type() == QEvent::KeyPress) return Key(static_cast<QKeyEvent*>(event));
  return Wheel(watched, static_cast<QWheelEvent*>(event));
}

bool KeyController::ScoreFocused() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == c_.score || focus == c_.verticalScrollBar || focus == c_.horizontalScrollBar);
}

ViewKeyState KeyController::State() const {
  ViewKeyState s;
  s.scoreKeysActive = shortcuts_.ScoreKeysActive();
  s.scoreFocused = ScoreFocused();
  s.scroll = c_.verticalScrollBar->value();
  s.page = c_.listPages->currentIndex() == 1 ? ListPage::Bmp : ListPage::Wav;
  s.wavRow = c_.wavList->currentRow();
  s.bmpRow = c_.bmpList->currentRow();
  s.wavCount = c_.wavList->count();
  s.bmpCount = c_.bmpList->count();
  return s;
}

QListWidget* KeyController::ShownList() const { return c_.listPages->currentIndex() == 1 ? c_.bmpList : c_.wavList; }

bool KeyController::Key(QKeyEvent* event) {
  const ViewKey key = KeyOf(*event);
  if (key == ViewKey::Other) return false;
  return Run(DecideKey(key, State()));
}

bool KeyController::Run(const KeyAction& action) {
  QListWidget* list = ShownList();
  switch (action.command) {
    case KeyCommand::None:
      return false;
    case KeyCommand::Scroll:
      c_.verticalScrollBar->setValue(action.value);
      return true;
    case KeyCommand::SwitchListPage:
      c_.listPages->setCurrentIndex(action.value);
      return true;
    case KeyCommand::ClickDelete:
      c_.deleteAction->trigger();
      return true;
    case KeyCommand::SelectRow:
      list->setCurrentRow(action.value);
      if (action.thenClick) emit list->itemClicked(list->currentItem());
      return true;
    case KeyCommand::ClickList:
      if (list->currentItem()) emit list->itemClicked(list->currentItem());
      if (action.showPreview && showImagePreview) showImagePreview(true);
      return true;
    case KeyCommand::StopSound:
      c_.stopSoundButton->click();
      return true;
    case KeyCommand::HidePreview:
      if (showImagePreview) showImagePreview(false);
      return true;
  }
  return false;
}

bool KeyController::Wheel(QObject* watched, QWheelEvent* event) {
  // The wheel over the score always scrolls it, without taking the focus
  // from a field being typed in; over GSV it does while the score panel has
  // the focus.
  if (watched != c_.score && (watched != c_.verticalScrollBar || !ScoreFocused())) return false;
  const int steps = wheel_.Add(event->angleDelta().y());
  if (steps != 0) c_.verticalScrollBar->setValue(WheelScroll(c_.verticalScrollBar->value(), steps));
  event->accept();
  return true;
}

}  // namespace beatloom
