#include "app/ui/main_window.h"

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <ctime>

#include "analysis/timing_cache.h"
#include "app/program_folder.h"
#include "app/ui/controller_controls.h"
#include "app/ui/header_panel.h"
#include "app/ui/language.h"
#include "app/ui/main_layout.h"
#include "app/ui/shell_commands.h"
#include "app/ui/splash_window.h"
#include "app/ui/step_captions.h"
#include "app/ui/window_settings.h"
#include "app/window_placement.h"
#include "audio/ui/playback.h"
#include "bms/ui/document_commands.h"
#include "bms/ui/log_window.h"
#include "bms/ui/source_editor.h"
#include "edit/name_lists.h"
#include "edit/recent_files.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/search_dialog.h"
#include "edit/ui/sound_preview.h"
#include "formats/ui/format_commands.h"
#include "model/file_io.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/prompts.h"
#include "platform/ui/shell.h"
#include "view/ui/color_dialog.h"
#include "view/ui/key_controller.h"
#include "view/ui/mouse_controller.h"
#include "view/ui/score_widget.h"
#include "view/ui/text_field_shortcuts.h"
#include "view/ui/view_controller.h"

namespace beatloom {

TMain::TMain(const TMainOptions& options) : options_(options) {
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(QStringLiteral("Beatloom"));
  programFolder_ = options.programFolder.empty() ? beatloom::ProgramFolder() : options.programFolder;
  if (!options.prompts) ownPrompts_ = std::make_unique<QtPrompts>(this);
  prompts_ = options.prompts ? options.prompts : ownPrompts_.get();
  if (!options.shell) ownShell_ = std::make_unique<QtShell>();
  shell_ = options.shell ? options.shell : ownShell_.get();
  if (!options.session) ownSession_ = std::make_unique<ChartSession>();
  session_ = options.session ? options.session : ownSession_.get();
  settingsFile_ = IniFile(JoinPath(programFolder_, kSettingsFile));
  // A program folder of its own (tests, $BEATLOOM_HOME) keeps the state too.
  stateFolder_ = options.programFolder.empty() ? StateFolder() : programFolder_;
  SetAsideFolderForInPlaceSaves(stateFolder_);
  recovery_ = std::make_unique<RecoveryStore>(stateFolder_, static_cast<long>(getpid()));
  score_ = new ScoreWidget(session_->Doc(), view_);
  w_ = BuildMainLayout(this, score_);
  menu_ = BuildMainMenu(this);
  stepCaptions_ = std::make_unique<StepCaptions>(*this);
  StartLanguage(*this, programFolder_, options_.executableFolder, options_.desktopLanguage);
  FitSettingsColumn(w_);
  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setInterval(100);
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setObjectName(QStringLiteral("RecoveryTimer"));
  recoveryTimer_->setInterval(60 * 1000);
  connect(recoveryTimer_, &QTimer::timeout, this, &TMain::UpdateRecoveryCopy);
  // A save, a load or a new chart leaves nothing unsaved: the copy goes at
  // once, not a minute later.
  recoveryListener_ = session_->AddListener([this](const ChartNotice& notice) {
    if (!ChartChanged(notice)) return;
    ++revision_;
    if (!session_->Doc().Modified) recovery_->Remove();
  });
  BuildControllers();
  ConnectCommands();
  ConnectRepeatedCommands();
  resize(573, 577);
  FormCreate();
}

TMain::~TMain() {
  session_->RemoveListener(recoveryListener_);
  // The controls and the controllers that listen to the chart session refer
  // to members that go before the child objects would: take them down while
  // both exist.
  delete viewController_;
  delete playback_;
  delete headerPanel_;
  delete keyController_;
  delete textFieldShortcuts_;
  mouseController_.reset();
  delete takeCentralWidget();
}

void TMain::BuildControllers() {
  splash_ = new SplashWindow(this);
  logWindow_ = new LogWindow(this);
  sourceEditor_ = new SourceEditor(*prompts_, this);
  headerPanel_ = new HeaderPanel(*session_, w_, this);
  viewController_ = new ViewController(*session_, view_, ViewControlsOf(w_, menu_, score_), this);
  // The help page ships beside the program; a program folder of its own
  // (BEATLOOM_HOME, or the per-user folder) need not hold a copy.
  const QString executableFolder = options_.executableFolder.empty()
                                       ? QCoreApplication::applicationDirPath()
                                       : QString::fromStdString(options_.executableFolder);
  shellCommands_ = new ShellCommands(ShellControlsOf(w_, menu_), *prompts_, *shell_, *splash_,
                                     HelpFoldersOf(programFolder_, executableFolder), this);
  connect(shellCommands_, &ShellCommands::panelsChanged, this, &TMain::FormResize);
  commands_ = std::make_unique<DocumentCommands>(*session_, *prompts_, static_cast<DocumentHost&>(*this),
                                                 *sourceEditor_, programFolder_);
  session_->onHistoryChanged = [this] { HistoryChanged(); };
  menu_.redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  if (!options_.clipboard) ownClipboard_ = std::make_unique<QtClipboard>();
  editCommands_ = std::make_unique<EditCommands>(*session_, EditControlsOf(w_, menu_),
                                                 options_.clipboard ? *options_.clipboard : *ownClipboard_, *prompts_,
                                                 [this] { return score_->Geometry(); });
  textFieldShortcuts_ = new TextFieldShortcuts(
      this, {menu_.undoAction, menu_.redoAction, menu_.cutAction, menu_.copyAction, menu_.pasteAction}, this);
  keyController_ = new KeyController(KeyControlsOf(w_, menu_, this, score_), *textFieldShortcuts_, this);
  colorDialog_ = new ColorDialog(view_, *prompts_, this);
  connect(colorDialog_, &ColorDialog::colorsChanged, viewController_, &ViewController::Redraw);
  connect(menu_.colorsAction, &QAction::triggered, colorDialog_, &ColorDialog::Open);
  searchDialog_ = new TForm7(*session_, *prompts_, this);
  connect(menu_.searchReplaceAction, &QAction::triggered, searchDialog_, &TForm7::Open);
  timing_ = std::make_unique<TimingCache>(*session_);
  mouseController_ =
      std::make_unique<MouseController>(*session_, MouseControlsOf(w_, menu_, score_, *timing_), *prompts_, nullptr);
  connect(timer_, &QTimer::timeout, mouseController_.get(), &MouseController::Tick);
  arrangeCommands_ = new ArrangeCommands(*session_, ArrangeControlsOf(menu_, this), *prompts_, this);
  listCommands_ =
      new ListCommands(*session_, ListControlsOf(w_, menu_), *prompts_, ChartFilesOf(*session_, *commands_), this);
  measureCommands_ = new MeasureCommands(
      *session_, MeasureControlsOf(menu_), *prompts_, [this] { return mouseController_->Editor().AnchorPos(); }, this);
  imagePreview_ = new TForm5(session_->Doc(), ImagePreviewControlsOf(w_, menu_, *keyController_, *session_), this);
  analysis_ = std::make_unique<AnalysisCommands>(*session_,
                                                 AnalysisControlsOf(w_, menu_, view_, *logWindow_, *session_, this));
  BuildPlayers();
}

void TMain::BuildPlayers() {
  PlaybackHooks playing;
  playing.chartFolder = [this] { return ChartFolderOf(*session_); };
  playing.showLine = [this](int pos) { score_->SetPlayLine(pos); };
  // A line about to leave the top puts its measure at the bottom, so the
  // whole score above it is what comes next.
  playing.keepInView = [this](int pos) {
    if (!score_->Geometry().ShowsTick(pos)) w_.verticalScrollBar->setValue(-pos);
  };
  playing.status = [this](const QString& text) { w_.statusMessageLabel->setText(text); };
  playing.log = [this](const QString& line) {
    session_->ChartLog().Add(line.toStdString());
    LogChanged(false);
  };
  playback_ = new Playback(*session_, std::move(playing), this);
  PlayerHooks hooks = PlayerHooksOf(w_, *commands_, *session_, *score_, settingsFile_, programFolder_);
  hooks.playInside = [this](int measure) { playback_->PlayFrom(measure); };
  hooks.stopInside = [this] { playback_->Stop(); };
  hooks.playingInside = [this] { return playback_->Active(); };
  playerCommands_ = new PlayerCommands(PlayerControlsOf(w_, menu_, this), std::move(hooks), *prompts_, *shell_, this);
  // Space belongs to a text field that has the focus (it takes the key
  // before any shortcut); elsewhere it starts and stops playback.
  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
  connect(space, &QShortcut::activated, this, [this] {
    if (!IsTextField(QApplication::focusWidget())) playerCommands_->PlayOrStop();
  });
  connect(mouseController_.get(), &MouseController::objectPressed, this, [this](int index) {
    if (settingsFile_.ReadBool(kSectionMain, kHearNotesKey, true)) playback_->PreviewObject(index);
  });
}

// ---- start-up, first resize, close ----

void TMain::FormCreate() {
  splash_->ShowSplash();
  // The splash stays up a moment even on a fast machine; only painting is
  // let through meanwhile.
  QElapsedTimer shown;
  shown.start();
  while (shown.elapsed() < options_.splashMilliseconds) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(10);
  }

