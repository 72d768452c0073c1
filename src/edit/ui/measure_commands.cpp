#include "edit/ui/measure_commands.h"

#include <QAction>
#include <QWidget>
#include <utility>

#include "edit/measure_ops.h"
#include "edit/ui/delete_measures_dialog.h"
#include "edit/ui/measure_length_dialog.h"
#include "platform/ui/prompts.h"

namespace beatloom {

MeasureCommands::MeasureCommands(ChartSession& session, const MeasureControls& controls, Prompts& prompts,
                                 std::function<int()> anchorPos, QWidget* window)
    : QObject(window),
      session_(session),
      prompts_(prompts),
      anchorPos_(std::move(anchorPos)),
      window_(window),
      deleteDialog_(new DeleteMeasuresDialog(window)) {
  const std::pair<QAction*, void (MeasureCommands::*)()> items[] = {
      {controls.insertMeasureAction, &MeasureCommands::InsertHere},
      {controls.deleteMeasureAction, &MeasureCommands::DeleteHere},
      {controls.deleteMeasuresAction, &MeasureCommands::DeleteRange},
      {controls.measureLengthAction, &MeasureCommands::ChangeLengths}};
  for (const auto& item : items)
    if (item.first) connect(item.first, &QAction::triggered, this, item.second);
}

void MeasureCommands::InsertHere() { Tell(InsertMeasure(session_, MeasureOfPos(anchorPos_())).message); }

void MeasureCommands::DeleteHere() {
  // Above measure 0 there is nothing to delete, and nothing may move below it.
  const int measure = MeasureOfPos(anchorPos_());
  if (measure < 0) return;
  Tell(DeleteMeasures(session_, {measure, measure}).message);
}

void MeasureCommands::DeleteRange() {
  const auto typed = deleteDialog_->Ask();
  if (!typed) return;
  const ParsedSpan parsed = ParseMeasureSpan(typed->first.toStdString(), typed->second.toStdString());
  if (!parsed.span) return Tell(parsed.message);
  Tell(DeleteMeasures(session_, *parsed.span).message);
}

void MeasureCommands::ChangeLengths() {
  MeasureLengthDialog dialog(session_.Doc().MeasureLen, prompts_, window_);
  const auto lines = dialog.Ask();
  if (!lines) return;
  session_.Apply({.label = "小節長の変更", .aspects = kChartLayout}, [&lines](Document& doc) {
    ReadLengthLines(*lines, doc.MeasureLen);
    return EditOutcome::Changed;
  });
}

void MeasureCommands::Tell(std::string_view message) {
  if (message.empty()) return;
  prompts_.Message(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())), Prompts::Icon::Warning);
}

}  // namespace beatloom
