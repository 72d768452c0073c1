// The document commands as the author meets them: through the real main
// window's menus, keys, buttons and drops, with scripted dialogs.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <optional>

#include "app/ui/main_window.h"
#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "edit/name_lists.h"
#include "bms/ui/document_commands.h"
#include "bms/ui/log_window.h"
#include "bms/ui/source_editor.h"
#include "bms/ui/ui_test_support.h"
#include "edit/recent_files.h"

namespace beatloom::test {
namespace {

using Answer = Prompts::Answer;

const QString kDiscardQuestion = QStringLiteral("データは変更されています。保存しますか？");
const QString kOverwriteQuestion = QStringLiteral("同名のファイルが存在します。上書きしますか？");

const std::string kSong =
    "#TITLE Song\r\n"
    "#GENRE Trance\r\n"
    "#WAV01 kick.wav\r\n"
    "#00111:0101\r\n"
    "#00212:01\r\n";

QString Q(const std::string& s) { return QString::fromStdString(s); }

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

QStringList Lines(const Log& log) {
  QStringList lines;
  for (const std::string& l : log.Lines()) lines << Q(l);
  return lines;
}

// What `beatloom-cli save IN OUT` writes: the program itself when it was
// built beside the tests, else the same load and save it performs.
std::string CliSave(const std::string& in, const std::string& out) {
  const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/../cli/beatloom-cli");
  if (QFileInfo::exists(cli)) {
    QProcess process;
    process.start(cli, {QStringLiteral("save"), Q(in), Q(out)});
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  } else {
    Document doc;
    Log log;
    EXPECT_TRUE(LoadBmsFile(doc, in, log));
    EXPECT_TRUE(SaveBmsFile(doc, out, SaveOptions{}, log, nullptr));
  }
  return ReadFile(out);
}

// Lets the event loop run until cond holds; false when it never did.
bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 5000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!cond() && !deadline.hasExpired()) QTest::qWait(10);
  return cond();
}

class DocumentWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Quiet();
    main = Start();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  }
  void TearDown() override {
    Doc().Modified = false;  // whatever the test left may go
    main->close();
  }

  QAction* Item(const char* name, const CallSite& where = CallSite::Here()) const {
    return &ActionNamed(*main, name, where);
  }
  template <class T>
  T& W(const char* controlName, const CallSite& where = CallSite::Here()) const {
    return Control<T>(*main, controlName, where);
  }
  void Press(const QKeySequence& keys) { QTest::keySequence(main.get(), keys); }
  // The shell's drop: the window must take the drag before the drop reaches it.
  void Drop(const QMimeData& data) {
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main.get(), &drop);
  }
  void OpenByMenu(const std::string& path) {
    prompts.fileNames.push_back(Q(path));
    Item("Open1")->trigger();
  }
  // Typing into the title marks the chart as the author's own edits would.
  void EditTitle(const QString& title) {
    W<QLineEdit>("e_title").setText(title);
    ASSERT_TRUE(Doc().Modified);
  }

  std::unique_ptr<TMain> main;
};

TEST_F(DocumentWindowTest, NewAndOpenAskAboutAModifiedChart) {
  struct Row {
    const char* command;
    bool modified;
    std::optional<Answer> answer;
    bool expectReplaced;
    bool expectSaved;
  };
  const Row rows[] = {
      {"New1", false, std::nullopt, true, false},  {"New1", true, Answer::Cancel, false, false},
      {"New1", true, Answer::No, true, false},     {"New1", true, Answer::Yes, true, true},
      {"Open1", false, std::nullopt, true, false}, {"Open1", true, Answer::Cancel, false, false},
      {"Open1", true, Answer::No, true, false},    {"Open1", true, Answer::Yes, true, true},
  };
  const std::string other = Chart("other.bms", "#TITLE Other\r\n");
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.command) + (row.modified ? " modified" : "") +
                 (row.answer ? " answer " + std::to_string(static_cast<int>(*row.answer)) : ""));
    const std::string path = Chart("song.bms", kSong);
    ASSERT_TRUE(OpenChart(*main, path));
    if (row.modified) EditTitle(QStringLiteral("Changed"));
    prompts.shown.clear();
    prompts.fileDialogs.clear();
    if (row.answer) prompts.answers.push_back(*row.answer);
    const bool open = std::string(row.command) == "Open1";
    if (open) prompts.fileNames = {Q(other)};

    Item(row.command)->trigger();

    EXPECT_EQ(prompts.WasShown(kDiscardQuestion), row.modified);
    EXPECT_TRUE(prompts.answers.empty());
    const QString replacedTitle = open ? QStringLiteral("Other") : QString();
    const QString keptTitle = row.modified ? QStringLiteral("Changed") : QStringLiteral("Song");
    EXPECT_EQ(W<QLineEdit>("e_title").text(), row.expectReplaced ? replacedTitle : keptTitle);
    EXPECT_EQ(Doc().Modified, !row.expectReplaced);
    // The open dialog comes only after the question allowed it.
    EXPECT_EQ(prompts.fileDialogs.size(), open && row.expectReplaced ? 1u : 0u);
    const bool saved = ReadFile(path).find("#TITLE Changed\r\n") != std::string::npos;
    EXPECT_EQ(saved, row.expectSaved);
    if (!row.expectSaved) {
      EXPECT_EQ(ReadFile(path), kSong);
    }
    if (row.expectReplaced) {
      EXPECT_EQ(main->windowTitle(), open ? "Beatloom [" + Q(other) + "]" : QStringLiteral("Beatloom [New Data]"));
    }
    prompts.fileNames.clear();
  }
}

