#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <optional>

#include "app/ui/main_window_fixture.h"
#include "platform/ui/bpm_dialog.h"

namespace beatloom::test {
namespace {

using Answer = Prompts::Answer;

struct MenuRow {
  const char* name;
  const char* caption;
  const char* shortcut;  // portable text
  bool enabled;          // after start-up with a new chart
  int checked;           // -1: not a check item
};

// In menu order, as the author sees them after starting without a chart.
const MenuRow kMenu[] = {
    {"New1", "新規作成(&N)", "", true, -1},
    {"Open1", "開く(&O)", "Ctrl+O", true, -1},
    {"N9", "開き直す(&R)", "", false, -1},
    {"SaveAs1", "名前を付けて保存(&A)", "Ctrl+A", true, -1},
    {"Save1", "上書き保存(&S)", "Ctrl+S", true, -1},
    {"N39", "インポート", "", true, -1},
    {"DDRVddr1", "DDRV形式(DDR)", "", true, -1},
    {"N38", "エクスポート", "", true, -1},
    {"MML1", "ビート魔にやり形式（BMM）", "", true, -1},
    {"DDRVDDR2", "DDRV形式(DDR)", "", true, -1},
    {"WinPSMps1", "WinPSM形式(PS) ※この機能はDDRデータ専用です", "", false, -1},
    {"TypeMania1", "TypeMania形式（未完成）", "", false, -1},
    {"WAVBMPC1", "未使用WAV・BMPの登録解除(&C)", "", true, -1},
    {"BMPWAV1", "WAV・BMP登録インデックスNo.を詰める", "", true, -1},
    {"N31", "ジャンルリストのクリア", "", true, -1},
    {"N32", "アーティストリストのクリア", "", true, -1},
    {"Exit1", "Beatloomの終了(&X)", "", true, -1},
    {"K17", "元に戻す", "Ctrl+Z", false, -1},
    {"Redo1", "やり直し", "Ctrl+Y", false, -1},
    {"K8", "カット(&X)", "Ctrl+X", false, -1},
    {"K7", "コピー(&C)", "Ctrl+C", false, -1},
    {"K6", "ペースト(&P)", "Ctrl+V", false, -1},
    {"Delete1", "削除(&D)", "Ctrl+Del", false, -1},
    {"N45", "クリップボードにコピー", "Ctrl+Alt+C", false, -1},
    {"N46", "クリップボードからペースト", "Ctrl+Alt+V", false, -1},
    {"subete1", "全て選択(&A)", "", true, -1},
    {"N1P1", "1Pのオブジェを全て選択(&1)", "", true, -1},
    {"N2P1", "2Pのオブジェを全て選択(&2)", "", true, -1},
    {"BGMB1", "BGMを全て選択(&B)", "", true, -1},
    {"BMPM1", "BMPを全て選択(&M)", "", true, -1},
    {"K11", "検索・置換・削除(S)", "Ctrl+F", true, -1},
    {"N28", "小節の削除", "Shift+Del", true, -1},
    {"K2", "ソースのダイレクト編集", "F10", false, -1},
    {"N41", "小節長の変更(&n)", "", true, -1},
    {"N22", "編集モード", "F2", true, -1},
    {"N23", "書込モード", "F3", true, -1},
    {"N24", "消去モード", "F4", true, -1},
    {"N30", "画面表示色の変更", "", true, -1},
    {"K5", "ログの表示(&L)", "", true, -1},
    {"BMPB1", "BMPプレビューの表示(&B)", "", true, -1},
    {"N7", "基本・拡張設定枠の表示(W)", "", true, 1},
    {"c_dindex", "INDEXナンバーの表示", "", true, 1},
    {"c_direct", "ダイレクト入力枠の表示", "", true, 1},
    {"N26", "オブジェを等幅で表示", "", true, 0},
    {"N33", "ファイル名を表示", "", true, 0},
    {"N34", "アクティブになった瞬間は操作を無効にする", "", true, 1},
    {"N43", "オプション(&O)", "", true, -1},
    {"N35", "オブジェ間隔の変更(&S)", "", true, -1},
    {"N36", "選択範囲のオブジェを反転（ミラーモード）", "", true, -1},
    {"k12", "編集中のデータを最初から演奏", "Ctrl+P", true, -1},
    {"k18", "編集中のデータを表示位置から演奏", "Ctrl+T", true, -1},
    {"N44", "編集中のデータをプレイ", "Ctrl+Alt+P", true, -1},
    {"K13", "ヘルプ", "F1", true, -1},
    {"K4", "バージョン情報(&A)", "", true, -1},
    // The score's popup menu.
    {"K14", "ここに1小節挿入", "", true, -1},
    {"K15", "この小節を削除", "", true, -1},
    {"K19", "カット", "", false, -1},
    {"K20", "コピー", "", false, -1},
    {"K21", "ペースト", "", false, -1},
    {"Delete2", "削除", "", false, -1},
};

// The reopen submenu's items, first to tenth.
const char* const kRecentItems[] = {"N10", "N11", "N12", "N13", "N14", "N15", "N16", "N17", "N18", "N19"};

// Items of a menu in order, separators as "-", submenus followed by theirs.
void Walk(QMenu* menu, QStringList& out) {
  for (QAction* a : menu->actions()) {
    out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    if (a->menu() && a->objectName() != "N9") Walk(a->menu(), out);
  }
}

TEST_F(MainWindowTest, EveryMenuItemHasItsCaptionShortcutAndStartState) {
  Quiet();
  auto main = Start();
  for (const MenuRow& r : kMenu) {
    const QAction& a = ActionNamed(*main, r.name);
    EXPECT_EQ(a.text(), QString::fromUtf8(r.caption)) << r.name;
    EXPECT_EQ(a.shortcut().toString(QKeySequence::PortableText), QString::fromUtf8(r.shortcut)) << r.name;
    EXPECT_EQ(a.isEnabled(), r.enabled) << r.name;
    EXPECT_EQ(a.isCheckable(), r.checked >= 0) << r.name;
    if (r.checked >= 0) {
      EXPECT_EQ(a.isChecked(), r.checked == 1) << r.name;
    }
  }
  EXPECT_FALSE(ActionNamed(*main, "K10").text().isEmpty());
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrderWithSeparators) {
  Quiet();
  auto main = Start();
  QStringList top;
  for (QAction* a : main->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, QStringList({"ファイル(&F)", "編集(&E)", "表示(&V)", "設定(&S)", "アレンジ(&A)", "外部ビューア(B)",
                              "ヘルプ(&H)"}));
  QStringList file;
  Walk(&Control<QMenu>(*main, "K1"), file);
  EXPECT_EQ(file.join(' '),
            "New1 Open1 N9 SaveAs1 Save1 - N39 DDRVddr1 N38 MML1 DDRVDDR2 WinPSMps1 TypeMania1 - WAVBMPC1 BMPWAV1 "
            "IndexBase36 - N31 N32 - Exit1");
  QStringList edit;
  Walk(&Control<QMenu>(*main, "K3"), edit);
  EXPECT_EQ(
      edit.join(' '),
      "K17 Redo1 - K8 K7 K6 Delete1 - N45 N46 - subete1 N1P1 N2P1 BGMB1 BMPM1 - K11 N28 K2 - N41 - N22 N23 N24 - N30");
  const std::pair<const char*, const char*> others[] = {
      {"K9", "K5 BMPB1 ChartStats1 ChartCheck1 - N7 c_dindex c_direct N26 N33"},
      {"Setting1", "N34 - N43"},
      {"Arrange1", "N35 N36"},
      {"Viewer1", "k12 k18 N44"},
      {"K16", "K13 K10 - K4"},
  };
  for (const auto& [menu, items] : others) {
    QStringList walked;
    Walk(&Control<QMenu>(*main, menu), walked);
    EXPECT_EQ(walked.join(' '), QString::fromUtf8(items)) << menu;
  }
  QStringList popup;
  Walk(&Control<QMenu>(*main, "PM"), popup);
  EXPECT_EQ(popup.join(' '), "K14 K15 - K19 K20 K21 Delete2");
  // The reopen items exist, hidden while the list is empty.
  for (const char* item : kRecentItems) EXPECT_FALSE(ActionNamed(*main, item).isVisible()) << item;
}

TEST_F(MainWindowTest, ReopenMenuFollowsTheWorkFilesList) {
  Quiet();
  WriteFile(home.file("Beatloom WorkFiles.txt"), "/charts/a.bms\r\n/charts/b:c.bms\r\n");
  auto main = Start();
  EXPECT_TRUE(Control<QMenu>(*main, "N9").isEnabled());
  EXPECT_EQ(ActionNamed(*main, "N10").text(), "1:/charts/a.bms");
  EXPECT_EQ(ActionNamed(*main, "N11").text(), "2:/charts/b:c.bms");
  EXPECT_TRUE(ActionNamed(*main, "N11").isVisible());
  EXPECT_FALSE(ActionNamed(*main, "N12").isVisible());
}

TEST_F(MainWindowTest, AReopenItemOpensItsChartAfterAsking) {
  Quiet();
  // The path's own colon must not cut the name short.
  const std::string first = Chart("a:b.bms", "#TITLE First\r\n#00111:01\r\n");
  const std::string second = Chart("second.bms", "#TITLE Second\r\n");
  WriteFile(home.file("Beatloom WorkFiles.txt"), first + "\r\n" + second + "\r\n");
  auto main = Start();
  QAction& reopen1 = ActionNamed(*main, "N10");
  QAction& reopen2 = ActionNamed(*main, "N11");
  QAction& undo = ActionNamed(*main, "K17");
  Document& doc = Doc();
  struct Row {
    QAction* item;
    bool modifiedBefore;
    std::optional<Answer> answer;
    std::string expectTitle;
  };
  const Row rows[] = {
      {&reopen1, false, std::nullopt, "First"},
      {&reopen2, true, Answer::Cancel, "First"},
      {&reopen2, true, Answer::No, "Second"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.item->text().toStdString());
    WriteStep(2, 0);
    doc.Modified = r.modifiedBefore;
    if (r.answer) prompts.answers.push_back(*r.answer);
    prompts.shown.clear();
    r.item->trigger();
    EXPECT_TRUE(prompts.answers.empty());
    EXPECT_EQ(prompts.shown.size(), r.answer ? 1u : 0u);
    EXPECT_EQ(doc.header.e_title, r.expectTitle);
    const bool opened = r.answer != Answer::Cancel;
    EXPECT_EQ(doc.Modified, !opened);
    EXPECT_EQ(undo.isEnabled(), !opened);
  }
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(second) + "]");
  // Opening does not reorder the list; only saving does.
  EXPECT_EQ(reopen1.text(), "1:" + QString::fromStdString(first));
}

TEST_F(MainWindowTest, HeaderPagesAndSettingsColumnToggle) {
  Quiet();
  {
    auto main = Start();
    QWidget& listPanel = Control<QWidget>(*main, "Panel4");
    QWidget& headerPages = Control<QTabWidget>(*main, "Panel7");
    QPushButton& headerPagesToggle = Control<QPushButton>(*main, "Panel3");
    QWidget& settingsColumn = Control<QWidget>(*main, "Panel8");
    QAction& showSettingsColumn = ActionNamed(*main, "N7");
    const int listHeight = listPanel.height();
    headerPagesToggle.click();
    EXPECT_FALSE(headerPages.isVisible());
    EXPECT_EQ(headerPagesToggle.text(), "▽");
    QCoreApplication::processEvents();
    EXPECT_GT(listPanel.height(), listHeight);  // the lists take the freed room
    headerPagesToggle.click();
    EXPECT_TRUE(headerPages.isVisible());
    EXPECT_EQ(headerPagesToggle.text(), "△");

    showSettingsColumn.trigger();
    EXPECT_FALSE(settingsColumn.isVisible());
    EXPECT_FALSE(showSettingsColumn.isChecked());
    showSettingsColumn.trigger();
    EXPECT_TRUE(settingsColumn.isVisible());
    EXPECT_TRUE(showSettingsColumn.isChecked());
    showSettingsColumn.trigger();
    ActionNamed(*main, "c_direct").trigger();
    EXPECT_FALSE(Control<QWidget>(*main, "Panel6").isVisible());
    headerPagesToggle.click();  // the header panel's state is not kept
    EXPECT_TRUE(main->close());
  }
  auto again = Start();
  EXPECT_FALSE(Control<QWidget>(*again, "Panel8").isVisible());
  EXPECT_FALSE(ActionNamed(*again, "N7").isChecked());
  EXPECT_FALSE(Control<QWidget>(*again, "Panel6").isVisible());
  EXPECT_TRUE(Control<QTabWidget>(*again, "Panel7").isVisibleTo(&Control<QWidget>(*again, "Panel8")));
  EXPECT_EQ(Control<QPushButton>(*again, "Panel3").text(), "△");
}

TEST_F(MainWindowTest, HelpOpensTheFileOrSaysItIsMissing) {
  Quiet();
  auto main = Start();
  const QString missing = "ヘルプファイルがありません。WWWヘルプを参照し、オフライン用ヘルプをダウンロードして下さい。";
  ActionNamed(*main, "K13").trigger();
  EXPECT_TRUE(prompts.WasShown(missing));
  EXPECT_TRUE(shell.opened.empty());

  // The page shipped beside the program serves a program folder of its own.
  std::filesystem::create_directory(programFiles.file("help"));
  WriteFile(programFiles.file("help/help.html"), "<html></html>");
  prompts.shown.clear();
  ActionNamed(*main, "K13").trigger();
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(QString::fromStdString(programFiles.file("help/help.html"))));

