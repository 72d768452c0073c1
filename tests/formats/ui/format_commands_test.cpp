#include "session/chart_session.h"
#include "formats/ui/format_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <fstream>
#include <vector>

#include "formats/ui/winpsm_dialog.h"
#include "model/document.h"
#include "support/scripted_prompts.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

// Records what the commands asked of the main window.
struct Host {
  Document* doc = nullptr;
  bool allowDiscard = true;
  int confirmations = 0;
  int resets = 0;
  int replaced = 0;
  int lanes = 0;

  // The views learn of an import and of the lanes through the session.
  void Listen(ChartSession& session) {
    session.AddListener([this](const ChartNotice& n) {
      if (n.replaced == ChartReplaced::New) ++replaced;
      if (n.aspects & kChartLayout) ++lanes;
    });
  }

  FormatHooks Hooks() {
    FormatHooks h;
    h.confirmDiscard = [this] {
      ++confirmations;
      return allowDiscard;
    };
    h.resetChart = [this] {
      ++resets;
      doc->ResetDocument();
    };
    h.dialogFolder = [] { return QStringLiteral("/start"); };
    return h;
  }
};

struct Fixture {
  test::TempDir home;
  ChartSession session;
  Document& doc = session.Doc();
  test::ScriptedPrompts prompts;
  Host host;
  std::unique_ptr<FormatCommands> commands;

  Fixture() {
    host.doc = &doc;
    host.Listen(session);
    Make();
  }
  void Make() { commands = std::make_unique<FormatCommands>(session, prompts, home.path(), host.Hooks()); }
  QString File(const char* name) const { return QString::fromStdString(home.file(name)); }
};

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

TEST(FormatCommands, RunKnowsOnlyItsOwnItems) {
  Fixture f;
  EXPECT_FALSE(f.commands->Run("Open1"));
  EXPECT_TRUE(f.prompts.shown.empty());
  EXPECT_TRUE(f.prompts.fileDialogs.empty());
  EXPECT_EQ(f.host.confirmations, 0);
}

TEST(FormatCommands, ImportReplacesTheChart) {
  Fixture f;
  test::WriteFile(f.home.file("in.ddr"), "#TITLE Hop\r\n#DOUBLE\r\n#000:1\r\n$001:8\r\n");
  f.doc.AddObject(22, 0, 5);
  f.doc.header.e_bpm = "180";
  f.prompts.fileNames.push_back(f.File("in.ddr"));
  ASSERT_TRUE(f.commands->Run("DDRVddr1"));

  EXPECT_EQ(f.host.confirmations, 1);
  EXPECT_EQ(f.host.resets, 1);
  EXPECT_EQ(f.host.replaced, 1);
  ASSERT_EQ(f.prompts.fileDialogs.size(), 1u);
  EXPECT_EQ(f.prompts.fileDialogs[0].filters, QStringList{"DDRV形式(*.ddr)"});
  EXPECT_EQ(f.prompts.fileDialogs[0].defaultSuffix, "DDR");
  EXPECT_EQ(f.prompts.fileDialogs[0].folder, "/start");
  EXPECT_EQ(f.doc.header.e_title, "Hop");
  EXPECT_EQ(f.doc.header.e_bpm, "120");  // reset first
  EXPECT_EQ(f.doc.header.cbpmode, 2);
  ASSERT_EQ(f.doc.ObjList.size(), 2u);
  EXPECT_EQ(f.doc.ObjList[0].Lane, 1);
  EXPECT_EQ(f.doc.ObjList[1].Lane, 17);
  EXPECT_EQ(f.doc.ObjList[1].Pos, 192);
  EXPECT_TRUE(f.doc.Modified);
}

// An import is one step of the new chart's history: whatever it brought in
// marks the chart, and undo leaves the empty chart.
TEST(FormatCommands, ImportIsOneStepThatMarksTheChart) {
  struct Case {
    const char* file;
    bool modified;
  };
  const std::vector<Case> cases = {
      {"#TITLE Hop\r\n", true},
      {"#COMMENT Ann\r\n", true},
      {"#BASIC\r\n", true},
      {"#MSD 7.5\r\n", true},
      {"#DOUBLE\r\n#000:1\r\n", true},
      {"#TWOPLAY\r\n$001:8\r\n", true},
      {"#TITLE   \r\n#000:F\r\n", true},
      {"#TITLE   \r\n", false},  // an empty title leaves the field as it was: nothing changed
  };
  for (const Case& c : cases) {
    Fixture f;
    test::WriteFile(f.home.file("in.ddr"), c.file);
    f.prompts.fileNames.push_back(f.File("in.ddr"));
    f.commands->ImportDdrv();
    EXPECT_EQ(f.doc.Modified, c.modified) << c.file;
    EXPECT_EQ(f.session.UndoLastChange(), c.modified);
    EXPECT_TRUE(f.doc.ObjList.empty() && !f.doc.Modified) << c.file;
  }
}

