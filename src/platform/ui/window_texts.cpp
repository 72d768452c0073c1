#include "platform/ui/window_texts.h"

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

}  // namespace beatloom
