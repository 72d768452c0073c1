#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QProcess>

namespace beatloom {

void QtShell::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

Shell::StartOutcome QtShell::StartProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  if (process.startDetached()) return {true, QString()};
  return {false, process.errorString()};
}

}  // namespace beatloom
