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

#include "platform/ui/bpm_dialog.h"
#include "app/ui/main_window_fixture.h"

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
    {"k12", "編集中のデータを最初から演奏", "Ctrl+P", false, -1},
    {"k18", "編集中のデータを表示位置から演奏", "Ctrl+T", false, -1},
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
    QAction* a = main->Action(QString::fromUtf8(r.name));
    ASSERT_NE(a, nullptr) << r.name;
    EXPECT_EQ(a->text(), QString::fromUtf8(r.caption)) << r.name;
    EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), QString::fromUtf8(r.shortcut)) << r.name;
    EXPECT_EQ(a->isEnabled(), r.enabled) << r.name;
    EXPECT_EQ(a->isCheckable(), r.checked >= 0) << r.name;
    if (r.checked >= 0) {
      EXPECT_EQ(a->isChecked(), r.checked == 1) << r.name;
    }
  }
  EXPECT_FALSE(main->Action("K10")->text().isEmpty());
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrderWithSeparators) {
  Quiet();
  auto main = Start();
  QStringList top;
  for (QAction* a : main->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, QStringList({"ファイル(&F)", "編集(&E)", "表示(&V)", "設定(&S)", "アレンジ(&A)", "外部ビューア(B)",
                              "ヘルプ(&H)"}));
  QStringList file;
  Walk(main->Menu().fileMenu, file);
  EXPECT_EQ(file.join(' '),
            "New1 Open1 N9 SaveAs1 Save1 - N39 DDRVddr1 N38 MML1 DDRVDDR2 WinPSMps1 TypeMania1 - WAVBMPC1 BMPWAV1 - "
            "N31 N32 - Exit1");
  QStringList edit;
  Walk(main->Menu().editMenu, edit);
  EXPECT_EQ(edit.join(' '),
            "K17 - K8 K7 K6 Delete1 - N45 N46 - subete1 N1P1 N2P1 BGMB1 BMPM1 - K11 N28 K2 - N41 - N22 N23 N24 - N30");
  const MainMenu& m = main->Menu();
  const std::pair<QMenu*, const char*> others[] = {
      {m.viewMenu, "K5 BMPB1 - N7 c_dindex c_direct N26 N33"},
      {m.settingsMenu, "N34 - N43"},
      {m.arrangeMenu, "N35 N36"},
      {m.playerMenu, "k12 k18 N44"},
      {m.helpMenu, "K13 K10 - K4"},
  };
  for (const auto& [menu, items] : others) {
    QStringList walked;
    Walk(menu, walked);
    EXPECT_EQ(walked.join(' '), QString::fromUtf8(items)) << menu->objectName().toStdString();
  }
  QStringList popup;
  Walk(main->Menu().scorePopup, popup);
  EXPECT_EQ(popup.join(' '), "K14 K15 - K19 K20 K21 Delete2");
  // The reopen items exist, hidden while the list is empty.
  for (QAction* a : main->Menu().RecentItems()) EXPECT_FALSE(a->isVisible());
}

TEST_F(MainWindowTest, ReopenMenuFollowsTheWorkFilesList) {
  Quiet();
  WriteFile(home.file("Beatloom WorkFiles.txt"), "/charts/a.bms\r\n/charts/b:c.bms\r\n");
  auto main = Start();
  EXPECT_TRUE(main->Menu().reopenMenu->isEnabled());
  const QList<QAction*> items = main->Menu().RecentItems();
  EXPECT_EQ(items[0]->text(), "1:/charts/a.bms");
  EXPECT_EQ(items[1]->text(), "2:/charts/b:c.bms");
  EXPECT_TRUE(items[1]->isVisible());
  EXPECT_FALSE(items[2]->isVisible());
}

