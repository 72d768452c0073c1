#include "app/ui/shell_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

#include "app/ui/main_menu.h"
#include "app/ui/splash_window.h"
#include "platform/ui/prompts.h"
#include "platform/ui/shell.h"

namespace beatloom {

namespace {

const char* const kHelpFile = "help/help.html";
const char* const kNoHelpMessage =
    "ヘルプファイルがありません。WWWヘルプを参照し、オフライン用ヘルプをダウンロードして下さい。";

}  // namespace

ShellCommands::ShellCommands(const ShellControls& controls, Prompts& prompts, Shell& shell, SplashWindow& splash,
                             QStringList helpFolders, QObject* parent)
    : QObject(parent),
      c_(controls),
      prompts_(prompts),
      shell_(shell),
      splash_(splash),
      helpFolders_(std::move(helpFolders)) {
  connect(c_.headerPagesToggle, &QPushButton::clicked, this, &ShellCommands::ToggleHeaderPages);
  connect(c_.showSettingsColumnAction, &QAction::triggered, this, &ShellCommands::ToggleSettingsColumn);
  connect(c_.helpAction, &QAction::triggered, this, &ShellCommands::OpenHelp);
  connect(c_.homePageAction, &QAction::triggered, this,
          [this] { shell_.OpenUrl(QUrl(QString::fromUtf8(kHomePageUrl))); });
  connect(c_.aboutAction, &QAction::triggered, this, [this] { splash_.ShowAbout(); });
}

void ShellCommands::ToggleHeaderPages() {
  const bool show = c_.headerPages->isHidden();
  c_.headerPages->setVisible(show);
  c_.headerPagesToggle->setText(show ? QStringLiteral("△") : QStringLiteral("▽"));
  emit panelsChanged();
}

void ShellCommands::ToggleSettingsColumn() {
  const bool show = c_.settingsColumn->isHidden();
  c_.settingsColumn->setVisible(show);
  c_.showSettingsColumnAction->setChecked(show);
  emit panelsChanged();
}

void ShellCommands::OpenHelp() {
  for (const QString& folder : helpFolders_) {
    const QString help = QDir(folder).filePath(QString::fromUtf8(kHelpFile));
    if (!QFileInfo::exists(help)) continue;
    shell_.OpenUrl(QUrl::fromLocalFile(help));
    return;
  }
  prompts_.Message(QString::fromUtf8(kNoHelpMessage));
}

}  // namespace beatloom
