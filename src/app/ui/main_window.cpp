#include "app/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QAudioOutput>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMediaPlayer>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <ctime>

#include "app/program_folder.h"
#include "app/ui/header_panel.h"
#include "app/ui/main_layout.h"
#include "platform/ui/prompts.h"
#include "platform/ui/shell.h"
#include "app/ui/splash_window.h"
#include "app/window_placement.h"
#include "bms/bms_reader.h"
#include "bms/name_lists.h"
#include "bms/ui/document_commands.h"
#include "bms/ui/log_window.h"
#include "bms/ui/source_editor.h"
#include "edit/recent_files.h"
#include "formats/ui/format_commands.h"
#include "model/file_io.h"
#include "model/text_codec.h"
#include "view/ui/score_widget.h"

namespace beatloom {

namespace {

const char* const kNewDataCaption = "Beatloom [New Data]";
const char* const kHelpFile = "help/help.html";
const char* const kNoHelpMessage =
    "ヘルプファイルがありません。WWWヘルプを参照し、オフライン用ヘルプをダウンロードして下さい。";

QString FromSettingsText(const std::string& bytes) {
  return QString::fromStdString(ToUtf8(bytes, DetectEncoding(bytes)));
}
std::string ToSettingsText(const QString& text) { return FromUtf8(text.toStdString(), TextEncoding::Cp932); }

}  // namespace

namespace {
ChartSession& SessionOf(const TMainOptions& options, std::unique_ptr<ChartSession>& own) {
  if (options.session) return *options.session;
  own = std::make_unique<ChartSession>();
  return *own;
}
}  // namespace

TMain::TMain(const TMainOptions& options)
    : options_(options),
      session_(&SessionOf(options, ownSession_)),
      doc_(session_->Doc()),
      log_(session_->ChartLog()),
      undo_(session_->ChartUndo()) {
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(QStringLiteral("Beatloom"));
  programFolder_ = options.programFolder.empty() ? beatloom::ProgramFolder() : options.programFolder;
  if (options.prompts) {
    prompts_ = options.prompts;
  } else {
    ownPrompts_ = std::make_unique<QtPrompts>(this);
    prompts_ = ownPrompts_.get();
  }
  if (options.shell) {
    shell_ = options.shell;
  } else {
    ownShell_ = std::make_unique<QtShell>();
    shell_ = ownShell_.get();
  }
  settingsFile_ = IniFile(JoinPath(programFolder_, kSettingsFile));
  w_ = BuildMainLayout(this, new ScoreWidget(doc_, view_));
  menu_ = BuildMainMenu(this);
  header_ = new HeaderPanel(doc_, w_, this);
  logWindow_ = new LogWindow(this);
  sourceEditor_ = new SourceEditor(*prompts_, this);
  commands_ = std::make_unique<DocumentCommands>(doc_, log_, *prompts_, *this, *sourceEditor_);
  undo_.onAvailableChanged = [this](bool available) { menu_.undoAction->setEnabled(available); };
  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(100);
  ConnectControls();
  ConnectDocumentCommands();
  ConnectView();
  resize(573, 577);
  FormCreate();
}

TMain::~TMain() {
  // The controls refer to the chart and the view settings, members that go
  // before the child widgets would: take the controls down while both exist.
  delete takeCentralWidget();
}

QAction* TMain::Action(const QString& name) const {
  for (QAction* a : findChildren<QAction*>(name)) return a;
  // Submenus' actions belong to their menus, not to the window.
  for (QMenu* m : findChildren<QMenu*>(name)) return m->menuAction();
  return nullptr;
}

ScoreWidget* TMain::Score() const { return static_cast<ScoreWidget*>(w_.score); }

// ---- start-up, first resize, close ----

void TMain::FormCreate() {
  splash_ = new SplashWindow(this);
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
  appActive_ = true;
  startFolder_ = QDir::currentPath();
  settingsApplied_ = false;
  doc_.Modified = false;
  doc_.DocumentIO = true;
  doc_.ClipList.clear();
  LoadNameLists();

  WriteLastBoot(settingsFile_, std::time(nullptr), QLocale().decimalPoint().at(0).toLatin1());
  startSettings_ = ReadSettings(settingsFile_, Settings{});
  w_.devModeLabel->setVisible(startSettings_.DevMode);
  // The export copies the template from the program folder, so that is where
  // its presence decides whether the item works.
  formats_ = std::make_unique<FormatCommands>(doc_, *prompts_, programFolder_, FormatHooksOfWindow(), this);
  menu_.exportWinPsmAction->setEnabled(formats_->WinPsmAvailable());
  if (!startSettings_.NoSound) {
    mediaPlayer_ = new QMediaPlayer(this);
    mediaPlayer_->setObjectName(QStringLiteral("MediaPlayer1"));
    mediaPlayer_->setAudioOutput(new QAudioOutput(mediaPlayer_));
  }
  setAcceptDrops(true);

  w_.gridCombo->setCurrentIndex(startSettings_.GridPosition);
  w_.subGridCombo->setCurrentIndex(startSettings_.SubGridPosition);
  ResetDocument();
  LoadMemoTemplate();
  doc_.Modified = false;

  w_.gridHeightBar->setValue(DefaultGridHeight);
  w_.objectHeightBar->setValue(DefaultObjectHeight);
  ViewFromControls();
  Score()->RecomputeLanes();

  ApplyWindowBounds(startSettings_);
  suppressResize_ = false;
  timer1_->start();
}

void TMain::ApplyWindowBounds(const Settings& s) {
  WindowBounds b = s.Window;
  if (s.WindowPositionStored) {
    std::vector<WindowBounds> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
      const QRect r = screen->availableGeometry();
      screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const FrameMargins frame{inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom()};
    b = KeepClientOnScreen(b, frame, screens);
    // The client area, as CollectSettings reads it back: move() would place
    // the frame on some platforms and the client on others, and the window
    // would creep by the height of its title bar at every start.
    setGeometry(b.left, b.top, b.width, b.height);
    return;
  }
  resize(b.width, b.height);
}

void TMain::LoadNameLists() {
  std::vector<std::string> lines;
  if (ReadLinesFile(JoinPath(programFolder_, kArtistListFile), lines)) SetArtistItems(lines);
  lines.clear();
  if (ReadLinesFile(JoinPath(programFolder_, kGenreListFile), lines)) SetGenreItems(lines);
}

void TMain::LoadMemoTemplate() {
  std::vector<std::string> lines;
  if (!ReadLinesFile(JoinPath(programFolder_, kHeaderTemplateFile), lines)) return;
  std::string all;
  for (const std::string& line : lines) all += line;
  // A template kept in UTF-8 makes a UTF-8 chart rather than garbled text.
  doc_.encoding = DetectEncoding(all);
  doc_.mmemo = std::move(lines);
  RefreshFromDocument();
}

void TMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TMain::FormResize() {
  if (suppressResize_) return;
  if (!settingsApplied_) ApplyStoredSettings();
  SyncScrollBars();
}

void TMain::ApplyStoredSettings() {
  settingsApplied_ = true;
  for (const QString& argument : options_.arguments) {
    const QString upper = argument.toUpper();
    if (upper.contains(QLatin1String(".BMS")) || upper.contains(QLatin1String(".BME"))) {
      LoadChart(argument);
      break;
    }
  }
  const Settings s = ReadSettings(settingsFile_, CollectSettings());
  w_.gridHeightBar->setValue(s.GridHeight);
  w_.gridWidthBar->setValue(s.GridWidth);
  w_.objectHeightBar->setValue(s.ObjectHeight);
  menu_.showIndexNumbersAction->setChecked(s.ShowIndexNumver);
  menu_.showDirectInputAction->setChecked(s.ShowDirectInputBox);
  w_.directInputBar->setVisible(s.ShowDirectInputBox);
  menu_.showSettingsColumnAction->setChecked(s.ShowSettingWindow);
  w_.settingsColumn->setVisible(s.ShowSettingWindow);
  menu_.showFileNamesAction->setChecked(s.ShowFileName);
  if (s.FlatObjectWidth) menu_.flatObjectWidthAction->trigger();
  w_.dropOverwriteCheck->setChecked(s.WavBmpDropOverWrite);
  w_.keepLayoutCheck->setChecked(s.DebugingSave);
  w_.minCellsEdit->setText(FromSettingsText(s.MinimamColWidth));
  menu_.activationClickGuardAction->setChecked(s.InActiveClickCancel);
  previewBounds_ = s.BMPView;
  for (int i = 0; i < kColorCount; ++i) view_.Colors[i] = RgbFromColorRef(s.Colors[i]);
  ViewFromControls();
  doc_.Modified = false;
  RefreshRecentFiles();
  splash_->BecomeAboutDialog();
  Redraw();
}

void TMain::ViewFromControls() {
  // A control set to the value it already holds raises no change signal, so
  // the view cannot rely on the signals to learn the stored values.
  view_.GridHeight = w_.gridHeightBar->value();
  view_.GridWidth = w_.gridWidthBar->value();
  view_.ObjectHeight = w_.objectHeightBar->value();
  view_.GridPosition = w_.gridCombo->currentIndex();
  view_.SubGridPosition = w_.subGridCombo->currentIndex();
  view_.ShowIndexNumver = menu_.showIndexNumbersAction->isChecked();
  view_.ShowFileName = menu_.showFileNamesAction->isChecked();
  view_.FlatObjectWidth = menu_.flatObjectWidthAction->isChecked();
}

Settings TMain::CollectSettings() const {
  Settings s;
  s.GridHeight = w_.gridHeightBar->value();
  s.GridWidth = w_.gridWidthBar->value();
  s.ObjectHeight = w_.objectHeightBar->value();
  s.GridPosition = w_.gridCombo->currentIndex();
  s.SubGridPosition = w_.subGridCombo->currentIndex();
  s.ShowIndexNumver = menu_.showIndexNumbersAction->isChecked();
  s.ShowFileName = menu_.showFileNamesAction->isChecked();
  s.ShowDirectInputBox = menu_.showDirectInputAction->isChecked();
  s.ShowSettingWindow = menu_.showSettingsColumnAction->isChecked();
  s.FlatObjectWidth = menu_.flatObjectWidthAction->isChecked();
  s.WavBmpDropOverWrite = w_.dropOverwriteCheck->isChecked();
  s.DebugingSave = w_.keepLayoutCheck->isChecked();
  s.MinimamColWidth = ToSettingsText(w_.minCellsEdit->text());
  s.InActiveClickCancel = menu_.activationClickGuardAction->isChecked();
  s.BMPView = previewBounds_;
  for (int i = 0; i < kColorCount; ++i) s.Colors[i] = static_cast<int>(ColorRefFromRgb(view_.Colors[i]));
  const QRect client = geometry();
  s.Window = {client.x(), client.y(), client.width(), client.height()};
  return s;
}

void TMain::closeEvent(QCloseEvent* event) {
  if (closing_) return event->accept();
  if (!FormClose()) return event->ignore();
  closing_ = true;
  timer1_->stop();
  event->accept();
}

bool TMain::FormClose() {
  if (!ConfirmDiscard()) return false;
  suppressResize_ = true;
  QFile::remove(WorkingCopyPath());
  WriteSettings(settingsFile_, CollectSettings());
  return true;
}

bool TMain::ConfirmDiscard() {
  if (discardGuard_) return discardGuard_();
  return commands_->ConfirmDiscard();
}

// ---- the chart in the window ----

const QString& TMain::ChartFileName() const { return commands_->ChartFileName(); }

QString TMain::WorkingCopyPath() const { return commands_->PlayerWorkingCopyPath(); }

void TMain::ResetDocument() {
  QFile::remove(WorkingCopyPath());
  ReadUserDefaults();
  doc_.ResetDocument();
  if (doc_.DocumentIO) SetCaption(QString::fromUtf8(kNewDataCaption));
  SetFileCommandsEnabled(false);
  ShowReplacedDocument(Replaced::New);
}

void TMain::ReadUserDefaults() {
  const UserDefaults user = beatloom::ReadUserDefaults(settingsFile_);
  doc_.DefaultEmail = user.email;
  doc_.DefaultURL = user.url;
}

void TMain::ShowReplacedDocument(Replaced how) {
  header_->RefreshFromDocument();
  {
    const QSignalBlocker block(w_.verticalScrollBar);
    w_.verticalScrollBar->setRange(doc_.ScrollMin, 0);
    w_.verticalScrollBar->setValue(0);
  }
  w_.wavList->setCurrentRow(0);
  w_.bmpList->setCurrentRow(how == Replaced::Loaded ? 0 : 1);
  Score()->SetScroll(0, w_.horizontalScrollBar->value());
  Redraw();
}

bool TMain::LoadChart(const QString& path) { return commands_->LoadChart(path); }

void TMain::SetCaption(const QString& caption) { setWindowTitle(caption); }

void TMain::RefreshFromDocument() {
  header_->RefreshFromDocument();
  Redraw();
}

void TMain::Redraw() {
  Score()->Redraw();
  SyncScrollBars();
}

void TMain::SyncScrollBars() {
  // The score clamps its positions; the bars only show them.
  const QSignalBlocker blockV(w_.verticalScrollBar);
  const QSignalBlocker blockH(w_.horizontalScrollBar);
  w_.verticalScrollBar->setRange(doc_.ScrollMin, 0);
  w_.verticalScrollBar->setValue(Score()->VerticalScroll());
  const auto [hmin, hmax] = Score()->HorizontalRange();
  w_.horizontalScrollBar->setRange(hmin, hmax);
  w_.horizontalScrollBar->setValue(Score()->HorizontalScroll());
}

void TMain::SetFileCommandsEnabled(bool enabled) {
  for (QAction* a : {menu_.editSourceAction, menu_.playFromStartAction, menu_.playFromViewAction}) a->setEnabled(enabled);
}

bool TMain::FileCommandsEnabled() const { return menu_.editSourceAction->isEnabled(); }

SaveOptions TMain::CurrentSaveOptions() const {
  SaveOptions o;
  o.minCells = ParseMinCells(w_.minCellsEdit->text().toStdString());
  o.keepLayout = w_.keepLayoutCheck->isChecked();
  return o;
}

void TMain::SetArtistItems(const std::vector<std::string>& items) {
  artists_ = items;
  header_->SetArtistItems(items);
}

void TMain::SetGenreItems(const std::vector<std::string>& items) {
  genres_ = items;
  header_->SetGenreItems(items);
}

std::vector<std::string> TMain::NameListItems(NameList list) const {
  return list == NameList::Artist ? artists_ : genres_;
}

void TMain::SetNameListItems(NameList list, const std::vector<std::string>& items) {
  if (list == NameList::Artist) {
    SetArtistItems(items);
  } else {
    SetGenreItems(items);
  }
}

void TMain::RefreshRecentFiles() {
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

// ---- controls ----

FormatHooks TMain::FormatHooksOfWindow() {
  FormatHooks h;
  h.confirmDiscard = [this] { return ConfirmDiscard(); };
  h.resetChart = [this] {
    ResetDocument();
    // An imported chart has no file: nothing may be written beside the old one.
    commands_->ForgetFileNames();
  };
  h.chartImported = [this] {
    DisableUndo();
    ShowReplacedDocument(Replaced::New);
  };
  h.recomputeLanes = [this] { RefreshFromDocument(); };
  h.chartFileName = [this] { return commands_->SaveFileName(); };
  h.dialogFolder = [this] { return startFolder_; };
  return h;
}

void TMain::ConnectControls() {
  const auto route = [this](auto* control, auto signal) {
    connect(control, signal, this, [this, control] { menuselect(control); });
  };
  for (QAction* a : {menu_.activationClickGuardAction, menu_.showSettingsColumnAction, menu_.helpAction, menu_.homePageAction, menu_.aboutAction}) route(a, &QAction::triggered);
  route(w_.headerPagesToggle, &QPushButton::clicked);
  route(w_.directInputButton, &QPushButton::clicked);
  route(w_.stopSoundButton, &QPushButton::clicked);
  route(w_.wavList, &QListWidget::itemClicked);
  route(timer1_, &QTimer::timeout);
  connect(menu_.exitAction, &QAction::triggered, this, &QWidget::close);
  for (QAction* a : {menu_.importDdrvAction, menu_.exportDdrvAction, menu_.exportBmmAction, menu_.exportWinPsmAction})
    connect(a, &QAction::triggered, this, [this, a] { formats_->Run(a->objectName()); });
  connect(menu_.undoAction, &QAction::triggered, this, [this] {
    if (undo_.Restore()) Redraw();
  });
  // Buttons and popup items that only repeat a menu command.
  const std::pair<QAbstractButton*, QAction*> repeats[] = {{w_.openButton, menu_.openAction},
                                                           {w_.saveButton, menu_.saveAction},
                                                           {w_.playFromStartButton, menu_.playFromStartAction},
                                                           {w_.playFromViewButton, menu_.playFromViewAction},
                                                           {w_.playButton, menu_.playAction}};
  for (auto [button, action] : repeats) connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
  const std::pair<QAction*, QAction*> popup[] = {
      {menu_.popupCutAction, menu_.cutAction}, {menu_.popupCopyAction, menu_.copyAction}, {menu_.popupPasteAction, menu_.pasteAction}, {menu_.popupDeleteAction, menu_.deleteAction}};
  for (auto [item, twin] : popup) connect(item, &QAction::triggered, twin, &QAction::trigger);
  const std::pair<QAction*, QAbstractButton*> modes[] = {
      {menu_.selectModeAction, w_.selectModeButton}, {menu_.writeModeAction, w_.writeModeButton}, {menu_.eraseModeAction, w_.eraseModeButton}};
  for (auto [item, button] : modes) connect(item, &QAction::triggered, button, &QAbstractButton::click);
}

void TMain::ConnectDocumentCommands() {
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
  connect(this, &TMain::logChanged, logWindow_, [this](bool show) {
    logWindow_->ShowLines(log_);
    if (show) logWindow_->Present();
  });
}

void TMain::ConnectView() {
  const auto bar = [this](QScrollBar* scrollBar, int ViewSettings::*field) {
    connect(scrollBar, &QScrollBar::valueChanged, this, [this, field](int v) {
      view_.*field = v;
      Redraw();
    });
  };
  bar(w_.gridHeightBar, &ViewSettings::GridHeight);
  bar(w_.gridWidthBar, &ViewSettings::GridWidth);
  bar(w_.objectHeightBar, &ViewSettings::ObjectHeight);
  const std::pair<QPushButton*, std::pair<QScrollBar*, int>> resets[] = {
      {w_.gridHeightResetButton, {w_.gridHeightBar, DefaultGridHeight}},
      {w_.gridWidthResetButton, {w_.gridWidthBar, DefaultGridWidth}},
      {w_.objectHeightResetButton, {w_.objectHeightBar, DefaultObjectHeight}}};
  for (const auto& [button, target] : resets) {
    QScrollBar* scrollBar = target.first;
    const int value = target.second;
    connect(button, &QPushButton::clicked, scrollBar, [scrollBar, value] { scrollBar->setValue(value); });
  }
  const auto combo = [this](QComboBox* box, int ViewSettings::*field) {
    connect(box, &QComboBox::currentIndexChanged, this, [this, field](int i) {
      view_.*field = i;
      Redraw();
    });
  };
  combo(w_.gridCombo, &ViewSettings::GridPosition);
  combo(w_.subGridCombo, &ViewSettings::SubGridPosition);
  const auto check = [this](QAction* item, bool ViewSettings::*field) {
    connect(item, &QAction::toggled, this, [this, field](bool on) {
      view_.*field = on;
      Redraw();
    });
  };
  check(menu_.showIndexNumbersAction, &ViewSettings::ShowIndexNumver);
  check(menu_.showFileNamesAction, &ViewSettings::ShowFileName);
  check(menu_.flatObjectWidthAction, &ViewSettings::FlatObjectWidth);
  connect(menu_.showDirectInputAction, &QAction::toggled, this, [this](bool on) {
    w_.directInputBar->setVisible(on);
    FormResize();
  });
  connect(header_, &HeaderPanel::playModeChanged, this, &TMain::Redraw);
  const auto scroll = [this] { Score()->SetScroll(w_.verticalScrollBar->value(), w_.horizontalScrollBar->value()); };
  connect(w_.verticalScrollBar, &QScrollBar::valueChanged, this, scroll);
  connect(w_.horizontalScrollBar, &QScrollBar::valueChanged, this, scroll);
  connect(Score(), &ScoreWidget::layoutChanged, this, &TMain::SyncScrollBars);
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

// ---- menuselect ----

void TMain::menuselect(QObject* sender) {
  // N34 keeps its own check mark: the action is checkable.
  if (sender == w_.headerPagesToggle) ToggleHeaderPages();
  if (sender == menu_.showSettingsColumnAction) ToggleSettingsColumn();
  if (sender == timer1_) TimerDuties();
  if (sender == menu_.helpAction) OpenHelp();
  if (sender == menu_.homePageAction) shell_->OpenUrl(QUrl(QString::fromUtf8(kHomePageUrl)));
  if (sender == menu_.aboutAction) splash_->ShowAbout();
  if (sender == w_.directInputButton) DirectInput();
  if (sender == w_.wavList && mediaPlayer_) PlaySelectedSound();
  if (sender == w_.stopSoundButton && mediaPlayer_) StopSound();
}

void TMain::ToggleHeaderPages() {
  const bool show = w_.headerPages->isHidden();
  w_.headerPages->setVisible(show);
  w_.headerPagesToggle->setText(show ? QStringLiteral("△") : QStringLiteral("▽"));
  FormResize();
}

void TMain::ToggleSettingsColumn() {
  const bool show = w_.settingsColumn->isHidden();
  w_.settingsColumn->setVisible(show);
  menu_.showSettingsColumnAction->setChecked(show);
  FormResize();
}

void TMain::TimerDuties() {
  // A preview that played to its end gives the sound device back.
  if (mediaPlayer_ && mediaPlayer_->playbackState() == QMediaPlayer::StoppedState && !mediaPlayer_->source().isEmpty())
    mediaPlayer_->setSource(QUrl());
  appActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void TMain::OpenHelp() {
  // The help page ships beside the program; a program folder of its own
  // (BEATLOOM_HOME, or the per-user folder) need not hold a copy.
  QStringList folders = {QString::fromStdString(programFolder_)};
  folders << (options_.executableFolder.empty() ? QCoreApplication::applicationDirPath()
                                                : QString::fromStdString(options_.executableFolder));
  for (const QString& folder : folders) {
    const QString help = QDir(folder).filePath(QString::fromUtf8(kHelpFile));
    if (!QFileInfo::exists(help)) continue;
    shell_->OpenUrl(QUrl::fromLocalFile(help));
    return;
  }
  prompts_->Message(QString::fromUtf8(kNoHelpMessage));
}

void TMain::DirectInput() {
  const QString text = w_.directInputEdit->text();
  // An Enter pressed in another field must not add empty memo lines.
  if (text.isEmpty()) return;
  if (commands_->DirectInput(text)) w_.directInputEdit->clear();
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
  QTimer::singleShot(0, this, [this, paths] { commands_->OpenDroppedChart(paths); });
}

void TMain::PlaySelectedSound() {
  const int row = w_.wavList->currentRow();
  if (row < 0 || row + 1 >= WavSlots || doc_.wav[row + 1].empty()) return;
  const QString folder = commands_->ChartFolder();
  const QString name = QString::fromStdString(ToUtf8(doc_.wav[row + 1], doc_.encoding));
  StopSound();
  mediaPlayer_->setSource(QUrl::fromLocalFile(QDir(folder).filePath(name)));
  mediaPlayer_->play();
}

void TMain::StopSound() {
  mediaPlayer_->stop();
  mediaPlayer_->setSource(QUrl());
}

}  // namespace beatloom
