#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <ostream>
#include <string>

#include "app/ui/main_window_fixture.h"
#include "support/unwritable_folder.h"

// Readable failure messages for lists of Qt strings (single strings: the
// main window fixture).
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(", ").toStdString() << ']'; }
