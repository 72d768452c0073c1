#include "bms/ui/source_editor.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/prompts.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

SourceEditor::SourceEditor(Prompts& prompts, QWidget* parent)
    : QDialog(parent),
      prompts_(prompts),
      memo_(new QPlainTextEdit(this)),
      fontButton_(new QPushButton(QStringLiteral("フォントの変更"), this)),
      discardButton_(new QPushButton(QStringLiteral("編集を破棄"), this)),
      applyButton_(new QPushButton(QStringLiteral("変更"), this)) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(QStringLiteral("ソースのダイレクト編集"));
  resize(640, 480);

  memo_->setObjectName(QStringLiteral("Memo1"));
  // Data lines only line up in columns with a fixed pitch and without wrapping.
  memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  fontButton_->setObjectName(QStringLiteral("Button1"));
  discardButton_->setObjectName(QStringLiteral("Button2"));
  applyButton_->setObjectName(QStringLiteral("Button3"));
  // Enter belongs to the memo; only a click applies the edits.
  for (QPushButton* b : {fontButton_, discardButton_, applyButton_}) b->setAutoDefault(false);
  connect(fontButton_, &QPushButton::clicked, this, &SourceEditor::ChooseFont);
  connect(discardButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(applyButton_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(fontButton_);
  buttons->addStretch();
  buttons->addWidget(discardButton_);
  buttons->addWidget(applyButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo_, 1);
  layout->addLayout(buttons);
  WindowCreated(*this);
}

bool SourceEditor::EditLines(QStringList& lines) {
  memo_->setPlainText(lines.join(QLatin1Char('\n')));
  memo_->moveCursor(QTextCursor::Start);
  memo_->setFocus();
  if (exec() != QDialog::Accepted) return false;
  lines = memo_->toPlainText().split(QLatin1Char('\n'));
  return true;
}

void SourceEditor::ChooseFont() {
  QFont font = memo_->font();
  if (prompts_.ChooseFont(font)) memo_->setFont(font);
}

}  // namespace beatloom
