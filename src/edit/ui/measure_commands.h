#pragma once

#include <QObject>
#include <functional>
#include <string_view>

#include "session/chart_session.h"

class QAction;
class QWidget;

namespace beatloom {

class DeleteMeasuresDialog;
class Prompts;

// The menu items of the measure commands.
struct MeasureControls {
  QAction* insertMeasureAction = nullptr;   // K14
  QAction* deleteMeasureAction = nullptr;   // K15
  QAction* deleteMeasuresAction = nullptr;  // N28
  QAction* measureLengthAction = nullptr;   // N41
};

// Inserts and deletes whole measures and edits the measure lengths. The popup
// items work on the measure of the last right click, which anchorPos gives.
class MeasureCommands : public QObject {
  Q_OBJECT

 public:
  // window: the parent of the dialogs, and of this controller.
  MeasureCommands(ChartSession& session, const MeasureControls& controls, Prompts& prompts,
                  std::function<int()> anchorPos, QWidget* window);

 private:
  void InsertHere();
  void DeleteHere();
  void DeleteRange();
  void ChangeLengths();
  void Tell(std::string_view message);

  ChartSession& session_;
  Prompts& prompts_;
  std::function<int()> anchorPos_;
  QWidget* window_;
  // Made once: its fields keep the last range typed.
  DeleteMeasuresDialog* deleteDialog_ = nullptr;
};

}  // namespace beatloom
