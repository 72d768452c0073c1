#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

#include "platform/ui/prompts.h"
#include "bms/ui/ui_test_support.h"
#include "support/test_support.h"

namespace beatloom::test {
namespace {

// The chart dialog's filter is written with ";" between its patterns; the
// real dialog must still list the charts, whatever the case of their names.
TEST(ChartDialogTest, TheBmsFilterListsChartsOfEitherCase) {
  TempDir folder;
  for (const char* name : {"a.bms", "B.BMS", "c.bme", "d.txt"}) WriteFile(folder.file(name), "");
  QtPrompts prompts(nullptr);
  QStringList listed;
  QString shownFilter;
  WhenModal([&](QDialog& dialog) {
    auto& files = static_cast<QFileDialog&>(dialog);
    QListView* view = files.findChild<QListView*>(QStringLiteral("listView"));
    for (int wait = 0; wait < 100 && view && view->model()->rowCount(view->rootIndex()) < 3; ++wait) QTest::qWait(20);
    if (view) {
      for (int i = 0; i < view->model()->rowCount(view->rootIndex()); ++i)
        listed << view->model()->index(i, 0, view->rootIndex()).data().toString();
    }
    shownFilter = files.selectedNameFilter();
    files.reject();
  });
  const QString chosen = prompts.OpenFileName({QStringLiteral("BMSファイルの読込"),
                                               QString::fromStdString(folder.path()),
                                               QString(),
                                               {QStringLiteral("BMSファイル形式(*.bms;*.bme)")},
                                               0,
                                               QStringLiteral("BMS")});
  EXPECT_TRUE(chosen.isEmpty());
  listed.sort(Qt::CaseInsensitive);
  EXPECT_EQ(listed, (QStringList{"a.bms", "B.BMS", "c.bme"}));
  EXPECT_EQ(shownFilter, QStringLiteral("BMSファイル形式(*.bms;*.bme)"));
}

// The default extension is added in upper case, while charts here are as
// often named in lower case: what the author types still opens the chart.
TEST(ChartDialogTest, ATypedNameOpensTheChartWhateverTheCaseOfItsName) {
  TempDir folder;
  for (const char* name : {"song.bms", "Loud.BMS", "mixed.Bme"}) WriteFile(folder.file(name), "");
  struct Row {
    const char* typed;
    const char* expect;
  };
  const Row rows[] = {
      {"song", "song.bms"},       {"Loud", "Loud.BMS"},     {"SONG.BMS", "song.bms"},
      {"mixed.bme", "mixed.Bme"}, {"song.bms", "song.bms"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    QtPrompts prompts(nullptr);
    WhenModal([&](QDialog& dialog) {
      auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      name->setText(QString::fromUtf8(row.typed));
      // A refusal is a message box over the dialog, which would wait for
      // ever: take both down. Once the dialog is gone this never fires.
      QTimer::singleShot(1000, &dialog, [&dialog] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box && box != &dialog) box->done(0);
        dialog.reject();
      });
      dialog.accept();
    });
    const QString chosen = prompts.OpenFileName({QStringLiteral("BMSファイルの読込"),
                                                 QString::fromStdString(folder.path()),
                                                 QString(),
                                                 {QStringLiteral("BMSファイル形式(*.bms;*.bme)")},
                                                 0,
                                                 QStringLiteral("BMS")});
    EXPECT_EQ(chosen, QString::fromStdString(folder.file(row.expect)));
  }
}

}  // namespace
}  // namespace beatloom::test
