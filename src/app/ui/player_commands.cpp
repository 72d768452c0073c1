#include "app/ui/player_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdlib>

#include "app/ui/config_dialog.h"
#include "platform/ui/shell.h"

namespace beatloom {

PlayerCommands::PlayerCommands(const PlayerControls& controls, PlayerHooks hooks, Prompts& prompts, Shell& shell,
                               QObject* parent)
    : QObject(parent),
      c_(controls),
      hooks_(std::move(hooks)),
      prompts_(prompts),
      shell_(shell),
      exApps_(LoadExApps(hooks_.programFolder)) {
  const std::pair<QAction*, ExAppField> launches[] = {{c_.playFromStartAction, ExAppField::PlayFromStart},
                                                      {c_.playFromViewAction, ExAppField::PlayFromView},
                                                      {c_.playAction, ExAppField::Play}};
  for (const auto& launch : launches) {
    const ExAppField field = launch.second;
    connect(launch.first, &QAction::triggered, this, [this, field] { Launch(field); });
  }
  connect(c_.stopButton, &QAbstractButton::clicked, this, [this] { Launch(ExAppField::Stop); });
  connect(c_.optionsAction, &QAction::triggered, this, &PlayerCommands::RunOptions);
  connect(c_.selector, &QComboBox::currentIndexChanged, this, &PlayerCommands::RefreshButtons);
  FillSelector(QString());
}

int PlayerCommands::SelectedEntry() const {
  const int entry = c_.selector->currentIndex() - 1;
  return entry < ExAppCount(exApps_) ? entry : -1;
}

bool PlayerCommands::BuiltInSelected() const { return c_.selector->currentIndex() == 0; }

void PlayerCommands::RefreshPlayItems() {
  const bool enabled = BuiltInSelected() || c_.chartFileCommand->isEnabled();
  for (QAction* a : {c_.playFromStartAction, c_.playFromViewAction}) a->setEnabled(enabled);
}

// With no entry selected (a list file of fewer than six lines) nothing can be
// played, so no button offers it.
void PlayerCommands::RefreshButtons() {
  RefreshPlayItems();
  if (BuiltInSelected()) {
    for (QAbstractButton* b : {c_.playFromStartButton, c_.playFromViewButton, c_.stopButton, c_.playButton})
      b->setEnabled(true);
    return;
  }
  if (hooks_.stopInside) hooks_.stopInside();
  const int entry = SelectedEntry();
  const std::pair<QAbstractButton*, ExAppField> buttons[] = {{c_.playFromStartButton, ExAppField::PlayFromStart},
                                                             {c_.playFromViewButton, ExAppField::PlayFromView},
                                                             {c_.stopButton, ExAppField::Stop},
                                                             {c_.playButton, ExAppField::Play}};
  for (const auto& [button, field] : buttons)
    button->setEnabled(entry >= 0 && !ExAppLine(exApps_, entry, field).empty());
}

void PlayerCommands::FillSelector(const QString& keep) {
  {
    const QSignalBlocker block(c_.selector);
    c_.selector->clear();
    c_.selector->addItem(QString::fromUtf8(kBuiltInPlayerName));
    for (int k = 0; k < ExAppCount(exApps_); ++k)
      c_.selector->addItem(QString::fromStdString(ExAppLine(exApps_, k, ExAppField::Name)));
    c_.selector->setCurrentIndex(std::max(c_.selector->findText(keep), 0));
  }
  RefreshButtons();
}

void PlayerCommands::LaunchBuiltIn(ExAppField action) {
  switch (action) {
    case ExAppField::PlayFromView:
      hooks_.playInside(std::max(DisplayedMeasure(hooks_.verticalScroll()), 0));
      break;
    case ExAppField::Stop:
      hooks_.stopInside();
      break;
    default:  // from the start; it has no play mode of its own
      hooks_.playInside(0);
  }
}

void PlayerCommands::PlayOrStop() {
  if (BuiltInSelected() && hooks_.playingInside()) return hooks_.stopInside();
  Launch(ExAppField::PlayFromView);
}

void PlayerCommands::Launch(ExAppField action) {
  if (BuiltInSelected()) return LaunchBuiltIn(action);
  if (!c_.chartFileCommand->isEnabled()) return;
  const int entry = SelectedEntry();
  if (entry < 0) return;
  const std::string& pattern = ExAppLine(exApps_, entry, action);
  const std::string path = QFileInfo(hooks_.workingCopyPath()).absoluteFilePath().toStdString();
  const ArgumentText text = SubstitutePlaceholders(pattern, DisplayedMeasure(hooks_.verticalScroll()), path);
  // The copy is written for every action, stop included: a player may read
  // it when told to stop. Without it a player would read a stale copy, or
  // whatever someone else put at its name, so none is started.
  const QString notWritten = hooks_.writeWorkingCopy();
  if (!notWritten.isEmpty()) {
    hooks_.report(
        QStringLiteral("外部ビューアを起動しませんでした: 再生用の一時ファイルを書き込めません (%1)").arg(notWritten));
    return;
  }
  if (pattern.empty()) return;
  const char* searchPath = std::getenv("PATH");
  const QString program = QString::fromStdString(ResolvePlayerProgram(
      ExAppLine(exApps_, entry, ExAppField::Program), hooks_.programFolder, searchPath ? searchPath : ""));
  QStringList arguments;
  for (const std::string& argument : SplitArguments(text)) arguments << QString::fromStdString(argument);
  const Shell::StartOutcome outcome = shell_.StartProgram(program, arguments);
  hooks_.report(outcome.started
                    ? QString()
                    : QStringLiteral("外部ビューアを起動できませんでした: %1 (%2)").arg(program, outcome.reason));
}

void PlayerCommands::RunOptions() {
  const QString shown = c_.selector->currentText();
  TConfig dialog(exApps_, hooks_.programFolder, *hooks_.settings, prompts_, c_.window);
  dialog.exec();
  // Also after a failed write the author then cancelled: the names shown must
  // be those of the list the launches use.
  if (dialog.ListReplaced()) FillSelector(shown);
}

}  // namespace beatloom