  std::filesystem::create_directory(home.file("help"));
  WriteFile(home.file("help/help.html"), "<html></html>");
  ActionNamed(*main, "K13").trigger();
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(shell.opened.size(), 2u);
  EXPECT_EQ(shell.opened[1], QUrl::fromLocalFile(QString::fromStdString(home.file("help/help.html"))));

  ActionNamed(*main, "K10").trigger();
  ASSERT_EQ(shell.opened.size(), 3u);
  EXPECT_EQ(shell.opened[2].scheme(), "https");
}

TEST_F(MainWindowTest, UndoIsAvailableWhileTheHistoryHasSteps) {
  Quiet();
  auto main = Start();
  QAction* k17 = &ActionNamed(*main, "K17");
  Document& doc = Doc();
  EXPECT_FALSE(k17->isEnabled());

  WriteStep(1, 0);
  WriteStep(2, 48, 2);
  const std::vector<TBmsObject> before = doc.ObjList;
  EXPECT_TRUE(k17->isEnabled());
  WriteStep(9, 96, 3);

  EXPECT_EQ(k17->text(), "元に戻す: 書き込み");
  QAction* redo = &ActionNamed(*main, "Redo1");
  EXPECT_FALSE(redo->isEnabled());
  EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
  k17->trigger();
  EXPECT_TRUE(k17->isEnabled()) << "two steps are left";
  EXPECT_EQ(doc.ObjList, before);
  EXPECT_TRUE(doc.Modified);
  ASSERT_TRUE(redo->isEnabled());
  EXPECT_EQ(redo->text(), "やり直し: 書き込み");
  redo->trigger();
  EXPECT_EQ(doc.ObjList.size(), 3u);
  k17->trigger();
  k17->trigger();
  k17->trigger();
  EXPECT_FALSE(k17->isEnabled());
  EXPECT_TRUE(doc.ObjList.empty());
  EXPECT_FALSE(doc.Modified) << "back at the chart as it started";
  k17->trigger();  // disabled: nothing happens
  EXPECT_TRUE(doc.ObjList.empty());
}

