#include "view/ui/view_controller.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "view/ui/score_widget.h"

namespace beatloom {

ViewController::ViewController(ChartSession& session, ViewSettings& view, const ViewControls& controls, QObject* parent)
    : QObject(parent), session_(session), view_(view), c_(controls) {
  ConnectViewControls();
  ConnectModeButtons();
  const auto scroll = [this] { c_.score->SetScroll(c_.verticalScrollBar->value(), c_.horizontalScrollBar->value()); };
  connect(c_.verticalScrollBar, &QScrollBar::valueChanged, this, scroll);
  connect(c_.horizontalScrollBar, &QScrollBar::valueChanged, this, scroll);
  connect(c_.score, &ScoreWidget::layoutChanged, this, &ViewController::SyncScrollBars);
  listener_ = session_.AddListener([this](const ChartNotice& notice) { Show(notice); });
}

ViewController::~ViewController() { session_.RemoveListener(listener_); }

void ViewController::ConnectViewControls() {
  const auto bar = [this](QScrollBar* scrollBar, int ViewSettings::*field) {
    connect(scrollBar, &QScrollBar::valueChanged, this, [this, field](int v) {
      view_.*field = v;
      Redraw();
    });
  };
  bar(c_.gridHeightBar, &ViewSettings::GridHeight);
  bar(c_.gridWidthBar, &ViewSettings::GridWidth);
  bar(c_.objectHeightBar, &ViewSettings::ObjectHeight);
  const auto reset = [](QPushButton* button, QScrollBar* target, int value) {
    QObject::connect(button, &QPushButton::clicked, target, [target, value] { target->setValue(value); });
  };
  reset(c_.gridHeightResetButton, c_.gridHeightBar, DefaultGridHeight);
  reset(c_.gridWidthResetButton, c_.gridWidthBar, DefaultGridWidth);
  reset(c_.objectHeightResetButton, c_.objectHeightBar, DefaultObjectHeight);
  const auto combo = [this](QComboBox* box, int ViewSettings::*field) {
    connect(box, &QComboBox::currentIndexChanged, this, [this, field](int i) {
      view_.*field = i;
      Redraw();
    });
  };
  combo(c_.gridCombo, &ViewSettings::GridPosition);
  combo(c_.subGridCombo, &ViewSettings::SubGridPosition);
  const auto check = [this](QAction* item, bool ViewSettings::*field) {
    connect(item, &QAction::toggled, this, [this, field](bool on) {
      view_.*field = on;
      Redraw();
    });
  };
  check(c_.showIndexNumbersAction, &ViewSettings::ShowIndexNumver);
  check(c_.showFileNamesAction, &ViewSettings::ShowFileName);
  check(c_.flatObjectWidthAction, &ViewSettings::FlatObjectWidth);
}

void ViewController::ConnectModeButtons() {
  for (QAbstractButton* button : c_.modeButtons) {
    if (!button) continue;
    // The listeners refresh the edit menu even when nothing was selected.
    connect(button, &QAbstractButton::clicked, this, [this] {
      session_.Apply({.modified = ChartEdit::Mark::Leave, .aspects = kChartSelection}, [](Document& doc) {
        bool any = false;
        for (TBmsObject& o : doc.ObjList) {
          any = any || o.Selected;
          o.Selected = 0;
        }
        return any ? EditOutcome::Changed : EditOutcome::Unchanged;
      });
    });
  }
  for (QCheckBox* check : c_.redrawChecks)
    if (check) connect(check, &QCheckBox::toggled, this, &ViewController::Redraw);
}

void ViewController::TakeControls() {
  view_.GridHeight = c_.gridHeightBar->value();
  view_.GridWidth = c_.gridWidthBar->value();
  view_.ObjectHeight = c_.objectHeightBar->value();
  view_.GridPosition = c_.gridCombo->currentIndex();
  view_.SubGridPosition = c_.subGridCombo->currentIndex();
  view_.ShowIndexNumver = c_.showIndexNumbersAction->isChecked();
  view_.ShowFileName = c_.showFileNamesAction->isChecked();
  view_.FlatObjectWidth = c_.flatObjectWidthAction->isChecked();
}

void ViewController::Show(const ChartNotice& notice) {
  if (notice.replaced != ChartReplaced::No) {
    const QSignalBlocker block(c_.verticalScrollBar);
    c_.verticalScrollBar->setRange(session_.Doc().ScrollMin, 0);
    c_.verticalScrollBar->setValue(0);
    c_.score->SetScroll(0, c_.horizontalScrollBar->value());
  }
  // Header texts reach the score only as file names on the objects.
  const unsigned shown = kChartObjects | kChartSelection | kChartLayout | (view_.ShowFileName ? kChartHeader : 0u);
  if (notice.replaced != ChartReplaced::No || (notice.aspects & shown)) Redraw();
}

void ViewController::Redraw() {
  c_.score->Redraw();
  SyncScrollBars();
}

void ViewController::SyncScrollBars() {
  // The score clamps its positions; the bars only show them.
  const QSignalBlocker blockV(c_.verticalScrollBar);
  const QSignalBlocker blockH(c_.horizontalScrollBar);
  c_.verticalScrollBar->setRange(session_.Doc().ScrollMin, 0);
  c_.verticalScrollBar->setValue(c_.score->VerticalScroll());
  const auto [hmin, hmax] = c_.score->HorizontalRange();
  c_.horizontalScrollBar->setRange(hmin, hmax);
  c_.horizontalScrollBar->setValue(c_.score->HorizontalScroll());
}

}  // namespace beatloom