  suppressResize_ = true;
  settingsApplied_ = false;
  Document& doc = session_->Doc();
  doc.Modified = false;
  doc.DocumentIO = true;
  session_->Clipboard().clear();
  LoadNameLists();

  WriteLastBoot(settingsFile_, std::time(nullptr), QLocale().decimalPoint().at(0).toLatin1());
  startSettings_ = ReadSettings(settingsFile_, Settings{});
  w_.devModeLabel->setVisible(startSettings_.DevMode);
  session_->SetUndoLimit(static_cast<size_t>(startSettings_.UndoLimit));
  playback_->SetSilent(startSettings_.NoSound);
  // The export copies the template from the program folder, so that is where
  // its presence decides whether the item works.
  FormatHooks hooks;
  hooks.confirmDiscard = [this] { return commands_->ConfirmDiscard(); };
  hooks.resetChart = [this] {
    commands_->ResetChart();
    // An imported chart has no file: nothing may be written beside the old one.
    commands_->ForgetFileNames();
  };
  hooks.dialogFolder = [start = QDir::currentPath()] { return start; };
  formats_ = std::make_unique<FormatCommands>(*session_, *prompts_, programFolder_, hooks, this);
  menu_.exportWinPsmAction->setEnabled(formats_->WinPsmAvailable());
  soundPreview_ = new SoundPreview(
      doc, w_.wavList, w_.stopSoundButton, timer_, [this] { return ChartFolderOf(*session_); }, !startSettings_.NoSound,
      this);
  setAcceptDrops(true);

