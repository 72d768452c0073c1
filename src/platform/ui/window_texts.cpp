#include "platform/ui/window_texts.h"

#include <QFontMetrics>
#include <QWidget>
#include <utility>

namespace beatloom {

namespace {
WindowCreatedHook& Hook() {
  static WindowCreatedHook hook;
  return hook;
}
}  // namespace

void SetWindowCreatedHook(WindowCreatedHook hook) { Hook() = std::move(hook); }

void WindowCreated(QWidget& window) {
  if (Hook()) Hook()(window);
}

int TitleBarWidth(const QWidget& window) {
  // The desktop draws the title in a face of its own; a bold face a little
  // larger than the window's stands in for it.
  QFont title = window.font();
  title.setBold(true);
  if (title.pointSizeF() > 0) title.setPointSizeF(title.pointSizeF() * 1.1);
  constexpr int kIconAndButtons = 128;
  return QFontMetrics(title).horizontalAdvance(window.windowTitle()) + kIconAndButtons;
}

}  // namespace beatloom
