#include "edit/ui/arrange_commands.h"

#include <QAction>

#include "edit/arrange.h"
#include "edit/ui/spacing_dialog.h"
#include "platform/ui/prompts.h"

namespace beatloom {

ArrangeCommands::ArrangeCommands(ChartSession& session, const ArrangeControls& controls, Prompts& prompts,
                                 QObject* parent)
    : QObject(parent), session_(session), prompts_(prompts), dialog_(new SpacingDialog(controls.window)) {
  if (controls.objectSpacingAction)
    connect(controls.objectSpacingAction, &QAction::triggered, this, &ArrangeCommands::ChangeSpacing);
  if (controls.mirrorAction) connect(controls.mirrorAction, &QAction::triggered, this, &ArrangeCommands::Mirror);
}

ArrangeCommands::~ArrangeCommands() {
  if (dialog_ && !dialog_->parent()) delete dialog_;
}

void ArrangeCommands::ChangeSpacing() {
  const std::optional<SpacingRequest> request = dialog_->Ask();
  if (!request) return;
  if (const size_t overlaps = SpacingOverlaps(session_.Doc(), *request)) {
    const QString question = QStringLiteral(
                                 "この幅では%1個のオブジェが同じレーンの同じ位置に重なり、保存すると失われます。\n"
                                 "間隔を変更しますか？")
                                 .arg(overlaps);
    if (prompts_.Ask(question, Prompts::Icon::Question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes) return;
  }
  const ArrangeResult result = ChangeObjectSpacing(session_, *request);
  if (result.message.empty()) return;
  const bool refused = result.outcome == EditOutcome::Refused;
  prompts_.Message(QString::fromStdString(result.message), refused ? Prompts::Icon::Error : Prompts::Icon::Warning);
}

void ArrangeCommands::Mirror() { MirrorSelected(session_); }

}  // namespace beatloom