TEST_F(MainWindowTest, AReopenItemOpensItsChartAfterAsking) {
  Quiet();
  // The path's own colon must not cut the name short.
  const std::string first = Chart("a:b.bms", "#TITLE First\r\n#00111:01\r\n");
  const std::string second = Chart("second.bms", "#TITLE Second\r\n");
  WriteFile(home.file("Beatloom WorkFiles.txt"), first + "\r\n" + second + "\r\n");
  auto main = Start();
  const MainMenu& m = main->Menu();
  Document& doc = main->Doc();
  struct Row {
    QAction* item;
    bool modifiedBefore;
    std::optional<Answer> answer;
    std::string expectTitle;
  };
  const Row rows[] = {
      {m.reopen1Action, false, std::nullopt, "First"},
      {m.reopen2Action, true, Answer::Cancel, "First"},
      {m.reopen2Action, true, Answer::No, "Second"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.item->text().toStdString());
    doc.AddObject(2, 0, 1);
    main->TakeUndoSnapshot();
    doc.Modified = r.modifiedBefore;
    if (r.answer) prompts.answers.push_back(*r.answer);
    prompts.shown.clear();
    r.item->trigger();
    EXPECT_TRUE(prompts.answers.empty());
    EXPECT_EQ(prompts.shown.size(), r.answer ? 1u : 0u);
    EXPECT_EQ(doc.header.e_title, r.expectTitle);
    const bool opened = r.answer != Answer::Cancel;
    EXPECT_EQ(doc.Modified, !opened);
    EXPECT_EQ(m.undoAction->isEnabled(), !opened);
  }
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(second) + "]");
  // Opening does not reorder the list; only saving does.
  EXPECT_EQ(m.reopen1Action->text(), "1:" + QString::fromStdString(first));
}

TEST_F(MainWindowTest, HeaderPagesAndSettingsColumnToggle) {
  Quiet();
  {
    auto main = Start();
    const MainWidgets& w = main->Widgets();
    const int listHeight = w.listPanel->height();
    w.headerPagesToggle->click();
    EXPECT_FALSE(w.headerPages->isVisible());
    EXPECT_EQ(w.headerPagesToggle->text(), "▽");
    QCoreApplication::processEvents();
    EXPECT_GT(w.listPanel->height(), listHeight);  // the lists take the freed room
    w.headerPagesToggle->click();
    EXPECT_TRUE(w.headerPages->isVisible());
    EXPECT_EQ(w.headerPagesToggle->text(), "△");

    main->Menu().showSettingsColumnAction->trigger();
    EXPECT_FALSE(w.settingsColumn->isVisible());
    EXPECT_FALSE(main->Menu().showSettingsColumnAction->isChecked());
    main->Menu().showSettingsColumnAction->trigger();
    EXPECT_TRUE(w.settingsColumn->isVisible());
    EXPECT_TRUE(main->Menu().showSettingsColumnAction->isChecked());
    main->Menu().showSettingsColumnAction->trigger();
    main->Menu().showDirectInputAction->trigger();
    EXPECT_FALSE(w.directInputBar->isVisible());
    w.headerPagesToggle->click();  // the header panel's state is not kept
    EXPECT_TRUE(main->close());
  }
  auto again = Start();
  EXPECT_FALSE(again->Widgets().settingsColumn->isVisible());
  EXPECT_FALSE(again->Menu().showSettingsColumnAction->isChecked());
  EXPECT_FALSE(again->Widgets().directInputBar->isVisible());
  EXPECT_TRUE(again->Widgets().headerPages->isVisibleTo(again->Widgets().settingsColumn));
  EXPECT_EQ(again->Widgets().headerPagesToggle->text(), "△");
}

TEST_F(MainWindowTest, HelpOpensTheFileOrSaysItIsMissing) {
  Quiet();
  auto main = Start();
  const QString missing = "ヘルプファイルがありません。WWWヘルプを参照し、オフライン用ヘルプをダウンロードして下さい。";
  main->Menu().helpAction->trigger();
  EXPECT_TRUE(prompts.WasShown(missing));
  EXPECT_TRUE(shell.opened.empty());

  // The page shipped beside the program serves a program folder of its own.
  std::filesystem::create_directory(programFiles.file("help"));
  WriteFile(programFiles.file("help/help.html"), "<html></html>");
  prompts.shown.clear();
  main->Menu().helpAction->trigger();
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(QString::fromStdString(programFiles.file("help/help.html"))));

  std::filesystem::create_directory(home.file("help"));
  WriteFile(home.file("help/help.html"), "<html></html>");
  main->Menu().helpAction->trigger();
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(shell.opened.size(), 2u);
  EXPECT_EQ(shell.opened[1], QUrl::fromLocalFile(QString::fromStdString(home.file("help/help.html"))));

  main->Menu().homePageAction->trigger();
  ASSERT_EQ(shell.opened.size(), 3u);
  EXPECT_EQ(shell.opened[2].scheme(), "https");
}

