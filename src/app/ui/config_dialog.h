#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QVBoxLayout;

namespace beatloom {

class IniFile;
class Prompts;

// "設定": the external player list, whether notes sound as they are written,
// the author's default addresses and the interface language (which applies at
// the next start). The list is edited in a private copy; OK puts it in place
// of the shared one and writes it with the other choices, Cancel leaves
// everything as it was.
class TConfig : public QDialog {
  Q_OBJECT

 public:
  TConfig(std::vector<std::string>& exApps, std::string programFolder, IniFile& settings, Prompts& prompts,
          QWidget* parent);

  // OK put the private list in place of the shared one. True even when
  // writing it then failed and the author cancelled afterwards: the shared
  // list has changed all the same.
  bool ListReplaced() const { return listReplaced_; }

 private:
  void BuildViewerPage(QWidget* page);
  void BuildDefaultsPage(QWidget* page);
  void BuildLanguageChoice(QWidget* page, QVBoxLayout* rows, int& labels);
  int SelectedEntry() const;
  std::vector<std::string> FieldTexts() const;
  void ShowEntry();
  void AddEntry();
  void ReplaceEntry();
  void DeleteEntry();
  void ChooseProgram();
  void Confirm();

  std::vector<std::string>& shared_;
  std::vector<std::string> lines_;  // the private working list
  std::string programFolder_;
  IniFile& settings_;
  Prompts& prompts_;
  bool listReplaced_ = false;

  QListWidget* entries_ = nullptr;  // LB
  // VS_Name, VS_Exe, VS_atPlay1, VS_atPlay2, VS_atStop, VS_atPlayable: the
  // six lines of an entry in their order.
  std::array<QLineEdit*, 6> fields_{};
  QLineEdit* email_ = nullptr;      // e_EMAIL
  QLineEdit* url_ = nullptr;        // e_URL
  QCheckBox* hearNotes_ = nullptr;  // c_hearnotes: the built-in player sounds notes as they are written
  QComboBox* language_ = nullptr;   // cb_Language, in the order of InterfaceLanguage
  QLabel* nextStartNote_ = nullptr;  // shown once the language differs from the stored one
};

}  // namespace beatloom
