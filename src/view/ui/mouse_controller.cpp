#include "view/ui/mouse_controller.h"

#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "platform/ui/prompts.h"
#include "view/ui/score_widget.h"

namespace beatloom {

namespace {

PointerInput InputOf(const QMouseEvent& e) {
  PointerInput in;
  const QPoint p = e.position().toPoint();
  in.x = p.x();
  in.y = p.y();
  in.button = e.button() == Qt::RightButton    ? PointerButton::Right
              : e.button() == Qt::MiddleButton ? PointerButton::Middle
                                               : PointerButton::Left;
  in.shift = e.modifiers().testFlag(Qt::ShiftModifier);
  in.ctrl = e.modifiers().testFlag(Qt::ControlModifier);
  return in;
}

int SelectedRow(const QListWidget* list) {
  if (list == nullptr) return -1;
  const QListWidgetItem* item = list->currentItem();
  return item != nullptr && item->isSelected() ? list->row(item) : -1;
}

}  // namespace

MouseController::MouseController(ChartSession& session, const MouseControls& controls, Prompts& prompts,
                                 QObject* parent)
    : QObject(parent), c_(controls), prompts_(prompts) {
  isActive_ = [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; };
  MouseEditor::Hooks hooks;
  hooks.values = [this] { return SelectedValues(); };
  hooks.askBpm = [this](std::string& text) {
    QString typed;
    if (!prompts_.AskBpm(typed)) return false;
    text = typed.toStdString();
    return true;
  };
  hooks.askStop = [this](std::string& text) {
    QString typed;
    if (!prompts_.AskStop(typed)) return false;
    text = typed.toStdString();
    return true;
  };
  hooks.message = [this](const std::string& text) { prompts_.Message(QString::fromStdString(text)); };
  hooks.popup = [this](int x, int y) {
    if (c_.popup != nullptr) c_.popup->popup(c_.score->mapToGlobal(QPoint(x, y)));
  };
  hooks.selectionChanged = [this] { emit selectionChanged(); };
  editor_ = std::make_unique<MouseEditor>(session, c_.score->Geometry(), c_.score->View(), std::move(hooks));
  c_.score->setMouseTracking(true);
  c_.score->installEventFilter(this);
  ConnectModeButtons();
  if (c_.activationGuardAction != nullptr) {
    editor_->SetActivationGuard(c_.activationGuardAction->isChecked());
    connect(c_.activationGuardAction, &QAction::toggled, this, [this](bool on) { editor_->SetActivationGuard(on); });
  }
}

MouseController::~MouseController() {
  if (c_.score != nullptr) c_.score->removeEventFilter(this);
}

void MouseController::ConnectModeButtons() {
  const std::pair<QAbstractButton*, EditTool> modes[] = {{c_.selectModeButton, EditTool::Select},
                                                         {c_.writeModeButton, EditTool::Write},
                                                         {c_.eraseModeButton, EditTool::Erase}};
  for (const auto& mode : modes) {
    // Plain copies: clang 14 cannot capture a structured binding.
    QAbstractButton* const button = mode.first;
    const EditTool tool = mode.second;
    if (button == nullptr) continue;
    // clicked, not toggled: pressing the button already down deselects too.
    connect(button, &QAbstractButton::clicked, this, [this, tool] {
      editor_->SetTool(tool);
      c_.score->Blit();
    });
    if (button->isChecked()) editor_->SetTool(tool);
  }
}

NewObjectValues MouseController::SelectedValues() const {
  NewObjectValues v;
  const int wav = SelectedRow(c_.wavList);
  v.wav = wav >= 0 ? wav + 1 : 0;
  v.bmp = SelectedRow(c_.bmpList);
  return v;
}

bool MouseController::eventFilter(QObject* watched, QEvent* event) {
  if (watched != c_.score) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // Only a click takes the keyboard focus: a pointer merely passing over
      // the score must not take it from a field being typed in.
      c_.score->setFocus(Qt::MouseFocusReason);
      {
        const PointerInput in = InputOf(static_cast<QMouseEvent&>(*event));
        editor_->Press(in);
        // The note just written or clicked on, for those who hear it.
        const int hit = in.button == PointerButton::Left ? editor_->HitTest(in.x, in.y) : -1;
        if (hit >= 0) emit objectPressed(hit);
      }
      break;
    case QEvent::MouseMove:
      editor_->Move(InputOf(static_cast<QMouseEvent&>(*event)), isActive_());
      break;
    case QEvent::MouseButtonRelease:
      editor_->Release(InputOf(static_cast<QMouseEvent&>(*event)));
      break;
    default:
      return QObject::eventFilter(watched, event);
  }
  ShowOverlay();
  ShowStatus();
  return true;
}

void MouseController::Tick() {
  const QPoint p = c_.score->mapFromGlobal(QCursor::pos());
  const MouseEditor::TickResult r = editor_->Tick(isActive_(), p.x(), p.y());
  if (r.verticalStep != 0 && c_.verticalScrollBar != nullptr) {
    c_.verticalScrollBar->setValue(c_.verticalScrollBar->value() + r.verticalStep);
  }
  if (r.horizontalStep != 0 && c_.horizontalScrollBar != nullptr) {
    c_.horizontalScrollBar->setValue(c_.horizontalScrollBar->value() + r.horizontalStep);
  }
  ShowOverlay();
}

void MouseController::ShowOverlay() {
  ScoreWidget& score = *c_.score;
  for (const OverlayStep& step : editor_->TakeOverlay()) {
    QRect covered;
    switch (step.kind) {
      case OverlayStep::Kind::Blit:
        score.Blit();
        continue;
      case OverlayStep::Kind::Restore:
        score.RestoreOverlay();
        continue;
      case OverlayStep::Kind::Object:
        covered = score.DrawObject(step.object);
        break;
      case OverlayStep::Kind::Frame:
        covered = score.DrawFrame(step.rect, step.red ? QColor(0xFF, 0, 0) : QColor(Qt::white));
        break;
    }
    if (step.remember) score.RememberOverlay(covered);
  }
}

void MouseController::ShowStatus() {
  const StatusText& s = editor_->Status();
  const std::pair<QLabel*, const std::string*> labels[] = {{c_.kindLabel, &s.kind},
                                                           {c_.measureLabel, &s.measure},
                                                           {c_.beatLabel, &s.beat},
                                                           {c_.gridLabel, &s.grid},
                                                           {c_.zoneLabel, &s.zone}};
  for (const auto& [label, text] : labels) {
    if (label != nullptr) label->setText(QString::fromStdString(*text));
  }
  if (c_.timeLabel != nullptr && c_.secondsAt)
    c_.timeLabel->setText(QString::fromStdString(TimeText(c_.secondsAt(editor_->StatusTicks()))));
}

}  // namespace beatloom
