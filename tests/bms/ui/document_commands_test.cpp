#include "bms/ui/document_commands.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/ini_file.h"
#include "app/settings.h"
#include "bms/bms_reader.h"
#include "bms/ui/fake_document_host.h"
#include "bms/ui/source_editor.h"
#include "bms/ui/ui_test_support.h"
#include "edit/name_lists.h"
#include "edit/recent_files.h"
#include "model/file_io.h"
#include "support/scripted_prompts.h"
#include "support/test_support.h"

namespace beatloom::test {
namespace {

using Answer = Prompts::Answer;

const std::string kChart =
    "#TITLE Song\r\n"
    "#ARTIST Someone\r\n"
    "#WAV01 kick.wav\r\n"
    "#00111:0101\r\n"
    "#00212:01\r\n";

class DocumentCommandsTest : public ::testing::Test {
 protected:
  DocumentCommandsTest() : host(session), editor(prompts), commands(session, prompts, host, editor, home.path()) {}

  std::string Chart(const std::string& name = "song.bms", const std::string& bytes = kChart) {
    const std::string path = charts.file(name);
    WriteFile(path, bytes);
    return path;
  }
  static QString Q(const std::string& s) { return QString::fromStdString(s); }
  void LoadChart(const std::string& path) { ASSERT_TRUE(commands.LoadChart(Q(path))); }
  void Touch() {
    doc.AddObject(3, 0, 5);
    doc.Modified = true;
  }