TEST_F(MainWindowTest, DirectInputLine) {
  Quiet();
  auto main = Start();
  QLineEdit& directInputEdit = Control<QLineEdit>(*main, "Edit2");
  QPushButton& directInputButton = Control<QPushButton>(*main, "Button6");
  Document& doc = Doc();

  directInputEdit.setText("#00111:01");
  QTest::keyClick(&directInputEdit, Qt::Key_Return);  // "Input" is the default button
  ASSERT_EQ(doc.ObjList.size(), 1u);
  EXPECT_EQ(doc.ObjList[0].Lane, 1);
  EXPECT_EQ(doc.ObjList[0].Pos, 192);
  EXPECT_EQ(directInputEdit.text(), "");
  EXPECT_TRUE(doc.Modified) << "an object typed here is a change like any other";

  directInputEdit.setText("#TITLE Test");
  directInputButton.click();
  EXPECT_EQ(Control<QLineEdit>(*main, "e_title").text(), "Test");
  EXPECT_TRUE(doc.Modified);

  doc.Modified = false;
  directInputEdit.setText("#RANK hard");
  directInputButton.click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_EQ(directInputEdit.text(), "#RANK hard");
  EXPECT_FALSE(doc.Modified);

  // Enter in an empty line adds nothing to the memo.
  directInputEdit.clear();
  directInputButton.click();
  EXPECT_TRUE(doc.mmemo.empty());
}

