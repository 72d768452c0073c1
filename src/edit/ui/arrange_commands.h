#pragma once

#include <QObject>
#include <QPointer>

#include "session/chart_session.h"

class QAction;
class QWidget;

namespace beatloom {

class Prompts;
class SpacingDialog;

// The Arrange menu items, and the window the spacing dialog belongs to.
struct ArrangeControls {
  QAction* objectSpacingAction = nullptr;  // N35
  QAction* mirrorAction = nullptr;         // N36
  QWidget* window = nullptr;
};

// Runs the Arrange menu: the spacing dialog, made once and kept with what was
// typed last, and the mirror of the selection. What they do to the chart is
// decided in the core; this only collects the input and shows the messages.
class ArrangeCommands : public QObject {
  Q_OBJECT

 public:
  ArrangeCommands(ChartSession& session, const ArrangeControls& controls, Prompts& prompts, QObject* parent = nullptr);
  ~ArrangeCommands() override;

  void ChangeSpacing();
  void Mirror();

 private:
  ChartSession& session_;
  Prompts& prompts_;
  // Belongs to the window, which may go first; without a window it is ours.
  QPointer<SpacingDialog> dialog_;
};

}  // namespace beatloom