TEST_F(DocumentWindowTest, AYesWhoseSaveIsCancelledOrFailsKeepsTheChart) {
  // A new chart: Yes leads to Save As, which the author closes.
  EditTitle(QStringLiteral("Unsaved"));
  for (const char* command : {"New1", "Open1"}) {
    SCOPED_TRACE(command);
    prompts.answers = {Answer::Yes};
    Item(command)->trigger();
    EXPECT_EQ(W<QLineEdit>("e_title").text(), QStringLiteral("Unsaved"));
    EXPECT_TRUE(Doc().Modified);
  }
  prompts.answers = {Answer::Yes};
  EXPECT_FALSE(main->close());
  EXPECT_TRUE(main->isVisible());

  // A chart whose folder has become read-only: the save fails with a message.
  TempDir folder;
  const std::string path = folder.file("song.bms");
  WriteFile(path, kSong);
  ASSERT_TRUE(OpenChart(*main, path));
  EditTitle(QStringLiteral("Changed"));
  UnwritableFolder locked(folder.path());
  if (!locked.ok()) GTEST_SKIP() << "cannot make a folder unwritable here";
  prompts.shown.clear();
  prompts.answers = {Answer::Yes};
  Item("New1")->trigger();
  EXPECT_EQ(W<QLineEdit>("e_title").text(), QStringLiteral("Changed"));
  EXPECT_TRUE(prompts.shown.back().text.startsWith(Q(std::string(kSaveFailedMessage))));
  EXPECT_EQ(ReadFile(path), kSong);
}

TEST_F(DocumentWindowTest, SaveOnANewChartAsksForANameOnceThenSavesWithoutADialog) {
  EditTitle(QStringLiteral("Fresh"));
  const std::string path = charts.file("fresh.bms");
  prompts.fileNames = {Q(path)};
  Press(QKeySequence(QStringLiteral("Ctrl+S")));
  ASSERT_EQ(prompts.fileDialogs.size(), 1u);
  EXPECT_EQ(prompts.fileDialogs[0].title, QStringLiteral("BMSファイルに名前を付けて保存"));
  EXPECT_EQ(prompts.fileDialogs[0].filters, QStringList{QStringLiteral("BMSファイル形式(*.bms;*.bme)")});
  EXPECT_EQ(prompts.fileDialogs[0].defaultSuffix, QStringLiteral("bms"));
  EXPECT_NE(ReadFile(path).find("#TITLE Fresh\r\n"), std::string::npos);
  EXPECT_FALSE(Doc().Modified);
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + Q(path) + "]");
  EXPECT_TRUE(Item("K2")->isEnabled());

  EditTitle(QStringLiteral("Fresher"));
  Press(QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(prompts.fileDialogs.size(), 1u);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_NE(ReadFile(path).find("#TITLE Fresher\r\n"), std::string::npos);
  EXPECT_FALSE(Doc().Modified);

  // New forgets the name: the next Save asks again.
  Item("New1")->trigger();
  Press(QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(prompts.fileDialogs.size(), 2u);
}

TEST_F(DocumentWindowTest, SaveAsOverAnExistingFileIsAskedAndCanBeRefused) {
  const std::string taken = Chart("taken.bms", "someone else's chart\r\n");
  ASSERT_TRUE(OpenChart(*main, Chart("song.bms", kSong)));
  EditTitle(QStringLiteral("Changed"));

  prompts.fileNames = {Q(taken)};
  prompts.answers = {Answer::Cancel};
  Press(QKeySequence(QStringLiteral("Ctrl+A")));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, kOverwriteQuestion);
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Warning);
  EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesCancel);
  EXPECT_EQ(ReadFile(taken), "someone else's chart\r\n");
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + Q(charts.file("song.bms")) + "]");

  prompts.fileNames = {Q(taken)};
  prompts.answers = {Answer::Yes};
  Item("SaveAs1")->trigger();
  EXPECT_NE(ReadFile(taken).find("#TITLE Changed\r\n"), std::string::npos);
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + Q(taken) + "]");
  EXPECT_EQ(ReadFile(charts.file("song.bms")), kSong);
}

