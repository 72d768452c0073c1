#include "platform/ui/prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

#include "platform/ui/bpm_dialog.h"

namespace beatloom {

namespace {

QMessageBox::Icon ToQt(Prompts::Icon icon) {
  switch (icon) {
    case Prompts::Icon::Warning:
      return QMessageBox::Warning;
    case Prompts::Icon::Error:
      return QMessageBox::Critical;
    case Prompts::Icon::Question:
      return QMessageBox::Question;
    case Prompts::Icon::Information:
      break;
  }
  return QMessageBox::Information;
}

QMessageBox::StandardButtons ToQt(Prompts::Buttons buttons) {
  switch (buttons) {
    case Prompts::Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Prompts::Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompts::Buttons::YesCancel:
      return QMessageBox::Yes | QMessageBox::Cancel;
    case Prompts::Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompts::Buttons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

// "BMSファイル形式(*.bms;*.bme)" lists its patterns with ";" or ",", which Qt
// reads as one pattern matching nothing. The caption stays as written (the
// details are hidden); Qt gets the patterns space-separated, in both cases, as
// chart files come named either way.
QString QtFilter(const QString& filter) {
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  if (open < 0 || !filter.endsWith(QLatin1Char(')'))) return filter;
  QStringList patterns;
  const QString list = filter.mid(open + 1, filter.size() - open - 2);
  for (const QString& p : list.split(QRegularExpression(QStringLiteral("[;, ]")), Qt::SkipEmptyParts)) {
    patterns << p;
    if (p.toUpper() != p) patterns << p.toUpper();
  }
  return filter + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

void Configure(QFileDialog& d, const Prompts::FileDialog& dialog) {
  d.setWindowTitle(dialog.title);
  if (!dialog.folder.isEmpty()) d.setDirectory(dialog.folder);
  if (!dialog.fileName.isEmpty()) d.selectFile(dialog.fileName);
  QStringList filters;
  for (const QString& f : dialog.filters) filters << QtFilter(f);
  d.setOption(QFileDialog::HideNameFilterDetails);
  d.setNameFilters(filters);
  if (dialog.filterIndex >= 0 && dialog.filterIndex < filters.size()) d.selectNameFilter(filters[dialog.filterIndex]);
  d.setDefaultSuffix(dialog.defaultSuffix);
}

// The one file of the folder whose name differs from path's only in letter
// case; empty when there is none or more than one.
QString SameNameInOtherCase(const QString& path) {
  const QFileInfo info(path);
  const QDir folder = info.absoluteDir();
  QString found;
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
    if (name.compare(info.fileName(), Qt::CaseInsensitive) != 0) continue;
    if (!found.isEmpty()) return QString();
    found = folder.filePath(name);
  }
  return found;
}

// Charts are named .bms and .BMS alike, and the default extension is added in
// one case only; on a file system that tells the cases apart, "song" must
// still open song.bms. A name typed in the wrong case opens the file it
// means, as on the case-blind file systems many charts are made on.
class OpenDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  void accept() override {
    const QStringList files = selectedFiles();
    if (files.size() == 1 && !QFileInfo::exists(files.front())) {
      const QString match = SameNameInOtherCase(files.front());
      // selectFile() leaves the name field alone while it has the focus, and
      // the field is what the dialog goes by.
      auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (!match.isEmpty() && name) name->setText(match);
    }
    QFileDialog::accept();
  }
};

// The log and the image preview float above the main window so that the
// author can keep them in view; a question must still come above them, or the
// program waits for an answer nobody can see.
int ExecInFront(QDialog& dialog) {
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  QTimer::singleShot(0, &dialog, [&dialog] {
    dialog.raise();
    dialog.activateWindow();
  });
  return dialog.exec();
}

}  // namespace

Prompts::Answer QtPrompts::Ask(const QString& text, Icon icon, Buttons buttons, const QString& caption) {
  QMessageBox box(ToQt(icon), caption.isEmpty() ? QApplication::applicationDisplayName() : caption, text, ToQt(buttons),
                  parent_);
  switch (ExecInFront(box)) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return Answer::Cancel;
  }
}

QString QtPrompts::OpenFileName(const FileDialog& dialog) {
  OpenDialog d(parent_);
  Configure(d, dialog);
  d.setAcceptMode(QFileDialog::AcceptOpen);
  d.setFileMode(QFileDialog::ExistingFile);
  return ExecInFront(d) == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().first() : QString();
}

QString QtPrompts::SaveFileName(const FileDialog& dialog) {
  QFileDialog d(parent_);
  Configure(d, dialog);
  d.setAcceptMode(QFileDialog::AcceptSave);
  // The editor asks its own overwrite question, in its own words.
  d.setOption(QFileDialog::DontConfirmOverwrite);
  return ExecInFront(d) == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().first() : QString();
}

bool QtPrompts::ChooseColor(QColor& color, const QString& title) {
  QColorDialog d(color, parent_);
  if (!title.isEmpty()) d.setWindowTitle(title);
  if (ExecInFront(d) != QDialog::Accepted || !d.selectedColor().isValid()) return false;
  color = d.selectedColor();
  return true;
}

bool QtPrompts::ChooseFont(QFont& font) {
  QFontDialog d(font, parent_);
  if (ExecInFront(d) != QDialog::Accepted) return false;
  font = d.selectedFont();
  return true;
}

bool QtPrompts::AskBpm(QString& text) {
  TBPMSet dialog(parent_);
  if (ExecInFront(dialog) != QDialog::Accepted) return false;
  text = dialog.Text();
  return true;
}

bool QtPrompts::AskStop(QString& text) {
  TBPMSet dialog(parent_, TBPMSet::Kind::Stop);
  if (ExecInFront(dialog) != QDialog::Accepted) return false;
  text = dialog.Text();
  return true;
}

}  // namespace beatloom
