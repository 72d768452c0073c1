#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <ostream>

#include "app/ini_file.h"
#include "app/ui/main_window.h"
#include "platform/ui/shell.h"
#include "support/scripted_prompts.h"
#include "support/test_support.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace beatloom::test {

// Remembers what would have been handed to the desktop.
class RecordingShell : public Shell {
 public:
  std::vector<QUrl> opened;
  std::vector<std::pair<QString, QStringList>> started;
  void OpenUrl(const QUrl& url) override { opened.push_back(url); }
  void StartProgram(const QString& program, const QStringList& arguments) override {
    started.emplace_back(program, arguments);
  }
};

// Acts on the next modal dialog once its event loop runs; a dialog that never
// comes fails the test instead of hanging it.
inline void WhenModal(std::function<void(QDialog&)> act, int timeoutMs = 5000) {
  auto* timer = new QTimer;
  const QDeadlineTimer deadline(timeoutMs);
  QObject::connect(timer, &QTimer::timeout, [timer, deadline, act = std::move(act)] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    } else if (deadline.hasExpired()) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal dialog came up";
    }
  });
  timer->start(10);
}

// A program folder of its own per test, and the real main window started in
// it the way the program starts it: created, then shown.
class MainWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<TMain> Start(const QStringList& arguments = {}) {
    TMainOptions options;
    options.arguments = arguments;
    options.programFolder = home.path();
    options.executableFolder = programFiles.path();
    options.prompts = &prompts;
    options.shell = &shell;
    options.splashMilliseconds = 0;
    auto main = std::make_unique<TMain>(options);
    main->show();
    QCoreApplication::processEvents();
    return main;
  }
  IniFile Ini() const { return IniFile(home.file("beatloom.ini")); }
  // Sound preview needs no audio device in most tests.
  void Quiet() { Ini().WriteBool("boot", "NoSound", true); }
  std::string Chart(const std::string& name, const std::string& bytes) {
    const std::string path = charts.file(name);
    WriteFile(path, bytes);
    return path;
  }

  TempDir home;
  TempDir programFiles;  // where the program file would lie
  TempDir charts;
  ScriptedPrompts prompts;
  RecordingShell shell;
};

}  // namespace beatloom::test
