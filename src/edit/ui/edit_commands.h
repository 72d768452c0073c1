#pragma once

#include <QObject>
#include <functional>

#include "session/chart_session.h"
#include "view/score_geometry.h"

class QAbstractButton;
class QAction;

namespace beatloom {

class Clipboard;
class Prompts;

// The Edit menu items of the selection and clipboard commands, and the items
// whose enabled state follows the selection and the clipboard.
struct EditControls {
  QAction* cutAction = nullptr;                 // K8
  QAction* copyAction = nullptr;                // K7
  QAction* pasteAction = nullptr;               // K6
  QAction* deleteAction = nullptr;              // Delete1
  QAction* copyToClipboardAction = nullptr;     // N45
  QAction* pasteFromClipboardAction = nullptr;  // N46
  QAction* selectAllAction = nullptr;           // subete1
  QAction* selectPlayer1Action = nullptr;       // N1P1
  QAction* selectPlayer2Action = nullptr;       // N2P1
  QAction* selectBgmAction = nullptr;           // BGMB1
  QAction* selectBmpAction = nullptr;           // BMPM1
  // Enabled with their twins; they trigger them.
  QAction* popupCutAction = nullptr;       // K19
  QAction* popupCopyAction = nullptr;      // K20
  QAction* popupPasteAction = nullptr;     // K21
  QAction* popupDeleteAction = nullptr;    // Delete2
  QAction* searchReplaceAction = nullptr;  // K11
  // Down while the score is in edit mode, the only mode these items work in.
  QAbstractButton* selectModeButton = nullptr;  // s_select
};

// Runs the selection and clipboard commands and keeps their items' enabled
// states in step with the chart, the clipboard and the editing mode.
class EditCommands : public QObject {
  Q_OBJECT

 public:
  // view: where the score stands now, which decides where Paste puts the
  // block.
  EditCommands(ChartSession& session, const EditControls& controls, Clipboard& clipboard, Prompts& prompts,
               std::function<ScoreGeometry()> view, QObject* parent = nullptr);
  ~EditCommands() override;

  // Enables exactly the items the chart, the clipboard and the mode allow.
  void RefreshMenuState();

 private:
  void Connect(QAction* action, std::function<void()> command);
  void CopyToClipboard();
  void PasteFromClipboard();

  ChartSession& session_;
  ChartSession::ListenerId listener_ = 0;
  EditControls c_;
  Clipboard& clipboard_;
  Prompts& prompts_;
  std::function<ScoreGeometry()> view_;
  bool following_ = false;
};

}  // namespace beatloom
