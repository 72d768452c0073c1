#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace beatloom {

// Handing things to the desktop: documents and addresses to their viewers,
// programs started on their own. Nothing waits for them or looks at how they
// fared once running. Tests use a recording version.
class Shell {
 public:
  struct StartOutcome {
    bool started = false;
    QString reason;  // why it could not be started
  };

  virtual ~Shell() = default;
  virtual void OpenUrl(const QUrl& url) = 0;
  // Started directly with an argument list, never through a command shell,
  // so that no file name can smuggle in a command.
  virtual StartOutcome StartProgram(const QString& program, const QStringList& arguments) = 0;
};

class QtShell : public Shell {
 public:
  void OpenUrl(const QUrl& url) override;
  StartOutcome StartProgram(const QString& program, const QStringList& arguments) override;
};

}  // namespace beatloom
