#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "app/ini_file.h"
#include "app/ui/main_window.h"
#include "session/chart_session.h"
#include "platform/ui/shell.h"
#include "support/scripted_prompts.h"
#include "support/test_support.h"
#include "view/ui/score_widget.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace beatloom::test {

// The caller's file and line, taken where a helper is called so that its
// failures name the test's line. The compiler builtins serve where the
// standard library's source location does not build (clang 14 with
// libstdc++ 12).
struct CallSite {
  const char* file;
  int line;
  static constexpr CallSite Here(const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    return {file, line};
  }
};

// Remembers what would have been handed to the desktop.
class RecordingShell : public Shell {
 public:
  std::vector<QUrl> opened;
  std::vector<std::pair<QString, QStringList>> started;
  QString failure;  // when set, every start fails with this reason
  void OpenUrl(const QUrl& url) override { opened.push_back(url); }
  StartOutcome StartProgram(const QString& program, const QStringList& arguments) override {
    started.emplace_back(program, arguments);
    return {failure.isEmpty(), failure};
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

// Stands in for a control that is missing, so that the test goes on and
// fails instead of dereferencing null. Types that cannot stand in end the
// test body with an exception, which the test framework reports.
template <class T>
T& StandIn(const char* controlName) {
  if constexpr (std::is_default_constructible_v<T>) {
    static T* standIn = new T;
    return *standIn;
  } else {
    throw std::runtime_error(std::string("no control ") + controlName);
  }
}

// A control of the window by its control name (its objectName). The dialogs
// the window owns name their own controls, so a name found more than once
// means the one in the window itself. A failure names the caller's line.
template <class T>
T& Control(QWidget& window, const char* controlName,
           const CallSite& where = CallSite::Here()) {
  QList<T*> found = window.findChildren<T*>(QString::fromUtf8(controlName));
  if (found.size() > 1) {
    found.removeIf([&window](T* c) {
      const auto* w = qobject_cast<const QWidget*>(c);
      return w && w->window() != &window;
    });
  }
  if (found.size() == 1) return *found.front();
  ADD_FAILURE_AT(where.file, where.line)
      << (found.empty() ? "no control " : "more than one control ") << controlName;
  return StandIn<T>(controlName);
}

// A menu item by its control name; a submenu or menu is reached through its
// menuAction(), which belongs to the menu rather than to the window.
inline QAction& ActionNamed(QWidget& window, const char* controlName,
                            const CallSite& where = CallSite::Here()) {
  const QString name = QString::fromUtf8(controlName);
  for (QAction* a : window.findChildren<QAction*>(name)) return *a;
  for (QMenu* m : window.findChildren<QMenu*>(name)) return *m->menuAction();
  ADD_FAILURE_AT(where.file, where.line) << "no menu item " << controlName;
  return StandIn<QAction>(controlName);
}

inline ScoreWidget& Score(QWidget& window, const CallSite& where = CallSite::Here()) {
  return Control<ScoreWidget>(window, "pb", where);
}

// A program folder of its own per test, and the real main window started in
// it the way the program starts it: created, then shown, with a chart
// session the test can reach.
class MainWindowTest : public ::testing::Test {
 protected:
  // Every window gets a session of its own, as in the program; a window
  // replaced by the next one may still be alive while that one starts.
  // The desktop speaks Japanese, whatever the machine running the tests speaks.
  TMainOptions Options(const QStringList& arguments = {}, const char* desktopLanguage = "ja_JP") {
    TMainOptions options;
    options.arguments = arguments;
    options.programFolder = home.path();
    options.executableFolder = programFiles.path();
    options.desktopLanguage = desktopLanguage;
    options.prompts = &prompts;
    options.shell = &shell;
    options.session = &sessions_.emplace_back();
    options.splashMilliseconds = 0;
    return options;
  }
  std::unique_ptr<TMain> Start(const QStringList& arguments = {}, const char* desktopLanguage = "ja_JP") {
    auto main = std::make_unique<TMain>(Options(arguments, desktopLanguage));
    main->show();
    QCoreApplication::processEvents();
    return main;
  }
  // The session of the window started last.
  ChartSession& Session() { return sessions_.empty() ? sessions_.emplace_back() : sessions_.back(); }
  Document& Doc() { return Session().Doc(); }
  Log& ChartLog() { return Session().ChartLog(); }
  const History& ChartHistory() { return Session().ChartHistory(); }
  // One step of the history: a note written at lane, pos.
  void WriteStep(int lane, int pos, int value = 1) {
    Session().Apply({.label = "書き込み"}, [&](Document& d) {
      d.AddObject(lane, pos, value);
      return EditOutcome::Changed;
    });
  }

  IniFile Ini() const { return IniFile(home.file("beatloom.ini")); }
  // Sound preview needs no audio device in most tests.
  void Quiet() { Ini().WriteBool("boot", "NoSound", true); }
  std::string Chart(const std::string& name, const std::string& bytes) {
    const std::string path = charts.file(name);
    WriteFile(path, bytes);
    return path;
  }
  // Opens path with Open1 as the author would, dropping a modified chart
  // without saving it; true when the window then shows that chart.
  bool OpenChart(QWidget& window, const std::string& path) {
    if (Doc().Modified) prompts.answers.push_back(Prompts::Answer::No);
    prompts.fileNames.push_back(QString::fromStdString(path));
    ActionNamed(window, "Open1").trigger();
    return window.windowTitle() == "Beatloom [" + QString::fromStdString(path) + "]" && !Doc().Modified;
  }
  // Whether the window still lays itself out when the desktop resizes it: a
  // chart grown behind its back shows its new length in GSV as soon as a
  // resize reaches the window. The resize keeps the size, so the score does
  // not lay itself out on its own account.
  bool AnswersResizes(QWidget& window) {
    Doc().AddObject(1, (Doc().ScrollMin * -2) + 192, 1);
    QResizeEvent resize(window.size(), window.size());
    QCoreApplication::sendEvent(&window, &resize);
    return Control<QScrollBar>(window, "GSV").minimum() == Doc().ScrollMin;
  }

  TempDir home;
  TempDir programFiles;  // where the program file would lie
  TempDir charts;
  ScriptedPrompts prompts;
  RecordingShell shell;

 private:
  std::list<ChartSession> sessions_;
};

}  // namespace beatloom::test
