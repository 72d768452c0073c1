#pragma once

#include <QObject>
#include <array>

#include "session/chart_session.h"
#include "view/view_settings.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;

namespace beatloom {

class ScoreWidget;

// The controls that decide what the score shows and where it stands.
struct ViewControls {
  ScoreWidget* score = nullptr;
  QScrollBar* verticalScrollBar = nullptr;    // GSV
  QScrollBar* horizontalScrollBar = nullptr;  // GSH
  QScrollBar* gridHeightBar = nullptr;
  QScrollBar* gridWidthBar = nullptr;
  QScrollBar* objectHeightBar = nullptr;
  QPushButton* gridHeightResetButton = nullptr;
  QPushButton* gridWidthResetButton = nullptr;
  QPushButton* objectHeightResetButton = nullptr;
  QComboBox* gridCombo = nullptr;
  QComboBox* subGridCombo = nullptr;
  QAction* showIndexNumbersAction = nullptr;
  QAction* showFileNamesAction = nullptr;
  QAction* flatObjectWidthAction = nullptr;
  // s_select, s_draw, s_erase: a new mouse mode starts without a selection.
  std::array<QAbstractButton*, 3> modeButtons{};
  // CheckBox1, CheckBox8: read where they are used; a change only redraws.
  std::array<QCheckBox*, 2> redrawChecks{};
};

// Keeps the score in step with the view controls, the scroll bars and the
// chart: a change of any of them redraws it, and a chart that replaced the
// old one starts at measure 000.
class ViewController : public QObject {
  Q_OBJECT

 public:
  ViewController(ChartSession& session, ViewSettings& view, const ViewControls& controls, QObject* parent);
  ~ViewController() override;

  // Copies every control into the view settings. A control set to the value
  // it already holds raises no change signal, so stored values cannot rely
  // on the signals to arrive.
  void TakeControls();
  void Redraw();
  // The scroll bars show the score's clamped positions and ranges.
  void SyncScrollBars();

 private:
  void ConnectViewControls();
  void ConnectModeButtons();
  void Show(const ChartNotice& notice);

  ChartSession& session_;
  ChartSession::ListenerId listener_ = 0;
  ViewSettings& view_;
  ViewControls c_;
};

}  // namespace beatloom
