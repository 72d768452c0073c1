#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QPushButton;
class QTabWidget;
class QWidget;

namespace beatloom {

class Prompts;
class Shell;
class SplashWindow;

// The controls the shell commands serve.
struct ShellControls {
  QTabWidget* headerPages = nullptr;
  QPushButton* headerPagesToggle = nullptr;
  QWidget* settingsColumn = nullptr;
  QAction* showSettingsColumnAction = nullptr;
  QAction* helpAction = nullptr;
  QAction* homePageAction = nullptr;
  QAction* aboutAction = nullptr;
};

// The commands about the program rather than the chart: help, home page,
// About, showing and hiding the side panels.
class ShellCommands : public QObject {
  Q_OBJECT

 public:
  // helpFolders: where the help page is looked for, in order.
  ShellCommands(const ShellControls& controls, Prompts& prompts, Shell& shell, SplashWindow& splash,
                QStringList helpFolders, QObject* parent);

 signals:
  // A panel was shown or hidden: the window lays its parts out again.
  void panelsChanged();

 private:
  void ToggleHeaderPages();
  void ToggleSettingsColumn();
  void OpenHelp();

  ShellControls c_;
  Prompts& prompts_;
  Shell& shell_;
  SplashWindow& splash_;
  QStringList helpFolders_;
};

}  // namespace beatloom
