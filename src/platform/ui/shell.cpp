#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QProcess>

namespace beatloom {

void QtShell::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtShell::StartProgram(const QString& program, const QStringList& arguments) {
  QProcess::startDetached(program, arguments);
}

}  // namespace beatloom
