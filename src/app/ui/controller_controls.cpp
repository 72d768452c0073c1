#include "app/ui/controller_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

#include "analysis/timing_cache.h"
#include "app/program_folder.h"
#include "bms/ui/document_commands.h"
#include "bms/ui/log_window.h"
#include "view/ui/score_widget.h"

namespace beatloom {

ViewControls ViewControlsOf(const MainWidgets& w, const MainMenu& m, ScoreWidget* score) {
  return {score,
          w.verticalScrollBar,
          w.horizontalScrollBar,
          w.gridHeightBar,
          w.gridWidthBar,
          w.objectHeightBar,
          w.gridHeightResetButton,
          w.gridWidthResetButton,
          w.objectHeightResetButton,
          w.gridCombo,
          w.subGridCombo,
          m.showIndexNumbersAction,
          m.showFileNamesAction,
          m.flatObjectWidthAction,
          {w.selectModeButton, w.writeModeButton, w.eraseModeButton},
          {w.dropOverwriteCheck, w.keepLayoutCheck}};
}

ShellControls ShellControlsOf(const MainWidgets& w, const MainMenu& m) {
  return {w.headerPages, w.headerPagesToggle, w.settingsColumn, m.showSettingsColumnAction,
          m.helpAction,  m.homePageAction,    m.aboutAction};
}

EditControls EditControlsOf(const MainWidgets& w, const MainMenu& m) {
  return {m.cutAction,
          m.copyAction,
          m.pasteAction,
          m.deleteAction,
          m.copyToClipboardAction,
          m.pasteFromClipboardAction,
          m.selectAllAction,
          m.selectPlayer1Action,
          m.selectPlayer2Action,
          m.selectBgmAction,
          m.selectBmpAction,
          m.popupCutAction,
          m.popupCopyAction,
          m.popupPasteAction,
          m.popupDeleteAction,
          m.searchReplaceAction,
          w.selectModeButton};
}

ArrangeControls ArrangeControlsOf(const MainMenu& m, QWidget* window) {
  return {m.objectSpacingAction, m.mirrorAction, window};
}

ListControls ListControlsOf(const MainWidgets& w, const MainMenu& m) {
  return {w.wavList,
          w.bmpList,
          w.assignWavButton,
          w.clearWavButton,
          w.wavUpButton,
          w.wavDownButton,
          w.assignBmpButton,
          w.clearBmpButton,
          w.bmpUpButton,
          w.bmpDownButton,
          m.releaseUnusedAction,
          m.compactIndicesAction,
          w.dropOverwriteCheck,
          m.expandIndicesAction};
}

KeyControls KeyControlsOf(const MainWidgets& w, const MainMenu& m, QMainWindow* window, ScoreWidget* score) {
  return {window,    score,     w.verticalScrollBar, w.horizontalScrollBar, w.listPages,
          w.wavList, w.bmpList, m.deleteAction,      w.stopSoundButton};
}

MouseControls MouseControlsOf(const MainWidgets& w, const MainMenu& m, ScoreWidget* score, TimingCache& timing) {
  return {score,
          w.selectModeButton,
          w.writeModeButton,
          w.eraseModeButton,
          w.statusKindLabel,
          w.statusMeasureLabel,
          w.statusBeatLabel,
          w.statusGridLabel,
          w.statusZoneLabel,
          w.wavList,
          w.bmpList,
          m.scorePopup,
          w.verticalScrollBar,
          w.horizontalScrollBar,
          m.activationClickGuardAction,
          w.statusTimeLabel,
          [&timing](double ticks) { return timing.Timing().SecondsAtTicks(ticks); }};
}

QString ChartFolderOf(const ChartSession& session) {
  return QFile::decodeName(QByteArray::fromStdString(session.File().Folder()));
}

ImagePreviewControls ImagePreviewControlsOf(const MainWidgets& w, const MainMenu& m, KeyController& keys,
                                            const ChartSession& session) {
  return {w.bmpList, w.showImageButton, m.showImagePreviewAction, &keys.showImagePreview,
          [&session] { return ChartFolderOf(session); }};
}

MeasureControls MeasureControlsOf(const MainMenu& m) {
  return {m.insertMeasureAction, m.deleteMeasureAction, m.deleteMeasuresAction, m.measureLengthAction};
}

void ConnectMenuTwins(const MainMenu& m, const MainWidgets& w) {
  const std::pair<QAbstractButton*, QAction*> repeats[] = {{w.openButton, m.openAction},
                                                           {w.saveButton, m.saveAction},
                                                           {w.playFromStartButton, m.playFromStartAction},
                                                           {w.playFromViewButton, m.playFromViewAction},
                                                           {w.playButton, m.playAction}};
  for (const auto& [button, action] : repeats)
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
  const std::pair<QAction*, QAction*> popup[] = {{m.popupCutAction, m.cutAction},
                                                 {m.popupCopyAction, m.copyAction},
                                                 {m.popupPasteAction, m.pasteAction},
                                                 {m.popupDeleteAction, m.deleteAction}};
  for (const auto& [item, twin] : popup) QObject::connect(item, &QAction::triggered, twin, &QAction::trigger);
  const std::pair<QAction*, QAbstractButton*> modes[] = {{m.selectModeAction, w.selectModeButton},
                                                         {m.writeModeAction, w.writeModeButton},
                                                         {m.eraseModeAction, w.eraseModeButton}};
  for (const auto& [item, button] : modes) QObject::connect(item, &QAction::triggered, button, &QAbstractButton::click);
}

AnalysisControls AnalysisControlsOf(const MainWidgets& w, const MainMenu& m, const ViewSettings& view, LogWindow& log,
                                    const ChartSession& session, QWidget* window) {
  QScrollBar* bar = w.verticalScrollBar;
  return {m.chartStatsAction,
          m.chartCheckAction,
          log.lines(),
          [&log] { log.Present(); },
          [bar](int pos) { bar->setValue(-pos); },
          [&session] { return ChartFolderOf(session); },
          &view,
          window};
}

ListCommands::ChartFiles ChartFilesOf(const ChartSession& session, DocumentCommands& commands) {
  return {[&session] { return ChartFolderOf(session); },
          [&commands](const QStringList& paths) { return commands.OpenDroppedChart(paths); }};
}

PlayerControls PlayerControlsOf(const MainWidgets& w, const MainMenu& m, QWidget* window) {
  return {w.playerCombo,
          w.playFromStartButton,
          w.playFromViewButton,
          w.playButton,
          w.stopPlayerButton,
          m.playFromStartAction,
          m.playFromViewAction,
          m.playAction,
          m.optionsAction,
          m.editSourceAction,
          window};
}

PlayerHooks PlayerHooksOf(const MainWidgets& w, DocumentCommands& commands, ChartSession& session,
                          const ScoreWidget& score, IniFile& settings, const std::string& programFolder) {
  return {programFolder,
          &settings,
          [&score] { return score.VerticalScroll(); },
          [&commands] { return commands.PlayerWorkingCopyPath(); },
          [&commands] {
            QString reason;
            commands.WritePlayerWorkingCopy(&reason);
            return reason;
          },
          [&commands, &session, message = w.statusMessageLabel](const QString& line) {
            message->setText(line);
            if (line.isEmpty()) return;
            session.ChartLog().Add(line.toStdString());
            commands.ShowLog();
          },
          {},
          {},
          {}};
}

QStringList HelpFoldersOf(const std::string& programFolder, const QString& executableFolder) {
  const std::string shared = SharedDataFolder(QFile::encodeName(executableFolder).toStdString());
  return {QFile::decodeName(programFolder.c_str()), executableFolder, QFile::decodeName(shared.c_str())};
}

}  // namespace beatloom
