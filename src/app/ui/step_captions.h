#pragma once

#include <QString>
#include <map>
#include <string>

class QAction;
class QWidget;

namespace beatloom {

// The names of the history's steps as the Edit menu shows them ("元に戻す:
// 削除"). Each known step name is a hidden action of the window, named
// Step..., so that the language file translates it like any menu item and
// the developer's template lists it.
class StepCaptions {
 public:
  explicit StepCaptions(QWidget& window);

  // The step's name in the window's language: its translation, else the
  // name as the step carries it.
  QString Caption(const std::string& label) const;

 private:
  std::map<std::string, QAction*> actions_;
};

}  // namespace beatloom