  w_.gridCombo->setCurrentIndex(startSettings_.GridPosition);
  w_.subGridCombo->setCurrentIndex(startSettings_.SubGridPosition);
  commands_->ResetToNew();

  w_.gridHeightBar->setValue(DefaultGridHeight);
  w_.objectHeightBar->setValue(DefaultObjectHeight);
  viewController_->TakeControls();
  score_->RecomputeLanes();

  ApplyWindowBounds(startSettings_);
  suppressResize_ = false;
  timer_->start();
  recoveryTimer_->start();
}

void TMain::ApplyWindowBounds(const Settings& s) {
  // The screen the window opens on comes first: a first start centres the
  // window there.
  std::vector<WindowBounds> screens;
  const QScreen* own = screen();
  for (const QScreen* one : QGuiApplication::screens()) {
    const QRect r = one->availableGeometry();
    const auto at = one == own ? screens.begin() : screens.end();
    screens.insert(at, {r.x(), r.y(), r.width(), r.height()});
  }
  const QRect outer = frameGeometry();
  const QRect inner = geometry();
  const FrameMargins frame{inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                           outer.bottom() - inner.bottom()};
  const WindowBounds b = MainWindowBounds({s.Window, s.WindowPositionStored, s.WindowSizeStored}, frame, screens);
  // The client area, as FormClose reads it back: move() would place the
  // frame on some platforms and the client on others, and the window would
  // creep by the height of its title bar at every start.
  setGeometry(b.left, b.top, b.width, b.height);
}

void TMain::LoadNameLists() {
  std::vector<std::string> lines;
  if (ReadLinesFile(JoinPath(programFolder_, kArtistListFile), lines)) SetNameListItems(NameList::Artist, lines);
  lines.clear();
  if (ReadLinesFile(JoinPath(programFolder_, kGenreListFile), lines)) SetNameListItems(NameList::Genre, lines);
}

void TMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TMain::FormResize() {
  if (suppressResize_) return;
  if (!settingsApplied_) ApplyStoredSettings();
  viewController_->SyncScrollBars();
}

void TMain::ApplyStoredSettings() {
  settingsApplied_ = true;
  for (const QString& argument : options_.arguments) {
    if (!IsCommandLineChart(argument)) continue;
    commands_->LoadChart(argument);
    break;
  }
  Settings now = CollectSettings(w_, menu_, view_);
  now.BMPView = BoundsOf(imagePreview_->Bounds());
  const Settings s = ReadSettings(settingsFile_, now);
  ShowSettings(s, w_, menu_, view_);
  imagePreview_->SetBounds(RectOf(s.BMPView));
  viewController_->TakeControls();
  session_->Doc().Modified = false;
  RecentFilesChanged();
  QTimer::singleShot(0, this, &TMain::OfferRecovery);
  splash_->BecomeAboutDialog();
  viewController_->Redraw();
}

