#include <gtest/gtest.h>

#include <QFileDialog>
#include <QListView>
#include <QTest>

#include "app/ui/prompts.h"
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

}  // namespace
}  // namespace beatloom::test
