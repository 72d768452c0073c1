#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "session/chart_session.h"
#include "view/mouse_editor.h"

class QAbstractButton;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QScrollBar;

namespace beatloom {

class Prompts;
class ScoreWidget;

// The controls the mouse editing of the score reads and writes.
struct MouseControls {
  ScoreWidget* score = nullptr;                 // pb
  QAbstractButton* selectModeButton = nullptr;  // s_select
  QAbstractButton* writeModeButton = nullptr;   // s_draw
  QAbstractButton* eraseModeButton = nullptr;   // s_erase
  QLabel* kindLabel = nullptr;                  // Label12
  QLabel* measureLabel = nullptr;               // Label31
  QLabel* beatLabel = nullptr;                  // Label29
  QLabel* gridLabel = nullptr;                  // Label28
  QLabel* zoneLabel = nullptr;                  // Label15
  QListWidget* wavList = nullptr;               // lbw
  QListWidget* bmpList = nullptr;               // lbb
  QMenu* popup = nullptr;                       // PM
  QScrollBar* verticalScrollBar = nullptr;      // GSV
  QScrollBar* horizontalScrollBar = nullptr;    // GSH
  QAction* activationGuardAction = nullptr;     // N34
  QLabel* timeLabel = nullptr;                  // LabelTime
  // The chart's time at an exact place in ticks, for timeLabel; asked on every pointer move,
  // so it should not compute the timing anew each time.
  std::function<double(double ticks)> secondsAt{};
};

// Forwards the score's mouse events to the mouse editor and carries out what
// it decides: the overlays, the status line, the popup menu, the scrolling
// while a gesture is outside the score.
class MouseController : public QObject {
  Q_OBJECT

 public:
  MouseController(ChartSession& session, const MouseControls& controls, Prompts& prompts, QObject* parent);
  ~MouseController() override;

  MouseEditor& Editor() { return *editor_; }
  // Whether the application counts as active; the real one by default.
  void SetActivityProbe(std::function<bool()> probe) { isActive_ = std::move(probe); }

 public slots:
  // The main window's 100 ms timer.
  void Tick();

 signals:
  // A gesture may have changed the selection: the edit menu follows.
  void selectionChanged();
  // A left press wrote or hit the object of this index.
  void objectPressed(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  NewObjectValues SelectedValues() const;
  void ConnectModeButtons();
  void ShowOverlay();
  void ShowStatus();

  MouseControls c_;
  Prompts& prompts_;
  std::function<bool()> isActive_;
  std::unique_ptr<MouseEditor> editor_;
};

}  // namespace beatloom