TEST_F(MainWindowTest, UndoIsAvailableOnlyAfterASnapshotAndOnlyOnce) {
  Quiet();
  auto main = Start();
  QAction* k17 = main->Menu().undoAction;
  Document& doc = main->Doc();
  main->TakeUndoSnapshot();  // an empty chart has nothing to keep
  EXPECT_FALSE(k17->isEnabled());

  doc.AddObject(1, 0, 1);
  doc.AddObject(2, 48, 2);
  const std::vector<TBmsObject> before = doc.ObjList;
  main->TakeUndoSnapshot();
  EXPECT_TRUE(k17->isEnabled());
  doc.ObjList.clear();
  doc.AddObject(9, 96, 3);
  main->Redraw();

  k17->trigger();
  EXPECT_FALSE(k17->isEnabled());
  EXPECT_EQ(doc.ObjList, before);
  EXPECT_TRUE(doc.Modified);
  k17->trigger();  // disabled: nothing happens
  EXPECT_EQ(doc.ObjList, before);

  main->TakeUndoSnapshot();
  EXPECT_TRUE(k17->isEnabled());
  main->DisableUndo();
  EXPECT_FALSE(k17->isEnabled());
}

TEST_F(MainWindowTest, DirectInputLine) {
  Quiet();
  auto main = Start();
  const MainWidgets& w = main->Widgets();
  Document& doc = main->Doc();

  w.directInputEdit->setText("#00111:01");
  QTest::keyClick(w.directInputEdit, Qt::Key_Return);  // "Input" is the default button
  ASSERT_EQ(doc.ObjList.size(), 1u);
  EXPECT_EQ(doc.ObjList[0].Lane, 1);
  EXPECT_EQ(doc.ObjList[0].Pos, 192);
  EXPECT_EQ(w.directInputEdit->text(), "");
  EXPECT_FALSE(doc.Modified);

  w.directInputEdit->setText("#TITLE Test");
  w.directInputButton->click();
  EXPECT_EQ(w.titleEdit->text(), "Test");
  EXPECT_TRUE(doc.Modified);

  doc.Modified = false;
  w.directInputEdit->setText("#RANK hard");
  w.directInputButton->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_EQ(w.directInputEdit->text(), "#RANK hard");
  EXPECT_FALSE(doc.Modified);

  // Enter in an empty line adds nothing to the memo.
  w.directInputEdit->clear();
  w.directInputButton->click();
  EXPECT_TRUE(doc.mmemo.empty());
}

TEST_F(MainWindowTest, HeaderEditsMarkTheChartButThePlayModeDoesNot) {
  Quiet();
  auto main = Start();
  const MainWidgets& w = main->Widgets();
  Document& doc = main->Doc();
  w.playModeCombo->setCurrentIndex(2);
  EXPECT_EQ(doc.header.cbpmode, 2);
  EXPECT_FALSE(doc.Modified);

  struct Row {
    std::function<void()> edit;
    std::function<bool()> stored;
  };
  const Row rows[] = {
      {[&] { w.titleEdit->setText("タイトル"); },
       [&] { return doc.header.e_title == "\x83\x5E\x83\x43\x83\x67\x83\x8B"; }},
      {[&] { w.artistCombo->setEditText("Me"); }, [&] { return doc.header.e_art == "Me"; }},
      {[&] { w.genreCombo->setEditText("Pop"); }, [&] { return doc.header.e_genre == "Pop"; }},
      {[&] { w.levelCombo->setCurrentIndex(7); }, [&] { return doc.header.e_level == "0"; }},
      {[&] { w.rankCombo->setCurrentIndex(3); }, [&] { return doc.header.cbrank == 3; }},
      {[&] { w.bpmEdit->setText("99"); }, [&] { return doc.header.e_bpm == "99"; }},
      {[&] { w.stageFileEdit->setText("s.jpg"); }, [&] { return doc.header.E_Stagefile == "s.jpg"; }},
      {[&] { w.infoMemo->setPlainText("one\ntwo"); },
       [&] {
         return doc.mmemo == std::vector<std::string>{"one", "two"};
       }},
      {[&] { w.extensionMemo->setPlainText("#X 1"); }, [&] { return doc.mcom == std::vector<std::string>{"#X 1"}; }},
  };
  int i = 0;
  for (const Row& r : rows) {
    doc.Modified = false;
    r.edit();
    EXPECT_TRUE(r.stored()) << "row " << i;
    EXPECT_TRUE(doc.Modified) << "row " << i;
    ++i;
  }
}

