#pragma once

#include <QString>

namespace beatloom {

// Gives a control its control name, by which settings, tests and the language
// file find it, and hands it back for the layout code.
template <class T>
T* Named(T* control, const char* name) {
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

}  // namespace beatloom
