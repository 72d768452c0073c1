#pragma once

#include <QDialog>

#include "edit/search.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace beatloom {

class Prompts;

// "検索・置換・削除": picks objects by measure range, index and lanes, then
// leaves them selected, deletes them or gives them another index. Modeless
// and made once: every field keeps what the author left in it, and each run
// works on the chart as it is at that moment.
class TForm7 : public QDialog {
  Q_OBJECT

 public:
  TForm7(ChartSession& session, Prompts& prompts, QWidget* parent);

  // Brings the dialog up, or to the front when it is up already.
  void Open();
  // What the controls hold now.
  SearchRequest Request() const;
  // "実行": runs the search and shows the message of a bad entry.
  void Run();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTarget();
  void BuildMeasureRange();
  void BuildLanes();
  void BuildIndex();
  void BuildAction();
  void BuildButtons();
  void SetEveryLane(bool checked);
  void ToggleList(QListWidget* list);
  void GrowBgmList();

  ChartSession& session_;
  Prompts& prompts_;
  bool placed_ = false;

  QRadioButton* targetAllRadio_ = nullptr;        // allobject
  QRadioButton* targetSelectionRadio_ = nullptr;  // RadioButton2
  QCheckBox* measureCheck_ = nullptr;             // selectnote
  QLineEdit* fromMeasureEdit_ = nullptr;          // Edit3
  QLineEdit* toMeasureEdit_ = nullptr;            // Edit4
  QCheckBox* laneCheck_ = nullptr;                // SelectCol
  QListWidget* player1List_ = nullptr;            // CL1
  QListWidget* player2List_ = nullptr;            // CL2
  QListWidget* bgmList_ = nullptr;                // CLG
  QListWidget* bmpList_ = nullptr;                // CLB
  QCheckBox* indexCheck_ = nullptr;               // selectindex
  QLineEdit* indexEdit_ = nullptr;                // Edit5
  QRadioButton* selectRadio_ = nullptr;           // RadioButton3
  QRadioButton* deleteRadio_ = nullptr;           // godelete
  QRadioButton* replaceRadio_ = nullptr;          // gochange
  QLineEdit* replacementEdit_ = nullptr;          // Edit6
  QPushButton* runButton_ = nullptr;              // Button1
  QPushButton* closeButton_ = nullptr;            // Button2
};

}  // namespace beatloom
