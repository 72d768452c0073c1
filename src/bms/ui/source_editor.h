#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace beatloom {

class Prompts;

// "ソースのダイレクト編集": the whole chart as text, edited by hand and read
// back as a file would be.
class SourceEditor : public QDialog {
  Q_OBJECT

 public:
  SourceEditor(Prompts& prompts, QWidget* parent = nullptr);

  // Shows the lines modally. True when the author left with "変更"; lines then
  // hold the memo's lines. Closing the window or "編集を破棄" gives false.
  bool EditLines(QStringList& lines);

  QPlainTextEdit* memo() const { return memo_; }
  QPushButton* fontButton() const { return fontButton_; }
  QPushButton* discardButton() const { return discardButton_; }
  QPushButton* applyButton() const { return applyButton_; }

 private:
  void ChooseFont();

  Prompts& prompts_;
  QPlainTextEdit* memo_;
  QPushButton* fontButton_;
  QPushButton* discardButton_;
  QPushButton* applyButton_;
};

}  // namespace beatloom
