#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace beatloom {

// Every modal question, message and file/colour/font dialog goes through this
// seam, so that the windows can be driven by tests with scripted answers.
class Prompts {
 public:
  enum class Icon { Information, Warning, Error, Question };
  enum class Buttons { Ok, YesNo, YesNoCancel, YesCancel, OkCancel };
  enum class Answer { Ok, Yes, No, Cancel };

  struct FileDialog {
    QString title;
    QString folder;         // initial folder
    QString fileName;       // initial file name
    QStringList filters;    // "BMSファイル形式(*.bms;*.bme)" style entries
    int filterIndex = 0;    // the filter selected when the dialog opens
    QString defaultSuffix;  // added when the typed name has none
  };

  virtual ~Prompts() = default;

  virtual Answer Ask(const QString& text, Icon icon, Buttons buttons, const QString& caption = QString()) = 0;
  void Message(const QString& text, Icon icon = Icon::Information, const QString& caption = QString()) {
    Ask(text, icon, Buttons::Ok, caption);
  }
  // Empty when the dialog was cancelled.
  virtual QString OpenFileName(const FileDialog& dialog) = 0;
  virtual QString SaveFileName(const FileDialog& dialog) = 0;
  virtual bool ChooseColor(QColor& color, const QString& title = QString()) = 0;
  virtual bool ChooseFont(QFont& font) = 0;
  // The tempo entry dialog; false when it was closed without OK. text
  // receives what was typed, unchecked.
  virtual bool AskBpm(QString& text) = 0;
  // The same for the length of a new stop.
  virtual bool AskStop(QString& text) = 0;
};

// Real dialogs, parented to the given window.
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent) : parent_(parent) {}
  Answer Ask(const QString& text, Icon icon, Buttons buttons, const QString& caption) override;
  QString OpenFileName(const FileDialog& dialog) override;
  QString SaveFileName(const FileDialog& dialog) override;
  bool ChooseColor(QColor& color, const QString& title) override;
  bool ChooseFont(QFont& font) override;
  bool AskBpm(QString& text) override;
  bool AskStop(QString& text) override;

 private:
  QWidget* parent_;
};

}  // namespace beatloom