TEST_F(MainWindowTest, HeaderEditsAndThePlayModeMarkTheChart) {
  Quiet();
  auto main = Start();
  Document& doc = Doc();
  Control<QComboBox>(*main, "cbpmode").setCurrentIndex(2);
  EXPECT_EQ(doc.header.cbpmode, 2);
  EXPECT_TRUE(doc.Modified) << "the play mode is part of the chart's history";

  QLineEdit& titleEdit = Control<QLineEdit>(*main, "e_title");
  QComboBox& artistCombo = Control<QComboBox>(*main, "e_art");
  QComboBox& genreCombo = Control<QComboBox>(*main, "e_genre");
  QComboBox& levelCombo = Control<QComboBox>(*main, "e_level");
  QComboBox& rankCombo = Control<QComboBox>(*main, "cbrank");
  QLineEdit& bpmEdit = Control<QLineEdit>(*main, "e_bpm");
  QLineEdit& stageFileEdit = Control<QLineEdit>(*main, "E_Stagefile");
  QPlainTextEdit& infoMemo = Control<QPlainTextEdit>(*main, "mmemo");
  QPlainTextEdit& extensionMemo = Control<QPlainTextEdit>(*main, "mcom");
  struct Row {
    std::function<void()> edit;
    std::function<bool()> stored;
  };
  const Row rows[] = {
      {[&] { titleEdit.setText("タイトル"); },
       [&] { return doc.header.e_title == "\x83\x5E\x83\x43\x83\x67\x83\x8B"; }},
      {[&] { artistCombo.setEditText("Me"); }, [&] { return doc.header.e_art == "Me"; }},
      {[&] { genreCombo.setEditText("Pop"); }, [&] { return doc.header.e_genre == "Pop"; }},
      {[&] { levelCombo.setCurrentIndex(7); }, [&] { return doc.header.e_level == "0"; }},
      {[&] { rankCombo.setCurrentIndex(3); }, [&] { return doc.header.cbrank == 3; }},
      {[&] { bpmEdit.setText("99"); }, [&] { return doc.header.e_bpm == "99"; }},
      {[&] { stageFileEdit.setText("s.jpg"); }, [&] { return doc.header.E_Stagefile == "s.jpg"; }},
      {[&] { infoMemo.setPlainText("one\ntwo"); },
       [&] {
         return doc.mmemo == std::vector<std::string>{"one", "two"};
       }},
      {[&] { extensionMemo.setPlainText("#X 1"); }, [&] { return doc.mcom == std::vector<std::string>{"#X 1"}; }},
  };
  int i = 0;
  for (const Row& r : rows) {
    doc.Modified = false;
    r.edit();
    EXPECT_TRUE(r.stored()) << "row " << i;
    EXPECT_TRUE(doc.Modified) << "row " << i;
    ++i;
  }
  // The keys typed into one field make one step; leaving the field ends it.
  const size_t steps = Session().ChartHistory().Size();
  QTest::keyClicks(&titleEdit, "ab");
  EXPECT_EQ(Session().ChartHistory().Size(), steps + 1);
  emit titleEdit.editingFinished();
  QTest::keyClicks(&titleEdit, "c");
  ASSERT_EQ(Session().ChartHistory().Size(), steps + 2);
  ActionNamed(*main, "K17").trigger();
  EXPECT_EQ(titleEdit.text(), "タイトルab");
  ActionNamed(*main, "K17").trigger();
  EXPECT_EQ(titleEdit.text(), "タイトル");
}

