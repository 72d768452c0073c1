#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/ui/main_window.h"
#include "view/ui/export_image.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const qsizetype exportAt = arguments.indexOf(QStringLiteral("--export-image"));
  if (exportAt >= 0) return beatloom::RunExportImage(arguments.mid(exportAt));

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Beatloom"));
  // The editor speaks Japanese whatever the desktop's language, so Qt's own
  // buttons and dialogs ("はい", "キャンセル", the file dialog) do too.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  beatloom::TMainOptions options;
  options.arguments = arguments;
  beatloom::TMain main(options);
  main.show();
  return QApplication::exec();
}
