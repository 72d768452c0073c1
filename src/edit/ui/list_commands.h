#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "edit/definition_lists.h"
#include "session/chart_session.h"

class QAction;
class QCheckBox;
class QListWidget;
class QPushButton;

namespace beatloom {

class Prompts;

// The two definition lists with their buttons, the File menu's clean-up items
// and the check box that keeps dropped files off used lines.
struct ListControls {
  QListWidget* wavList = nullptr;           // lbw
  QListWidget* bmpList = nullptr;           // lbb
  QPushButton* assignWavButton = nullptr;   // Button11
  QPushButton* clearWavButton = nullptr;    // Button12
  QPushButton* wavUpButton = nullptr;       // Button4
  QPushButton* wavDownButton = nullptr;     // Button5
  QPushButton* assignBmpButton = nullptr;   // Button14
  QPushButton* clearBmpButton = nullptr;    // Button15
  QPushButton* bmpUpButton = nullptr;       // Button9
  QPushButton* bmpDownButton = nullptr;     // Button13
  QAction* releaseUnusedAction = nullptr;   // WAVBMPC1
  QAction* compactIndicesAction = nullptr;  // BMPWAV1
  QCheckBox* skipUsedCheck = nullptr;       // CheckBox1
  QAction* expandIndicesAction = nullptr;   // IndexBase36
};

// Runs the commands of the definition lists. What they do to the chart is
// decided in the core; this picks the files, keeps the selected lines and
// shows the messages. Lines selected here never play or preview.
class ListCommands : public QObject {
  Q_OBJECT

 public:
  // What the lists need of the chart's file, which the document commands
  // keep: its folder, and the opening of a chart that was dropped.
  struct ChartFiles {
    std::function<QString()> folder;
    // True when the paths held a chart; the rest of the drop is then ignored.
    std::function<bool(const QStringList&)> openDroppedChart;
  };

  ListCommands(ChartSession& session, const ListControls& controls, Prompts& prompts, ChartFiles files,
               QObject* parent = nullptr);

  void Assign(DefinitionKind kind);
  void Clear(DefinitionKind kind);
  // step -1: ▲, +1: ▼.
  void Move(DefinitionKind kind, int step);
  void ReleaseUnused();
  void Compact();
  // Asks first, as the step cannot be undone, then widens a hexadecimal
  // chart's indices to base 36; the selected lines keep their labels.
  void ExpandIndices();
  // Files dropped on the window: a chart among them is opened instead.
  void Drop(const QStringList& paths);

 private:
  QListWidget* ListOf(DefinitionKind kind) const;
  void Select(DefinitionKind kind, int row);
  QString NameAt(DefinitionKind kind, int row) const;

  ChartSession& session_;
  ListControls c_;
  Prompts& prompts_;
  ChartFiles files_;
};

}  // namespace beatloom
