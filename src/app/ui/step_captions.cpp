#include "app/ui/step_captions.h"

#include <QAction>
#include <QWidget>

namespace beatloom {

namespace {

// Every name a command gives its step, with the control name its caption
// is translated under.
struct KnownStep {
  const char* control;
  const char* label;
};

constexpr KnownStep kKnownSteps[] = {
    {"StepWrite", "書き込み"},
    {"StepErase", "消去"},
    {"StepMove", "移動"},
    {"StepCopyDrag", "複写"},
    {"StepLength", "長さの変更"},
    {"StepDelete", "削除"},
    {"StepCut", "切り取り"},
    {"StepPaste", "貼り付け"},
    {"StepInsertMeasure", "小節の挿入"},
    {"StepDeleteMeasures", "小節の削除"},
    {"StepMeasureLength", "小節長の変更"},
    {"StepSearch", "検索・置換・削除"},
    {"StepSpacing", "オブジェ間隔の変更"},
    {"StepMirror", "ミラー"},
    {"StepDefinition", "定義の変更"},
    {"StepRegister", "定義の登録"},
    {"StepSwap", "定義の入れ替え"},
    {"StepRelease", "未使用定義の登録解除"},
    {"StepCompact", "インデックスNo.の詰め直し"},
    {"StepBase36", "インデックスの36進数への拡張"},
    {"StepHeader", "ヘッダの編集"},
    {"StepRank", "ランクの変更"},
    {"StepPlayMode", "プレイモードの変更"},
    {"StepKeptLines", "拡張命令の編集"},
    {"StepMemo", "メモの編集"},
    {"StepDirectInput", "ダイレクト入力"},
    {"StepSource", "ソースのダイレクト編集"},
    {"StepImport", "インポート"},
    {"StepTidy", "保存前の整理"},
};

}  // namespace

StepCaptions::StepCaptions(QWidget& window) {
  for (const KnownStep& step : kKnownSteps) {
    // Held by the window, shown nowhere: only its text is used.
    auto* action = new QAction(QString::fromUtf8(step.label), &window);
    action->setObjectName(QString::fromUtf8(step.control));
    actions_.emplace(step.label, action);
  }
}

QString StepCaptions::Caption(const std::string& label) const {
  const auto found = actions_.find(label);
  return found == actions_.end() ? QString::fromStdString(label) : found->second->text();
}

}  // namespace beatloom