TEST_F(MainWindowTest, EditsOfAUtf8ChartStayUtf8AndUntouchedBytesStay) {
  Quiet();
  // A UTF-8 chart whose memo has a line that is not valid in any encoding.
  const std::string path = Chart("u.bms", "#TITLE \xE6\x9B\xB2\r\n#ARTIST \xE4\xBA\xBA\r\n");
  auto main = Start({QString::fromStdString(path)});
  Document& doc = main->Doc();
  ASSERT_EQ(doc.encoding, TextEncoding::Utf8);
  doc.mmemo = {"kept \xFF bytes"};
  main->RefreshFromDocument();
  EXPECT_FALSE(doc.Modified);
  main->Widgets().titleEdit->setText("歌");
  EXPECT_EQ(doc.header.e_title, "\xE6\xAD\x8C");
  EXPECT_EQ(doc.header.e_art, "\xE4\xBA\xBA");
  // Adding a line to the memo keeps the undecodable one as it was.
  QPlainTextEdit* memo = main->Widgets().infoMemo;
  memo->setPlainText(memo->toPlainText() + "\nnew");
  EXPECT_EQ(doc.mmemo, (std::vector<std::string>{"kept \xFF bytes", "new"}));
}

TEST_F(MainWindowTest, ToolButtonsAndPopupItemsRepeatTheirMenuCommands) {
  Quiet();
  auto main = Start();
  const MainWidgets& w = main->Widgets();
  const MainMenu& m = main->Menu();
  int opens = 0, saves = 0;
  QObject::connect(m.openAction, &QAction::triggered, [&] { ++opens; });
  QObject::connect(m.saveAction, &QAction::triggered, [&] { ++saves; });
  w.openButton->click();
  w.saveButton->click();
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(saves, 1);
  m.selectModeAction->trigger();
  EXPECT_TRUE(w.selectModeButton->isChecked());
  m.eraseModeAction->trigger();
  EXPECT_TRUE(w.eraseModeButton->isChecked());
  EXPECT_FALSE(w.selectModeButton->isChecked());
}

TEST_F(MainWindowTest, ViewControlsReachTheScore) {
  Quiet();
  auto main = Start();
  const MainWidgets& w = main->Widgets();
  w.gridHeightBar->setValue(400);
  EXPECT_EQ(main->View().GridHeight, 400);
  w.gridHeightResetButton->click();
  EXPECT_EQ(w.gridHeightBar->value(), 192);
  EXPECT_EQ(main->View().GridHeight, 192);
  const int narrow = main->Widgets().horizontalScrollBar->maximum();
  w.gridWidthBar->setValue(20);
  EXPECT_EQ(main->View().GridWidth, 20);
  EXPECT_GT(w.horizontalScrollBar->maximum(), narrow);  // wider lanes, a longer horizontal range
  w.subGridCombo->setCurrentIndex(9);
  EXPECT_EQ(main->View().SubGridPosition, 9);
  main->Menu().showIndexNumbersAction->trigger();
  EXPECT_FALSE(main->View().ShowIndexNumver);
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