// A Korean chart shows its header in Hangul; the optional header lines are
// fields whose edits are encoded in the chart's encoding, one step each.
TEST_F(MainWindowTest, OptionalHeaderFieldsOfAnEucKrChart) {
  Quiet();
  const std::string kim = "\xB1\xE8\xC3\xB6\xBC\xF6";  // 김철수
  const std::string path = Chart("k.bms",
                                 "#TITLE \xBD\xC3\xB0\xA3\xC0\xBB\x20\xB4\xDE\xB8\xAE\xB4\xC2\x20\xBC\xD2\xB3\xE0\r\n"
                                 "#SUBARTIST " +
                                     kim + "\r\n#SUBARTIST x\r\n#DIFFICULTY 7\r\n#LNTYPE 1\r\n");
  auto main = Start({QString::fromStdString(path)});
  Document& doc = Doc();
  ASSERT_EQ(doc.encoding, TextEncoding::Cp949);
  QComboBox& difficulty = Control<QComboBox>(*main, "e_difficulty");
  QPlainTextEdit& subartists = Control<QPlainTextEdit>(*main, "e_subartist");
  EXPECT_EQ(Control<QLineEdit>(*main, "e_title").text(), "시간을 달리는 소녀");
  EXPECT_EQ(subartists.toPlainText(), "김철수\nx");
  EXPECT_EQ(difficulty.currentText(), "7");
  EXPECT_EQ(Control<QLineEdit>(*main, "e_lntype").text(), "1");
  const size_t steps = ChartHistory().Size();
  Control<QLineEdit>(*main, "e_subtitle").setText("부제");
  EXPECT_EQ(doc.header.e_subtitle, "\xBA\xCE\xC1\xA6");
  difficulty.setCurrentIndex(4);
  EXPECT_EQ(doc.header.e_difficulty, "4");
  subartists.setPlainText("김철수\nx\ny");
  EXPECT_EQ(doc.header.e_subartist, (std::vector<std::string>{kim, "x", "y"}));
  Control<QLineEdit>(*main, "e_banner").setText("b.png");
  EXPECT_EQ(ChartHistory().Size(), steps + 4);
  for (int i = 0; i < 3; ++i) ActionNamed(*main, "K17").trigger();
  EXPECT_EQ(difficulty.currentText(), "7");
  EXPECT_EQ(doc.header.e_difficulty, "7");
  EXPECT_EQ(doc.header.e_banner, "");
  EXPECT_EQ(doc.header.e_subartist, (std::vector<std::string>{kim, "x"}));
}

