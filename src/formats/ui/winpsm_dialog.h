#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace beatloom {

class Document;
class Prompts;

// "DDRエディットデータ出力": builds the console edit save from the template
// "master.psf" in the program folder. Created once at start-up; the fields
// keep what the author typed between uses.
class WinPsmDialog : public QDialog {
  Q_OBJECT

 public:
  WinPsmDialog(Document& doc, Prompts& prompts, std::string programFolder, QWidget* parent = nullptr);

  // Where the save dialog starts until a destination has been chosen: the
  // folder of the main window's open-chart dialog.
  void SetInitialFolder(const QString& folder) { initialFolder_ = folder; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void Button1Click();
  void Button2Click();

  Document& doc_;
  Prompts& prompts_;
  std::string programFolder_;
  QString initialFolder_;

  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QComboBox* SM = nullptr;
  QPushButton* Button2 = nullptr;
};

}  // namespace beatloom
