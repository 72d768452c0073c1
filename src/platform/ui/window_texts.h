#pragma once

#include <functional>

class QWidget;

namespace beatloom {

// Every window whose captions and hints a translator may replace calls
// WindowCreated once its controls exist. What happens then (the language
// file applied, a template written) is the program's business, installed at
// start-up; the windows themselves know nothing of files.
using WindowCreatedHook = std::function<void(QWidget& window)>;
void SetWindowCreatedHook(WindowCreatedHook hook);
void WindowCreated(QWidget& window);

// How wide a window must be for the title bar to show its title whole: the
// text in a bold face plus room for the icon and the buttons.
int TitleBarWidth(const QWidget& window);

}  // namespace beatloom
