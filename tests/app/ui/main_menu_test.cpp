// The menu table is what a translation walks: every row must name exactly one
// control, built in the menu the row names and handed to its member.
#include "app/ui/main_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <set>
#include <string>

namespace beatloom {
namespace {

QMenu* MenuNamed(const QMainWindow& window, const char* name) {
  return window.findChild<QMenu*>(QString::fromUtf8(name), Qt::FindChildrenRecursively);
}

TEST(MainMenuTable, EveryRowBuildsOneControlInItsMenu) {
  QMainWindow window;
  const MainMenu m = BuildMainMenu(&window);
  std::set<std::string> names;
  for (const MenuItemRow& row : MainMenuTable()) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(names.insert(row.name).second) << "control name used twice";
    QMenu* holder = row.parent ? MenuNamed(window, row.parent) : nullptr;
    if (row.parent) {
      ASSERT_NE(holder, nullptr);
    }
    QAction* built = nullptr;
    switch (row.kind) {
      case MenuRowKind::Menu:
      case MenuRowKind::Popup:
        ASSERT_NE(m.*row.menu, nullptr);
        EXPECT_EQ((m.*row.menu)->objectName(), row.name);
        if (row.kind == MenuRowKind::Menu) built = (m.*row.menu)->menuAction();
        break;
      case MenuRowKind::Item:
        ASSERT_NE(m.*row.action, nullptr);
        built = m.*row.action;
        EXPECT_EQ(built->objectName(), row.name);
        EXPECT_EQ(built->isCheckable(), row.checkable);
        // An item that no handler serves must not look usable.
        if (row.handler == MenuHandler::None) {
          EXPECT_FALSE(row.enabled);
        }
        break;
      case MenuRowKind::Separator:
        for (QAction* a : holder->actions()) {
          if (a->objectName() == row.name) built = a;
        }
        ASSERT_NE(built, nullptr);
        EXPECT_TRUE(built->isSeparator());
        break;
    }
    if (holder && built) {
      EXPECT_TRUE(holder->actions().contains(built)) << "not in " << row.parent;
    }
  }
}

}  // namespace
}  // namespace beatloom
