#include "edit/ui/edit_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "edit/selection.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/prompts.h"

namespace beatloom {

namespace {

PasteWindow PasteWindowOf(const ScoreGeometry& g) {
  return {[g](int tick) { return g.ShowsTick(tick); }, g.TickAtY(g.pbHeight)};
}

}  // namespace

EditCommands::EditCommands(ChartSession& session, const EditControls& controls, Clipboard& clipboard, Prompts& prompts,
                           std::function<ScoreGeometry()> view, QObject* parent)
    : QObject(parent),
      session_(session),
      c_(controls),
      clipboard_(clipboard),
      prompts_(prompts),
      view_(std::move(view)) {
  Connect(c_.cutAction, [this] { CutSelected(session_); });
  Connect(c_.copyAction, [this] { CopySelected(session_); });
  Connect(c_.pasteAction, [this] { PasteClip(session_, PasteWindowOf(view_())); });
  Connect(c_.deleteAction, [this] { DeleteSelected(session_); });
  Connect(c_.copyToClipboardAction, [this] { CopyToClipboard(); });
  Connect(c_.pasteFromClipboardAction, [this] { PasteFromClipboard(); });
  const std::pair<QAction*, LaneGroup> groups[] = {{c_.selectAllAction, LaneGroup::All},
                                                   {c_.selectPlayer1Action, LaneGroup::Player1},
                                                   {c_.selectPlayer2Action, LaneGroup::Player2},
                                                   {c_.selectBgmAction, LaneGroup::Bgm},
                                                   {c_.selectBmpAction, LaneGroup::Bmp}};
  // A structured binding cannot be captured by clang 14: copy it first.
  for (const auto& entry : groups) {
    const LaneGroup group = entry.second;
    Connect(entry.first, [this, group] { SelectLaneGroup(session_, group); });
  }
  // Whatever changed the objects or the selection (these commands, the mouse,
  // an undo, another chart) tells the session; the items follow from there.
  // The chart of the start-up leaves the items as the menu starts them; once
  // they follow, another chart refreshes them too, so that no Cut stays
  // enabled with nothing selected, ready to empty the clipboard.
  listener_ = session_.AddListener([this](const ChartNotice& notice) {
    if (!(notice.aspects & (kChartObjects | kChartSelection))) return;
    if (notice.replaced != ChartReplaced::No && !following_) return;
    RefreshMenuState();
  });
  if (c_.selectModeButton)
    connect(c_.selectModeButton, &QAbstractButton::toggled, this, &EditCommands::RefreshMenuState);
}

EditCommands::~EditCommands() { session_.RemoveListener(listener_); }

void EditCommands::Connect(QAction* action, std::function<void()> command) {
  if (action) connect(action, &QAction::triggered, this, std::move(command));
}

void EditCommands::RefreshMenuState() {
  following_ = true;
  const bool editMode = c_.selectModeButton && c_.selectModeButton->isChecked();
  const std::vector<std::string> enabled = EnabledEditMenuItems(session_, editMode);
  for (QAction* a : {c_.popupCutAction, c_.popupCopyAction, c_.copyToClipboardAction, c_.pasteFromClipboardAction,
                     c_.cutAction, c_.copyAction, c_.deleteAction, c_.popupDeleteAction, c_.pasteAction,
                     c_.popupPasteAction, c_.selectAllAction, c_.selectPlayer1Action, c_.selectPlayer2Action,
                     c_.selectBgmAction, c_.selectBmpAction, c_.searchReplaceAction}) {
    if (!a) continue;
    const std::string name = a->objectName().toStdString();
    a->setEnabled(std::find(enabled.begin(), enabled.end(), name) != enabled.end());
  }
}

void EditCommands::CopyToClipboard() { clipboard_.SetText(QString::fromStdString(CopySelectedAsText(session_))); }

void EditCommands::PasteFromClipboard() {
  const std::optional<QString> text = clipboard_.Text();
  if (!text) return;
  const std::string refusal = PasteFromText(session_, text->toStdString(), PasteWindowOf(view_()));
  if (!refusal.empty()) prompts_.Message(QString::fromStdString(refusal), Prompts::Icon::Error);
}

}  // namespace beatloom