void TMain::UpdateRecoveryCopy() {
  recovery_->Update(session_->Doc(), revision_, session_->File().saveTo, commands_->DiskStamp(), CurrentSaveOptions());
}

// A copy left by a program that did not end cleanly is offered once; one
// the author declines is removed, and the rest wait for the next start once
// one was taken.
void TMain::OfferRecovery() {
  for (const std::string& kept : recovery_->FindSetAsideCopies()) {
    prompts_->Message(QStringLiteral("上書き保存の途中でプログラムが終了したため、保存先のファイルが壊れている"
                                     "おそれがあります。保存前の内容を次のファイルに残してあります"
                                     "（不要になったら削除してください）。\n%1")
                          .arg(QFile::decodeName(kept.c_str())),
                      Prompts::Icon::Warning);
  }
  for (const RecoveryStore::Orphan& orphan : recovery_->FindOrphans()) {
    const QString copy = QFile::decodeName(orphan.chartPath.c_str());
    const QString original = QFile::decodeName(orphan.originalName.c_str());
    const QString when = QFileInfo(copy).lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    const QString question =
        QStringLiteral(
            "前回 Beatloom が正常に終了しなかったため、保存されていない変更の復元用コピーが残っています。\n"
            "元のファイル: %1\nコピーの日時: %2\n\n復元しますか？\n（「いいえ」を選ぶと復元用コピーは削除されます）")
            .arg(original.isEmpty() ? QStringLiteral("（名前なし）") : original, when);
    if (prompts_->Ask(question, Prompts::Icon::Question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes) {
      RecoveryStore::Discard(orphan);
      continue;
    }
    if (!commands_->ConfirmDiscard()) return;
    if (commands_->RestoreRecovery(copy, original, orphan.originalStamp)) {
      RecoveryStore::Discard(orphan);
      UpdateRecoveryCopy();
    }
    return;
  }
}

void TMain::closeEvent(QCloseEvent* event) {
  if (closing_) return event->accept();
  if (!FormClose()) return event->ignore();
  closing_ = true;
  timer_->stop();
  event->accept();
}

bool TMain::FormClose() {
  if (!commands_->ConfirmDiscard()) return false;
  recovery_->Remove();
  suppressResize_ = true;
  commands_->RemovePlayerWorkingCopy();
  Settings s = CollectSettings(w_, menu_, view_);
  s.BMPView = BoundsOf(imagePreview_->Bounds());
  const QRect client = geometry();
  s.Window = {client.x(), client.y(), client.width(), client.height()};
  WriteSettings(settingsFile_, s);
  if (startSettings_.DevMode) WriteLanguageTemplate(*this, programFolder_);
  return true;
}

bool TMain::event(QEvent* event) {
  // Back from another program, which may have changed the chart's file.
  if (event->type() == QEvent::WindowActivate && settingsApplied_ && !closing_)
    QTimer::singleShot(0, this, [this] { commands_->CheckFileOnDisk(); });
  return QMainWindow::event(event);
}

// ---- what the document commands ask of the window ----

void TMain::SetCaption(const QString& caption) { setWindowTitle(caption); }

void TMain::SetFileCommandsEnabled(bool enabled) {
  menu_.editSourceAction->setEnabled(enabled);
  // The play items follow it, unless the built-in player needs no file.
  if (playerCommands_) playerCommands_->RefreshPlayItems();
}

void TMain::LogChanged(bool show) {
  logWindow_->ShowLines(session_->ChartLog());
  if (show) logWindow_->Present();
}

SaveOptions TMain::CurrentSaveOptions() const {
  SaveOptions o;
  o.minCells = ParseMinCells(w_.minCellsEdit->text().toStdString());
  o.keepLayout = w_.keepLayoutCheck->isChecked();
  return o;
}

std::vector<std::string> TMain::NameListItems(NameList list) const {
  return list == NameList::Artist ? artists_ : genres_;
}

void TMain::SetNameListItems(NameList list, const std::vector<std::string>& items) {
  if (list == NameList::Artist) {
    artists_ = items;
    headerPanel_->SetArtistItems(items);
  } else {
    genres_ = items;
    headerPanel_->SetGenreItems(items);
  }
}

namespace {

void ShowStep(QAction& action, bool available, const QString& label) {
  // The caption the language file gave the item, kept apart from the label.
  QVariant base = action.property("stepBaseText");
  if (!base.isValid()) {
    base = action.text();
    action.setProperty("stepBaseText", base);
  }
  action.setEnabled(available);
  action.setText(available ? base.toString() + QStringLiteral(": ") + label : base.toString());
}

}  // namespace

void TMain::HistoryChanged() {
  const History& history = session_->ChartHistory();
  ShowStep(*menu_.undoAction, history.CanUndo(), stepCaptions_->Caption(history.UndoLabel()));
  ShowStep(*menu_.redoAction, history.CanRedo(), stepCaptions_->Caption(history.RedoLabel()));
}

void TMain::RecentFilesChanged() {
  const std::vector<std::string> files = LoadRecentFiles(programFolder_);
  menu_.reopenMenu->setEnabled(!files.empty());
  const QList<QAction*> items = menu_.RecentItems();
  for (int k = 0; k < items.size(); ++k) {
    const bool used = k < static_cast<int>(files.size());
    items[k]->setVisible(used);
    items[k]->setText(used ? QStringLiteral("%1:%2").arg(k + 1).arg(QFile::decodeName(files[k].c_str()))
                           : QString::number(k + 1));
  }
}

DocumentHost::AuthorAddress TMain::AuthorDefaults() const {
  const UserDefaults user = ReadUserDefaults(settingsFile_);
  return {user.email, user.url};
}

// ---- wiring ----

void TMain::ConnectCommands() {
  DocumentCommands* c = commands_.get();
  connect(menu_.newAction, &QAction::triggered, this, [c] { c->New(); });
  connect(menu_.openAction, &QAction::triggered, this, [c] { c->Open(); });
  connect(menu_.saveAction, &QAction::triggered, this, [c] { c->Save(); });
  connect(menu_.saveAsAction, &QAction::triggered, this, [c] { c->SaveAs(); });
  connect(menu_.editSourceAction, &QAction::triggered, this, [c] { c->EditSource(); });
  connect(menu_.showLogAction, &QAction::triggered, this, [c] { c->ShowLog(); });
  // A reopen item names its chart in the caption, after the number and the
  // first colon; the path itself may hold more colons.
  for (QAction* item : menu_.RecentItems()) {
    connect(item, &QAction::triggered, this, [c, item] {
      const QString caption = item->text();
      c->OpenFile(caption.mid(caption.indexOf(QLatin1Char(':')) + 1));
    });
  }
  connect(menu_.clearGenreListAction, &QAction::triggered, this, [c] { c->ClearNameList(NameList::Genre); });
  connect(menu_.clearArtistListAction, &QAction::triggered, this, [c] { c->ClearNameList(NameList::Artist); });
  connect(w_.midiFileButton, &QPushButton::clicked, this, [c] { c->ChooseMidiFile(); });
  connect(w_.stageFileButton, &QPushButton::clicked, this, [c] { c->ChooseStageFile(); });
  connect(w_.directInputButton, &QPushButton::clicked, this, &TMain::DirectInput);
  connect(menu_.undoAction, &QAction::triggered, this, [this] { session_->UndoLastChange(); });
  connect(menu_.redoAction, &QAction::triggered, this, [this] { session_->RedoNextChange(); });
  // A menu opened, or the window left, during a drag: the drag ends first,
  // with its objects back where they were.
  for (QMenu* menu : findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToShow, this, [this] { session_->SettleGesture(); });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) session_->SettleGesture();
  });
  connect(menu_.exitAction, &QAction::triggered, this, &QWidget::close);
  for (QAction* a : {menu_.importDdrvAction, menu_.exportDdrvAction, menu_.exportBmmAction, menu_.exportWinPsmAction})
    connect(a, &QAction::triggered, this, [this, a] { formats_->Run(a->objectName()); });
}

void TMain::ConnectRepeatedCommands() {
  ConnectMenuTwins(menu_, w_);
  connect(menu_.showDirectInputAction, &QAction::toggled, this, [this](bool on) {
    w_.directInputBar->setVisible(on);
    FormResize();
  });
}

void TMain::DirectInput() {
  const QString text = w_.directInputEdit->text();
  // An Enter pressed in another field must not add empty memo lines.
  if (text.isEmpty()) return;
  if (commands_->DirectInput(text)) w_.directInputEdit->clear();
}

void TMain::keyPressEvent(QKeyEvent* event) {
  // "Input" is the window's default button: Enter in a control that has no
  // use for it sends the direct-input line.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() == Qt::NoModifier && w_.directInputButton->isVisible()) {
    w_.directInputButton->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void TMain::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMain::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  event->acceptProposedAction();
  // The question and the load wait until the drag has ended: a modal box in
  // the middle of it would hold the source application.
  // A drop that holds a chart is about that chart alone; sound, image and
  // MIDI files without one go to the definition lists.
  QTimer::singleShot(0, this, [this, paths] { listCommands_->Drop(paths); });
}

}  // namespace beatloom