TEST_F(DocumentWindowTest, AFailedSaveKeepsTheOldFileAndTheModifiedMark) {
  TempDir folder;
  const std::string path = folder.file("song.bms");
  WriteFile(path, kSong);
  OpenByMenu(path);
  EditTitle(QStringLiteral("Changed"));
  const QString caption = main->windowTitle();
  UnwritableFolder locked(folder.path());
  if (!locked.ok()) GTEST_SKIP() << "cannot make a folder unwritable here";
  Item("Save1")->trigger();
  EXPECT_EQ(ReadFile(path), kSong);
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(main->windowTitle(), caption);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(Q(std::string(kSaveFailedMessage))));
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
  std::vector<std::string> entries;
  for (const auto& e : std::filesystem::directory_iterator(folder.path())) entries.push_back(e.path().string());
  EXPECT_EQ(entries, std::vector<std::string>{path});
}

TEST_F(DocumentWindowTest, OpeningAndSavingUnchangedWritesWhatTheCommandLineToolWrites) {
  struct Row {
    const char* name;
    std::string bytes;
  };
  const Row rows[] = {
      {"CP932 chart with kept lines",
       "memo line\r\n#TITLE \x83\x65\x83\x58\x83\x67\r\n#ARTIST A\r\n#PLAYER 2\r\n#RANK 2\r\n#LNTYPE 1\r\n"
       "#WAV01 a.wav\r\n#BMP00 miss.bmp\r\n#00102:0.75\r\n#00101:01\r\n#00101:00\r\n#00101:0002\r\n"
       "#00111:01020304050607\r\n#00125:0A\r\n#00136:01\r\n#00105:01\r\n*- a comment\r\n"},
      {"UTF-8 chart with a byte-order mark, LF only",
       "\xEF\xBB\xBF#TITLE \xE6\xAD\x8C\n#GENRE x\n#00211:0000000001\n#00003:78\n"},
      {"bytes that decode in no encoding", "#TITLE a\xFF\x80z\r\n#00111:01\r\n"},
      {"the demo chart", ReadFile(DataFile("../../samples/demo.bms"))},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = Chart("chart.bms", row.bytes);
    const std::string expected = CliSave(path, charts.file("cli.bms"));
    OpenByMenu(path);
    ASSERT_EQ(main->windowTitle(), "Beatloom [" + Q(path) + "]");
    Press(QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(LoadRecentFiles(home.path()).front(), path);
    EXPECT_EQ(main->windowTitle(), "Beatloom [" + Q(path) + "]");
    EXPECT_EQ(Item("N10")->text(), "1:" + Q(path));
  }
}

TEST_F(DocumentWindowTest, DirectInputLine) {
  ASSERT_TRUE(OpenChart(*main, Chart("song.bms", kSong)));
  const size_t objects = Doc().ObjList.size();
  W<QLineEdit>("Edit2").setText(QStringLiteral("#00111:01"));
  QTest::keyClick(&W<QLineEdit>("Edit2"), Qt::Key_Return);
  ASSERT_EQ(Doc().ObjList.size(), objects + 1);
  EXPECT_EQ(Doc().ObjList.back(), (TBmsObject{1, 192, 1, 0, 0}));
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(W<QLineEdit>("Edit2").text(), QString());

  W<QLineEdit>("Edit2").setText(QStringLiteral("#TITLE Test"));
  W<QPushButton>("Button6").click();
  EXPECT_EQ(W<QLineEdit>("e_title").text(), QStringLiteral("Test"));
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(W<QLineEdit>("Edit2").text(), QString());

  W<QLineEdit>("Edit2").setText(QStringLiteral("#RANK hard"));
  W<QPushButton>("Button6").click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_EQ(W<QLineEdit>("Edit2").text(), QStringLiteral("#RANK hard"));
}

TEST_F(DocumentWindowTest, SourceEditorDiscardChangesNothing) {
  EXPECT_FALSE(Item("K2")->isEnabled());
  ASSERT_TRUE(OpenChart(*main, Chart("song.bms", kSong)));
  ASSERT_TRUE(Item("K2")->isEnabled());
  const std::vector<TBmsObject> objects = Doc().ObjList;
  const HeaderFields header = Doc().header;
  bool seen = false;
  WhenModal([&](QDialog& dialog) {
    seen = &dialog == main->findChild<SourceEditor*>("Form8");
    QPlainTextEdit* memo = main->findChild<SourceEditor*>("Form8")->memo();
    EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("#00111:0101")));
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics(memo->font());
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_TRUE(std::filesystem::exists(home.file(kSourceWorkFile)));
    memo->clear();
    main->findChild<SourceEditor*>("Form8")->discardButton()->click();
  });
  Press(QKeySequence(Qt::Key_F10));
  EXPECT_TRUE(seen);
  EXPECT_EQ(Doc().ObjList, objects);
  EXPECT_EQ(Doc().header, header);
  EXPECT_FALSE(Doc().Modified);
  EXPECT_FALSE(std::filesystem::exists(home.file(kSourceWorkFile)));
  // Closing the window is a discard too.
  WhenModal([](QDialog& dialog) { dialog.close(); });
  Item("K2")->trigger();
  EXPECT_EQ(Doc().ObjList, objects);
  EXPECT_FALSE(std::filesystem::exists(home.file(kSourceWorkFile)));
}