TEST(FormatCommands, ImportStopsWhenRefusedOrCancelled) {
  Fixture f;
  f.doc.AddObject(1, 0, 1);
  f.host.allowDiscard = false;
  f.commands->ImportDdrv();
  EXPECT_TRUE(f.prompts.fileDialogs.empty());

  f.host.allowDiscard = true;
  f.commands->ImportDdrv();  // no file name scripted: the dialog is cancelled
  EXPECT_EQ(f.prompts.fileDialogs.size(), 1u);
  EXPECT_EQ(f.doc.ObjList.size(), 1u);
  EXPECT_EQ(f.host.resets, 0);
  EXPECT_EQ(f.host.replaced, 0);
}

TEST(FormatCommands, UnreadableImportLeavesTheResetChart) {
  Fixture f;
  f.commands = std::make_unique<FormatCommands>(f.session, f.prompts, f.home.path(), FormatHooks{});  // no window at all
  f.doc.AddObject(1, 0, 1);
  f.doc.header.e_title = "Old";
  f.prompts.fileNames.push_back(f.File("missing.ddr"));
  f.commands->ImportDdrv();
  ASSERT_EQ(f.prompts.shown.size(), 1u);
  EXPECT_TRUE(f.prompts.shown[0].text.contains("missing.ddr"));
  EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_TRUE(f.doc.ObjList.empty());
  EXPECT_TRUE(f.doc.header.e_title.empty());
  EXPECT_FALSE(f.doc.Modified);
}

TEST(FormatCommands, ExportDdrvWritesTheFile) {
  Fixture f;
  f.doc.header.e_title = "Hop";
  f.doc.AddObject(1, 0, 1);
  f.prompts.fileNames.push_back(f.File("out.ddr"));
  f.commands->Run("DDRVDDR2");
  EXPECT_EQ(test::ReadFile(f.home.file("out.ddr")),
            "#TITLE Hop\r\n#\r\n#COMMENT \r\n#000:1000000000000000\r\n$000:\r\n");
  EXPECT_EQ(f.prompts.fileDialogs.at(0).filters, QStringList{"DDRV形式(*.ddr)"});
  EXPECT_EQ(f.host.lanes, 1);
  EXPECT_EQ(f.host.confirmations, 0);
  EXPECT_TRUE(f.prompts.shown.empty());

  f.commands->ExportDdrv();  // cancelled
  EXPECT_EQ(f.host.lanes, 1);
}

TEST(FormatCommands, ExportDdrvReportsAFolderItCannotWrite) {
  Fixture f;
  f.prompts.fileNames.push_back(f.File("no/such/folder/out.ddr"));
  f.commands->ExportDdrv();
  ASSERT_EQ(f.prompts.shown.size(), 1u);
  EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Error);
}

TEST(FormatCommands, BmmNeedsASavedChart) {
  Fixture f;
  f.doc.AddObject(1, 96, 1);
  f.commands->Run("MML1");
  EXPECT_TRUE(f.prompts.WasShown("BMS形式で保存してから実行して下さい"));

  f.prompts.shown.clear();
  f.session.File().saveTo = f.home.file("song.bms");
  f.commands->Run("MML1");
  EXPECT_TRUE(f.prompts.shown.empty());
  EXPECT_TRUE(Exists(f.home.file("song.BML")));
  EXPECT_EQ(test::ReadFile(f.home.file("song.BMM")).substr(0, 8), "T41.50\r\n");
}

TEST(FormatCommands, BmmWithABadTempoWritesNothing) {
  Fixture f;
  f.doc.header.e_bpm = "0";
  f.session.File().saveTo = f.home.file("song.bms");
  f.commands->ExportBmm();
  ASSERT_EQ(f.prompts.shown.size(), 1u);
  EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_FALSE(Exists(f.home.file("song.BML")));
  EXPECT_FALSE(Exists(f.home.file("song.BMM")));
}

TEST(FormatCommands, WinPsmFollowsTheTemplateAtStartUp) {
  Fixture f;
  EXPECT_FALSE(f.commands->WinPsmAvailable());
  test::WriteFile(f.home.file("master.psf"), std::string(9000, '\0'));
  EXPECT_FALSE(f.commands->WinPsmAvailable());  // decided once, when made
  f.Make();
  EXPECT_TRUE(f.commands->WinPsmAvailable());
}

TEST(FormatCommands, WinPsmShowsItsDialogModally) {
  Fixture f;
  QWidget* seen = nullptr;
  auto* timer = new QTimer;
  const QDeadlineTimer deadline(5000);
  QObject::connect(timer, &QTimer::timeout, [&, timer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      seen = modal;
      modal->close();
    }
    if (seen || deadline.hasExpired()) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
  f.commands->Run("WinPSMps1");
  EXPECT_EQ(seen, &f.commands->WinPsmExportDialog());
}

}  // namespace
}  // namespace beatloom