TEST_F(MainWindowTest, EditsOfAUtf8ChartStayUtf8AndUntouchedBytesStay) {
  Quiet();
  // A UTF-8 chart (its byte-order mark says so) whose memo has a line that
  // is not valid in any encoding.
  const std::string path =
      Chart("u.bms", "\xEF\xBB\xBF#TITLE \xE6\x9B\xB2\r\n#ARTIST \xE4\xBA\xBA\r\nkept \xFF bytes\r\n");
  auto main = Start({QString::fromStdString(path)});
  Document& doc = Doc();
  ASSERT_EQ(doc.encoding, TextEncoding::Utf8);
  ASSERT_EQ(doc.mmemo, std::vector<std::string>{"kept \xFF bytes"});
  EXPECT_FALSE(doc.Modified);
  Control<QLineEdit>(*main, "e_title").setText("歌");
  EXPECT_EQ(doc.header.e_title, "\xE6\xAD\x8C");
  EXPECT_EQ(doc.header.e_art, "\xE4\xBA\xBA");
  // Adding a line to the memo keeps the undecodable one as it was.
  QPlainTextEdit& memo = Control<QPlainTextEdit>(*main, "mmemo");
  memo.setPlainText(memo.toPlainText() + "\nnew");
  EXPECT_EQ(doc.mmemo, (std::vector<std::string>{"kept \xFF bytes", "new"}));
}