  TempDir home;
  TempDir charts;
  ChartSession session;
  Document& doc = session.Doc();
  Log& log = session.ChartLog();
  ScriptedPrompts prompts;
  FakeDocumentHost host;
  SourceEditor editor;
  DocumentCommands commands;
};

TEST_F(DocumentCommandsTest, ConfirmDiscardSavesOnlyWhenAskedAndStopsWhenTheSaveDoesNot) {
  const QString question = QStringLiteral("データは変更されています。保存しますか？");
  struct Row {
    const char* name;
    bool modified;
    std::optional<Answer> answer;
    bool chartHasFile;
    bool folderWritable;
    bool expectGoOn;
    bool expectWritten;
  };
  const Row rows[] = {
      {"unmodified asks nothing", false, std::nullopt, true, true, true, false},
      {"cancel", true, Answer::Cancel, true, true, false, false},
      {"no", true, Answer::No, true, true, true, false},
      {"yes saves to the file", true, Answer::Yes, true, true, true, true},
      {"yes, save-as dialog cancelled", true, Answer::Yes, false, true, false, false},
      {"yes, save fails", true, Answer::Yes, true, false, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    doc.Modified = false;
    TempDir folder;
    const std::string path = folder.file("a.bms");
    WriteFile(path, kChart);
    if (row.chartHasFile) {
      commands.LoadChart(Q(path));
    } else {
      commands.New();
    }
    if (row.modified) Touch();
    const int objects = static_cast<int>(doc.ObjList.size());
    std::optional<UnwritableFolder> locked;
    if (!row.folderWritable) {
      locked.emplace(folder.path());
      if (!locked->ok()) GTEST_SKIP() << "cannot make a folder unwritable here";
    }
    prompts.shown.clear();
    if (row.answer) prompts.answers.push_back(*row.answer);

    EXPECT_EQ(commands.ConfirmDiscard(), row.expectGoOn);
    EXPECT_EQ(prompts.WasShown(question), row.modified);
    EXPECT_TRUE(prompts.answers.empty());
    EXPECT_EQ(ReadFile(path) != kChart, row.expectWritten);
    EXPECT_EQ(static_cast<int>(doc.ObjList.size()), objects);
    EXPECT_EQ(doc.Modified, row.modified && !row.expectWritten);
    if (!row.folderWritable) {
      ASSERT_FALSE(prompts.shown.empty());
      EXPECT_TRUE(prompts.shown.back().text.startsWith(Q(std::string(kSaveFailedMessage))));
    }
  }
}

// A file that holds no chart line (here a sound named like a chart) is
// opened only when the author says so, and the next save asks before it
// writes over it.
TEST_F(DocumentCommandsTest, AFileHoldingNoChartIsOpenedAndSavedOverOnlyAfterAQuestion) {
  const std::string sound = Chart("kick.bms", std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0", 20) + "\n# x\n");
  prompts.answers = {Answer::No, Answer::Yes, Answer::Cancel, Answer::Yes};
  EXPECT_FALSE(commands.OpenFile(Q(sound)));
  EXPECT_TRUE(commands.SaveFileName().isEmpty());
  ASSERT_TRUE(commands.LoadChart(Q(sound)));
  const std::string before = ReadFile(sound);
  EXPECT_FALSE(commands.Save());
  EXPECT_EQ(ReadFile(sound), before);
  EXPECT_TRUE(commands.Save());
  EXPECT_TRUE(prompts.answers.empty() && ReadFile(sound) != before);
}

TEST_F(DocumentCommandsTest, NewAsksAboutAModifiedChartAndStartsFromTheHeaderTemplate) {
  WriteFile(home.file("header.txt"), "made with care\r\nsecond line\r\n");
  LoadChart(Chart());
  Touch();
  prompts.answers = {Answer::Cancel};
  commands.New();
  EXPECT_EQ(doc.header.e_title, "Song");
  EXPECT_TRUE(doc.Modified);

  prompts.answers = {Answer::No};
  session.Apply({.label = "書き込み"}, [](Document& d) {
    d.AddObject(2, 0, 1);
    return EditOutcome::Changed;
  });
  commands.New();
  EXPECT_EQ(doc.header.e_title, "");
  EXPECT_TRUE(doc.ObjList.empty());
  EXPECT_EQ(doc.mmemo, (std::vector<std::string>{"made with care", "second line"}));
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(host.caption, QStringLiteral("Beatloom [New Data]"));
  EXPECT_FALSE(session.ChartHistory().CanUndo());
  EXPECT_FALSE(host.fileCommandsEnabled);
  ASSERT_FALSE(host.replaced.empty());
  EXPECT_EQ(host.replaced.back(), ChartReplaced::New);

  // The save dialog forgot the old name: Save asks for one.
  const size_t dialogs = prompts.fileDialogs.size();
  EXPECT_FALSE(commands.Save());
  ASSERT_EQ(prompts.fileDialogs.size(), dialogs + 1);
  EXPECT_EQ(prompts.fileDialogs.back().title, QStringLiteral("BMSファイルに名前を付けて保存"));
  EXPECT_EQ(ReadFile(charts.file("song.bms")), kChart);
}

TEST_F(DocumentCommandsTest, OpenUsesTheChartDialogAndLeavesAnUnmodifiedChart) {
  const std::string path = Chart();
  commands.New();
  Touch();
  session.Apply({.label = "書き込み"}, [](Document& d) {
    d.AddObject(2, 0, 1);
    return EditOutcome::Changed;
  });
  prompts.answers = {Answer::No};
  prompts.fileNames = {Q(path)};
  EXPECT_TRUE(commands.Open());

  ASSERT_EQ(prompts.fileDialogs.size(), 1u);
  const Prompts::FileDialog& d = prompts.fileDialogs[0];
  EXPECT_EQ(d.title, QStringLiteral("BMSファイルの読込"));
  EXPECT_EQ(d.filters, QStringList{QStringLiteral("BMSファイル形式(*.bms;*.bme)")});
  EXPECT_EQ(d.defaultSuffix, QStringLiteral("BMS"));
  EXPECT_EQ(doc.header.e_title, "Song");
  EXPECT_EQ(doc.ObjList.size(), 3u);
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(host.caption, QStringLiteral("Beatloom [") + Q(path) + "]");
  EXPECT_TRUE(host.fileCommandsEnabled);
  EXPECT_FALSE(session.ChartHistory().CanUndo());
  EXPECT_EQ(commands.SaveFileName(), Q(path));
  EXPECT_EQ(commands.ChartFolder(), Q(charts.path()));
  const ChartFile& file = session.File();
  EXPECT_TRUE(file.opened == path && file.saveTo == path && file.Folder() == charts.path()) << "the session knows";
  EXPECT_TRUE(file.folders.chart == charts.path() && file.folders.image == charts.path());
  EXPECT_EQ(log.Lines().front(), "ファイルのオープン:" + path);

  // Cancelled dialog: nothing happens to the chart.
  Touch();
  prompts.answers = {Answer::No};
  EXPECT_FALSE(commands.Open());
  EXPECT_EQ(doc.ObjList.size(), 4u);
}

TEST_F(DocumentCommandsTest, EveryResetTakesTheUsersAddressesFromTheSettingsAsTheyAreNow) {
  const std::string plain = Chart("plain.bms", "#TITLE Plain\r\n");
  const std::string own = Chart("own.bms", "#TITLE Own\r\n%EMAIL chart@example.org\r\n");
  struct Row {
    const char* email;  // stored before the command
    std::function<void()> command;
    std::string expectEmail;
    std::string expectUrl;
  };
  const Row rows[] = {
      {"first@example.org", [&] { commands.New(); }, "first@example.org", "http://example.org/"},
      {"second@example.org", [&] { LoadChart(plain); }, "second@example.org", "http://example.org/"},
      {"third@example.org", [&] { LoadChart(own); }, "chart@example.org", "http://example.org/"},
      {"fourth@example.org", [&] { commands.New(); }, "fourth@example.org", "http://example.org/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.email);
    host.author = {row.email, "http://example.org/"};
    row.command();
    EXPECT_EQ(doc.header.E_Email, row.expectEmail);
    EXPECT_EQ(doc.header.E_URL, row.expectUrl);
  }
}

TEST_F(DocumentCommandsTest, AFailedSaveKeepsTheOldFileTheModifiedMarkAndTheCaption) {
  TempDir folder;
  const std::string path = folder.file("a.bms");
  WriteFile(path, kChart);
  LoadChart(path);
  const QString caption = host.caption;
  Touch();
  UnwritableFolder locked(folder.path());
  if (!locked.ok()) GTEST_SKIP() << "cannot make a folder unwritable here";
  EXPECT_FALSE(commands.Save());
  EXPECT_EQ(ReadFile(path), kChart);
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(doc.ObjList.size(), 4u);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(Q(std::string(kSaveFailedMessage))));
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_EQ(host.caption, caption);

  // Save As to a new name there fails the same way and keeps the old name.
  prompts.fileNames = {Q(folder.file("b.bms"))};
  EXPECT_FALSE(commands.SaveAs());
  EXPECT_EQ(commands.SaveFileName(), Q(path));
  EXPECT_FALSE(std::filesystem::exists(folder.file("b.bms")));
  EXPECT_TRUE(LoadRecentFiles(home.path()).empty());
}

TEST_F(DocumentCommandsTest, AFailedLoadShowsTheLogAndForgetsTheOldFileName) {
  const std::string path = Chart();
  LoadChart(path);
  const int shown = host.logShown;
  const std::string missing = charts.file("missing.bms");
  prompts.fileNames = {Q(missing)};
  EXPECT_FALSE(commands.Open());
  EXPECT_EQ(host.logShown, shown + 1);
  EXPECT_EQ(log.Lines().back(), "メモリ内のデータをリセットしました" + missing);
  EXPECT_TRUE(doc.ObjList.empty());
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(host.caption, QStringLiteral("Beatloom [New Data]"));
  EXPECT_FALSE(host.fileCommandsEnabled);

  // Ctrl+S must not put the empty chart over the chart loaded before.
  Touch();
  EXPECT_FALSE(commands.Save());
  EXPECT_EQ(prompts.fileDialogs.back().title, QStringLiteral("BMSファイルに名前を付けて保存"));
  EXPECT_EQ(ReadFile(path), kChart);
}

TEST_F(DocumentCommandsTest, DirectInputAppliesOneLine) {
  struct Row {
    const char* line;
    bool modifiedBefore;
    bool expectTaken;
    bool expectModified;
    size_t expectObjects;
    std::string expectTitle;
  };
  const Row rows[] = {
      {"#00111:01", false, true, true, 4, "Song"},      {"#00111:01", true, true, true, 4, "Song"},
      {"#TITLE Test", false, true, true, 3, "Test"},    {"#WAV02 snare.wav", false, true, true, 3, "Song"},
      {"#LNTYPE 1", false, true, true, 3, "Song"},      {"#RANK high", false, false, false, 3, "Song"},
      {"#WAVZZ x.wav", false, false, false, 3, "Song"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    LoadChart(Chart());
    doc.Modified = row.modifiedBefore;
    prompts.shown.clear();
    const int redraws = host.redraws;
    EXPECT_EQ(commands.DirectInput(QString::fromUtf8(row.line)), row.expectTaken);
    EXPECT_EQ(doc.Modified, row.expectModified);
    EXPECT_EQ(doc.ObjList.size(), row.expectObjects);
    EXPECT_EQ(doc.header.e_title, row.expectTitle);
    EXPECT_EQ(host.redraws, redraws + (row.expectTaken ? 1 : 0));
    EXPECT_EQ(prompts.shown.size(), row.expectTaken ? 0u : 1u);
    if (!row.expectTaken) {
      EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
    }
  }
  LoadChart(Chart());
  ASSERT_TRUE(commands.DirectInput(QStringLiteral("#00111:01")));
  EXPECT_EQ(doc.ObjList.back(), (TBmsObject{1, 192, 1, 0, 0}));
  // A channel 01 line goes to the next background lane of its measure.
  ASSERT_TRUE(commands.DirectInput(QStringLiteral("#00101:02")));
  ASSERT_TRUE(commands.DirectInput(QStringLiteral("#00101:03")));
  EXPECT_EQ(doc.ObjList.back().Lane, FirstBgmLane + 1);
  // A rejected channel is reported as line 0000 and kept.
  ASSERT_TRUE(commands.DirectInput(QStringLiteral("#00105:01")));
  EXPECT_EQ(log.Lines().back(), "Line0000:使用禁止記述  #00105:01");
  EXPECT_EQ(doc.mcom.back(), "#00105:01");
}

TEST_F(DocumentCommandsTest, PickersSetTheFileNameWithoutItsFolder) {
  commands.New();
  prompts.fileNames = {QStringLiteral("/music/set/bgm.mid"), QStringLiteral("/pics/stage.jpg")};
  commands.ChooseMidiFile();
  EXPECT_EQ(doc.header.e_midif, "bgm.mid");
  EXPECT_TRUE(doc.Modified);
  doc.Modified = false;
  commands.ChooseStageFile();
  EXPECT_EQ(doc.header.E_Stagefile, "stage.jpg");
  EXPECT_TRUE(doc.Modified);

  ASSERT_EQ(prompts.fileDialogs.size(), 2u);
  EXPECT_EQ(prompts.fileDialogs[0].title, QStringLiteral("BGM用MIDIファイルの読込"));
  EXPECT_EQ(prompts.fileDialogs[0].filters, QStringList{QStringLiteral("MIDIファイル(*.mid)")});
  EXPECT_EQ(prompts.fileDialogs[1].title, QStringLiteral("画像の読込"));
  EXPECT_EQ(prompts.fileDialogs[1].filterIndex, 1);
  EXPECT_EQ(prompts.fileDialogs[1].filters.value(1), QStringLiteral("Jpegファイル(*.jpg,*.jpeg,*.jpe)"));

  // Cancelled: nothing changes.
  doc.Modified = false;
  commands.ChooseMidiFile();
  EXPECT_EQ(doc.header.e_midif, "bgm.mid");
  EXPECT_FALSE(doc.Modified);
}

TEST_F(DocumentCommandsTest, ClearingANameListRemovesItsFileAndItemsButNotTheText) {
  for (const auto list : {DocumentHost::NameList::Genre, DocumentHost::NameList::Artist}) {
    const bool genre = list == DocumentHost::NameList::Genre;
    const std::string file = home.file(genre ? kGenreListFile : kArtistListFile);
    const std::string other = home.file(genre ? kArtistListFile : kGenreListFile);
    WriteFile(file, "Trance\r\nPop\r\n");
    WriteFile(other, "Kept\r\n");
    host.names[list] = {"Trance", "Pop"};
    doc.header.e_genre = "Trance";
    commands.ClearNameList(list);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_TRUE(host.names[list].empty());
    EXPECT_EQ(doc.header.e_genre, "Trance");
    EXPECT_TRUE(prompts.shown.empty());
  }
}

TEST_F(DocumentCommandsTest, DroppingFilesOpensTheFirstChartByName) {
  const std::string b = Chart("B.bme", "#TITLE bee\r\n");
  const std::string c = Chart("c.bms", "#TITLE sea\r\n");
  EXPECT_FALSE(commands.OpenDroppedChart({QStringLiteral("/x/kick.wav"), QStringLiteral("/x/a.bmp")}));
  EXPECT_TRUE(commands.OpenDroppedChart({Q(c), QStringLiteral("/x/kick.wav"), Q(b)}));
  EXPECT_EQ(doc.header.e_title, "bee");

  // A refused question still swallows the drop.
  Touch();
  prompts.answers = {Answer::Cancel};
  EXPECT_TRUE(commands.OpenDroppedChart({Q(c)}));
  EXPECT_EQ(doc.header.e_title, "bee");
  EXPECT_TRUE(doc.Modified);
}

TEST_F(DocumentCommandsTest, SourceEditorKeepsTheBytesOfLinesLeftAlone) {
  // 0x80 is no character in CP932; the line shows a replacement character.
  const std::string odd = "#GENRE a\x80z";
  // Two memo lines that show as the same text each keep their own bytes.
  LoadChart(Chart("odd.bms", odd + "\r\nmemo \x80\r\nmemo \xFD\r\n#00111:01\r\n"));
  WhenModal([](QDialog& dialog) {
    auto& form = static_cast<SourceEditor&>(dialog);
    form.memo()->setPlainText(form.memo()->toPlainText() + QStringLiteral("\n#TITLE typed"));
    form.applyButton()->click();
  });
  commands.EditSource();
  EXPECT_EQ(doc.header.e_genre, "a\x80z");
  EXPECT_EQ(doc.mmemo, (std::vector<std::string>{"memo \x80", "memo \xFD"}));
  EXPECT_EQ(doc.header.e_title, "typed");
}

TEST_F(DocumentCommandsTest, TheFontButtonChangesTheMemoFont) {
  QFont chosen = editor.memo()->font();
  chosen.setPointSize(chosen.pointSize() + 7);
  prompts.fonts = {chosen};
  editor.fontButton()->click();
  EXPECT_EQ(editor.memo()->font().pointSize(), chosen.pointSize());
  editor.fontButton()->click();  // cancelled
  EXPECT_EQ(editor.memo()->font().pointSize(), chosen.pointSize());
}

}  // namespace
}  // namespace beatloom::test