TEST_F(DocumentWindowTest, SourceEditorApplyReloadsTheEditedText) {
  const std::string path = Chart("song.bms", kSong);
  ASSERT_TRUE(OpenChart(*main, path));
  WhenModal([&](QDialog&) {
    QPlainTextEdit* memo = main->findChild<SourceEditor*>("Form8")->memo();
    QStringList lines = memo->toPlainText().split('\n');
    EXPECT_TRUE(lines.removeOne(QStringLiteral("#00111:0101")));
    memo->setPlainText(lines.join('\n'));
    main->findChild<SourceEditor*>("Form8")->applyButton()->click();
  });
  Item("K2")->trigger();
  ASSERT_EQ(Doc().ObjList.size(), 1u);
  EXPECT_EQ(Doc().ObjList[0].Pos, 2 * 192);
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(W<QLineEdit>("e_title").text(), QStringLiteral("Song"));
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + Q(path) + "]");
  EXPECT_FALSE(std::filesystem::exists(home.file(kSourceWorkFile)));
  EXPECT_EQ(ReadFile(path), kSong);
  // The snapshot taken before the edit brings the objects back.
  ASSERT_TRUE(Item("K17")->isEnabled());
  Item("K17")->trigger();
  EXPECT_EQ(Doc().ObjList.size(), 3u);
}

TEST_F(DocumentWindowTest, TheLogWindowShowsTheLastLoad) {
  LogWindow* log = main->findChild<LogWindow*>("Form4");
  ASSERT_NE(log, nullptr);
  const std::string good = Chart("good.bms", kSong);
  OpenByMenu(good);
  EXPECT_EQ(Items(*log->lines()), Lines(ChartLog()));
  EXPECT_EQ(log->lines()->item(0)->text(), "ファイルのオープン:" + Q(good));
  EXPECT_EQ(log->lines()->item(log->lines()->count() - 1)->text(), QStringLiteral("オブジェ総数:3"));
  EXPECT_FALSE(log->isVisible());

  Item("K5")->trigger();
  EXPECT_TRUE(log->isVisible());
  EXPECT_FALSE(log->isModal());
  log->hide();

  const std::string missing = charts.file("missing.bms");
  OpenByMenu(missing);
  EXPECT_TRUE(log->isVisible());
  EXPECT_EQ(Items(*log->lines()), (QStringList{"ファイルのオープン:" + Q(missing),
                                            "ファイルの読込に失敗しました：" + Q(missing) + ": No such file or directory",
                                            "メモリ内のデータをリセットしました" + Q(missing)}));
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Beatloom [New Data]"));
  log->hide();

  // A line that does not parse brings the window up as well.
  OpenByMenu(Chart("bad.bms", "#TITLE T\r\n#RANK x\r\n"));
  EXPECT_TRUE(log->isVisible());
  EXPECT_TRUE(Items(*log->lines()).contains(QStringLiteral("Line0002：解析失敗。スキップします：#RANK x")));
  log->hide();

  // Saving replaces the report.
  Item("Save1")->trigger();
  EXPECT_EQ(Items(*log->lines()).last(), QStringLiteral("正常に保存が完了しました。"));
  EXPECT_FALSE(log->isVisible());
}