// Keys typed into the extension memo store the lines they touch; a line that
// does not decode keeps its bytes while lines come and go around it.
TEST_F(MainWindowTest, KeysInTheExtensionMemoKeepUntouchedBytes) {
  Quiet();
  auto main = Start({QString::fromStdString(Chart("m.bms", "#00111:01\r\n#A \x81\r\n#B 2\r\n#C 3\r\n"))});
  Document& doc = Doc();
  ASSERT_EQ(doc.mcom, (std::vector<std::string>{"#A \x81", "#B 2", "#C 3"}));
  QPlainTextEdit& memo = Control<QPlainTextEdit>(*main, "mcom");
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const struct {
    std::vector<QKeyCombination> keys;
    std::vector<std::string> mcom;
  } steps[] = {
      {{ctrl | Qt::Key_Home, Qt::Key_Down, Qt::Key_End, Qt::Key_0}, {"#A \x81", "#B 20", "#C 3"}},
      {{Qt::Key_Return, Qt::Key_5}, {"#A \x81", "#B 20", "5", "#C 3"}},
      {{Qt::Key_Backspace, Qt::Key_Backspace}, {"#A \x81", "#B 20", "#C 3"}},
      {{ctrl | Qt::Key_Home, Qt::Key_Return}, {"", "#A \x81", "#B 20", "#C 3"}},
      {{Qt::Key_Backspace}, {"#A \x81", "#B 20", "#C 3"}},
      {{ctrl | Qt::Key_Home, ctrl | Qt::ShiftModifier | Qt::Key_End, Qt::Key_Backspace}, {}},
  };
  for (const auto& step : steps) {
    for (const QKeyCombination k : step.keys) QTest::keyClick(&memo, k.key(), k.keyboardModifiers());
    EXPECT_EQ(doc.mcom, step.mcom) << memo.toPlainText().toStdString();
  }
  EXPECT_TRUE(doc.Modified);
}

TEST_F(MainWindowTest, ToolButtonsAndPopupItemsRepeatTheirMenuCommands) {
  Quiet();
  auto main = Start();
  QToolButton& selectModeButton = Control<QToolButton>(*main, "s_select");
  int opens = 0, saves = 0;
  QObject::connect(&ActionNamed(*main, "Open1"), &QAction::triggered, [&] { ++opens; });
  QObject::connect(&ActionNamed(*main, "Save1"), &QAction::triggered, [&] { ++saves; });
  Control<QToolButton>(*main, "sp2").click();
  Control<QToolButton>(*main, "sp3").click();
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(saves, 1);
  ActionNamed(*main, "N22").trigger();
  EXPECT_TRUE(selectModeButton.isChecked());
  ActionNamed(*main, "N24").trigger();
  EXPECT_TRUE(Control<QToolButton>(*main, "s_erase").isChecked());
  EXPECT_FALSE(selectModeButton.isChecked());
}

TEST_F(MainWindowTest, ViewControlsReachTheScore) {
  Quiet();
  auto main = Start();
  const ViewSettings& view = Score(*main).View();
  QScrollBar& gridHeightBar = Control<QScrollBar>(*main, "ScrollBar1");
  QScrollBar& horizontalScrollBar = Control<QScrollBar>(*main, "GSH");
  gridHeightBar.setValue(400);
  EXPECT_EQ(view.GridHeight, 400);
  Control<QPushButton>(*main, "Button7").click();
  EXPECT_EQ(gridHeightBar.value(), 192);
  EXPECT_EQ(view.GridHeight, 192);
  const int narrow = horizontalScrollBar.maximum();
  Control<QScrollBar>(*main, "ScrollBar3").setValue(20);
  EXPECT_EQ(view.GridWidth, 20);
  EXPECT_GT(horizontalScrollBar.maximum(), narrow);  // wider lanes, a longer horizontal range
  Control<QComboBox>(*main, "cb_r").setCurrentIndex(9);
  EXPECT_EQ(view.SubGridPosition, 9);
  ActionNamed(*main, "c_dindex").trigger();
  EXPECT_FALSE(view.ShowIndexNumver);
}

TEST(BpmDialog, EnterConfirmsAndTheCloseBoxCancels) {
  TBPMSet confirm(nullptr);
  EXPECT_EQ(confirm.windowTitle(), "BPM");
  EXPECT_EQ(confirm.objectName(), "BPMSet");
  EXPECT_EQ(confirm.size(), QSize(185, 29));
  WhenModal([](QDialog& d) {
    auto* edit = d.findChild<QLineEdit*>("Edit1");
    QTest::keyClicks(edit, "180");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(confirm.exec(), QDialog::Accepted);
  EXPECT_EQ(confirm.Text(), "180");

  TBPMSet cancel(nullptr);
  WhenModal([](QDialog& d) {
    QTest::keyClicks(d.findChild<QLineEdit*>("Edit1"), "90");
    d.close();
  });
  EXPECT_EQ(cancel.exec(), QDialog::Rejected);
}

}  // namespace
}  // namespace beatloom::test
