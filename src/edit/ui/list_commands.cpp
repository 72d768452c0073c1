#include "edit/ui/list_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <optional>
#include <utility>

#include "model/text_codec.h"
#include "platform/ui/prompts.h"

namespace beatloom {

namespace {

Prompts::FileDialog DialogFor(DefinitionKind kind) {
  Prompts::FileDialog d;
  if (kind == DefinitionKind::Wav) {
    d.title = QStringLiteral("サウンドファイルの読込");
    d.filters = {QStringLiteral("サウンドファイル(*.wav *.ogg *.flac *.mp3)")};
    d.defaultSuffix = QStringLiteral("wav");
    return d;
  }
  d.title = QStringLiteral("画像の読込");
  d.filters = {QStringLiteral("ビットマップファイル(*.bmp)"), QStringLiteral("Jpegファイル(*.jpg,*.jpeg,*.jpe)"),
               QStringLiteral("GIFファイル(*.gif)"), QStringLiteral("PNGファイル(*.png)")};
  d.defaultSuffix = QStringLiteral("bmp");
  return d;
}

}  // namespace

ListCommands::ListCommands(ChartSession& session, const ListControls& controls, Prompts& prompts, ChartFiles files,
                           QObject* parent)
    : QObject(parent), session_(session), c_(controls), prompts_(prompts), files_(std::move(files)) {
  const auto wire = [this](QPushButton* button, auto command) {
    connect(button, &QPushButton::clicked, this, command);
  };
  wire(c_.assignWavButton, [this] { Assign(DefinitionKind::Wav); });
  wire(c_.assignBmpButton, [this] { Assign(DefinitionKind::Bmp); });
  wire(c_.clearWavButton, [this] { Clear(DefinitionKind::Wav); });
  wire(c_.clearBmpButton, [this] { Clear(DefinitionKind::Bmp); });
  // The arrows act as the button goes down, so that holding the mouse on one
  // is a single step.
  connect(c_.wavUpButton, &QPushButton::pressed, this, [this] { Move(DefinitionKind::Wav, -1); });
  connect(c_.wavDownButton, &QPushButton::pressed, this, [this] { Move(DefinitionKind::Wav, 1); });
  connect(c_.bmpUpButton, &QPushButton::pressed, this, [this] { Move(DefinitionKind::Bmp, -1); });
  connect(c_.bmpDownButton, &QPushButton::pressed, this, [this] { Move(DefinitionKind::Bmp, 1); });
  connect(c_.wavList, &QListWidget::itemDoubleClicked, this, [this] { Assign(DefinitionKind::Wav); });
  connect(c_.bmpList, &QListWidget::itemDoubleClicked, this, [this] { Assign(DefinitionKind::Bmp); });
  connect(c_.releaseUnusedAction, &QAction::triggered, this, &ListCommands::ReleaseUnused);
  connect(c_.compactIndicesAction, &QAction::triggered, this, &ListCommands::Compact);
  if (QAction* expand = c_.expandIndicesAction) {
    connect(expand, &QAction::triggered, this, &ListCommands::ExpandIndices);
    // Only a hexadecimal chart can be widened; the menu says so when it opens.
    for (QObject* holder : expand->associatedObjects())
      if (auto* menu = qobject_cast<QMenu*>(holder))
        connect(menu, &QMenu::aboutToShow, this,
                [this, expand] { expand->setEnabled(session_.Doc().indices.Radix() == DefinitionIndex::Hex); });
  }
}

QListWidget* ListCommands::ListOf(DefinitionKind kind) const {
  return kind == DefinitionKind::Wav ? c_.wavList : c_.bmpList;
}

void ListCommands::Select(DefinitionKind kind, int row) {
  QListWidget* list = ListOf(kind);
  const QSignalBlocker block(list);
  list->setCurrentRow(row);
}

QString ListCommands::NameAt(DefinitionKind kind, int row) const {
  const Document& doc = session_.Doc();
  const auto& names = NamesOf(doc, kind);
  const auto index = static_cast<size_t>(IndexOfRow(kind, row));
  return index < names.size() ? QString::fromStdString(ToUtf8(names[index], doc.encoding)) : QString();
}

void ListCommands::Assign(DefinitionKind kind) {
  const int row = ListOf(kind)->currentRow();
  if (row < 0) return;
  Prompts::FileDialog dialog = DialogFor(kind);
  dialog.folder = files_.folder();
  dialog.fileName = NameAt(kind, row);
  const QString chosen = prompts_.OpenFileName(dialog);
  if (chosen.isEmpty()) return;
  const QString fileName = QFileInfo(chosen).fileName();
  // A name stored with "?" for what the chart's encoding cannot hold would
  // name no file at all.
  const std::optional<std::string> name = FromUtf8Whole(fileName.toStdString(), session_.Doc().encoding);
  if (!name) {
    prompts_.Message(QString::fromUtf8(kUnencodableNameMessage) + QLatin1Char('\n') + fileName,
                     Prompts::Icon::Warning);
    return;
  }
  AssignDefinition(session_, kind, row, *name);
  Select(kind, row);
}

void ListCommands::Clear(DefinitionKind kind) {
  const int row = ListOf(kind)->currentRow();
  if (row < 0) return;
  AssignDefinition(session_, kind, row, std::string());
  Select(kind, row);
}

void ListCommands::Move(DefinitionKind kind, int step) {
  const int row = ListOf(kind)->currentRow();
  const int other = row < 0 ? row : row + step;
  const bool moves = CanSwap(session_.Doc(), kind, row, other);
  const ListOutcome result = SwapDefinitions(session_, kind, row, other);
  if (result.outcome == EditOutcome::Refused) {
    prompts_.Message(QString::fromStdString(result.message), Prompts::Icon::Warning);
    return;
  }
  // The selection moves with the file.
  if (moves) Select(kind, other);
}

void ListCommands::ReleaseUnused() { ReleaseUnusedDefinitions(session_); }

void ListCommands::Compact() {
  const ListOutcome result = CompactDefinitions(session_);
  if (result.outcome == EditOutcome::Refused) {
    prompts_.Message(QString::fromStdString(result.message), Prompts::Icon::Warning);
    return;
  }
  Select(DefinitionKind::Wav, 0);
  Select(DefinitionKind::Bmp, 1);
}

void ListCommands::ExpandIndices() {
  const QString question = QStringLiteral(
      "WAV・BMPのインデックスを36進数（01～ZZ）に拡張し、1295個まで登録できるようにします。\n"
      "登録済みのインデックスとオブジェはそのままの表記で残ります。\n"
      "16進数に戻すには「元に戻す」(Ctrl+Z)を使います。\n"
      "拡張しますか？");
  if (prompts_.Ask(question, Prompts::Icon::Question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes) return;
  const int wavRow = c_.wavList->currentRow();
  const int bmpRow = c_.bmpList->currentRow();
  const ListOutcome result = ExpandToBase36(session_);
  if (result.outcome == EditOutcome::Refused) {
    prompts_.Message(QString::fromStdString(result.message), Prompts::Icon::Warning);
    return;
  }
  // The same labels stand on other rows now.
  const auto rowAfter = [](DefinitionKind kind, int row) {
    return Base36OfHex(IndexOfRow(kind, row)) - IndexOfRow(kind, 0);
  };
  Select(DefinitionKind::Wav, wavRow < 0 ? 0 : rowAfter(DefinitionKind::Wav, wavRow));
  Select(DefinitionKind::Bmp, bmpRow < 0 ? 1 : rowAfter(DefinitionKind::Bmp, bmpRow));
}

void ListCommands::Drop(const QStringList& paths) {
  if (files_.openDroppedChart(paths)) return;
  std::vector<std::string> utf8;
  for (const QString& path : paths) utf8.push_back(path.toStdString());
  const DropStart start{c_.wavList->currentRow(), c_.bmpList->currentRow(), c_.skipUsedCheck->isChecked(),
                        files_.folder().toStdString()};
  const DropPlan plan = PlanDrop(session_.Doc(), utf8, start);
  if (plan.chart) return;
  ApplyDrop(session_, plan);
  for (const std::string& message : plan.messages) prompts_.Message(QString::fromStdString(message));
  if (!plan.wav.empty()) Select(DefinitionKind::Wav, plan.wavRow);
  if (!plan.bmp.empty()) Select(DefinitionKind::Bmp, plan.bmpRow);
}

}  // namespace beatloom