TEST_F(DocumentWindowTest, DroppingAChartOpensIt) {
  const std::string path = Chart("dropped.BME", "#TITLE Dropped\r\n");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Q(charts.file("z.wav"))), QUrl::fromLocalFile(Q(path))});
  Drop(data);
  EXPECT_TRUE(WaitFor([&] { return W<QLineEdit>("e_title").text() == QStringLiteral("Dropped"); }));
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + Q(path) + "]");
  EXPECT_FALSE(Doc().Modified);

  // Modified and refused: the chart stays.
  EditTitle(QStringLiteral("Mine"));
  prompts.answers = {Answer::Cancel};
  Drop(data);
  EXPECT_TRUE(WaitFor([&] { return prompts.answers.empty(); }));
  EXPECT_EQ(W<QLineEdit>("e_title").text(), QStringLiteral("Mine"));
}

TEST_F(DocumentWindowTest, PickersAndTheListClearingCommands) {
  prompts.fileNames = {QStringLiteral("/music/bgm.mid"), QStringLiteral("/pictures/stage.jpg")};
  W<QPushButton>("Button1").click();
  EXPECT_EQ(W<QLineEdit>("e_midif").text(), QStringLiteral("bgm.mid"));
  EXPECT_TRUE(Doc().Modified);
  W<QPushButton>("Button16").click();
  EXPECT_EQ(W<QLineEdit>("E_Stagefile").text(), QStringLiteral("stage.jpg"));
  EXPECT_EQ(prompts.fileDialogs[0].title, QStringLiteral("BGM用MIDIファイルの読込"));
  EXPECT_EQ(prompts.fileDialogs[1].title, QStringLiteral("画像の読込"));
  EXPECT_EQ(prompts.fileDialogs[1].filterIndex, 1);

  W<QComboBox>("e_genre").setEditText(QStringLiteral("Trance"));
  W<QComboBox>("e_art").setEditText(QStringLiteral("Someone"));
  prompts.fileNames = {Q(charts.file("a.bms"))};
  Item("Save1")->trigger();
  ASSERT_EQ(W<QComboBox>("e_genre").count(), 1);
  ASSERT_TRUE(std::filesystem::exists(home.file(kGenreListFile)));
  Item("N31")->trigger();
  EXPECT_EQ(W<QComboBox>("e_genre").count(), 0);
  EXPECT_EQ(W<QComboBox>("e_genre").currentText(), QStringLiteral("Trance"));
  EXPECT_FALSE(std::filesystem::exists(home.file(kGenreListFile)));
  EXPECT_EQ(W<QComboBox>("e_art").count(), 1);
  Item("N32")->trigger();
  EXPECT_EQ(W<QComboBox>("e_art").count(), 0);
  EXPECT_FALSE(std::filesystem::exists(home.file(kArtistListFile)));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DocumentWindowTest, APlayModeOrRankChosenInTheWindowOutlivesAKeptOutOfRangeLine) {
  // The out-of-range lines are kept and leave no choice selected; the
  // author's choice must still be what the saved file says.
  struct Row {
    const char* chart;
    const char* control;
    int choice;
    int HeaderFields::*field;
  };
  const Row rows[] = {
      {"#PLAYER 5\r\n", "cbpmode", 1, &HeaderFields::cbpmode},
      {"#RANK 9\r\n", "cbrank", 3, &HeaderFields::cbrank},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.chart);
    const std::string path = Chart("kept.bms", std::string("#TITLE Kept\r\n") + row.chart);
    ASSERT_TRUE(OpenChart(*main, path));
    ASSERT_EQ(Doc().header.*row.field, -1);
    W<QComboBox>(row.control).setCurrentIndex(row.choice);
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(W<QPlainTextEdit>("mcom").toPlainText(), QString());
    Item("Save1")->trigger();
    ASSERT_TRUE(OpenChart(*main, path));
    EXPECT_EQ(Doc().header.*row.field, row.choice);
  }
}

}  // namespace
}  // namespace beatloom::test
