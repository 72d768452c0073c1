#include "formats/ui/winpsm_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/ui/prompts.h"
#include "platform/ui/window_texts.h"
#include "formats/winpsm_export.h"
#include "model/document.h"
#include "model/file_io.h"

namespace beatloom {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

std::string Cp932Of(const QString& text) { return FromUtf8(text.toStdString(), TextEncoding::Cp932); }

}  // namespace

WinPsmDialog::WinPsmDialog(Document& doc, Prompts& prompts, std::string programFolder, QWidget* parent)
    : QDialog(parent), doc_(doc), prompts_(prompts), programFolder_(std::move(programFolder)) {
  setObjectName(QStringLiteral("Form12"));
  setWindowTitle(QStringLiteral("DDRエディットデータ出力"));
  setModal(true);
  BuildControls();
  connect(Button1, &QPushButton::clicked, this, &WinPsmDialog::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &WinPsmDialog::Button2Click);
  WindowCreated(*this);
}

void WinPsmDialog::BuildControls() {
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetFixedSize);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setMinimumWidth(260);
  Button1 = new QPushButton(QStringLiteral("Brouse"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  grid->addWidget(NamedLabel("Label1", QStringLiteral("保存先"), this), 0, 0);
  grid->addWidget(Edit1, 0, 1);
  grid->addWidget(Button1, 0, 2);

  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  grid->addWidget(NamedLabel("Label2", QStringLiteral("ブロックデータ名"), this), 1, 0);
  grid->addWidget(Edit2, 1, 1);
  grid->addWidget(NamedLabel("Label3", QStringLiteral("全角8文字"), this), 1, 2);

  Edit3 = new QLineEdit(this);
  Edit3->setObjectName(QStringLiteral("Edit3"));
  grid->addWidget(NamedLabel("Label4", QStringLiteral("エディットデータ名"), this), 2, 0);
  grid->addWidget(Edit3, 2, 1);
  grid->addWidget(NamedLabel("Label5", QStringLiteral("半角8文字"), this), 2, 2);

  SM = new QComboBox(this);
  SM->setObjectName(QStringLiteral("SM"));
  SM->setEditable(false);
  for (const std::string& item : WinPsmSongList()) SM->addItem(QString::fromStdString(item));
  SM->setCurrentIndex(0);
  grid->addWidget(NamedLabel("Label6", QStringLiteral("業務機での演奏曲"), this), 3, 0);
  grid->addWidget(SM, 3, 1, 1, 2);

  Button2 = new QPushButton(QStringLiteral("作成！"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  grid->addWidget(NamedLabel("Label7", QStringLiteral("※この機能により作成したデータで問題が"), this), 4, 0, 1, 2);
  grid->addWidget(NamedLabel("Label8", QStringLiteral("生じても責任は取れません。"), this), 5, 0, 1, 2);
  grid->addWidget(Button2, 4, 2, 2, 1);
}

void WinPsmDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void WinPsmDialog::Button1Click() {
  Prompts::FileDialog d;
  d.folder = Edit1->text().isEmpty() ? initialFolder_ : QFileInfo(Edit1->text()).absolutePath();
  d.fileName = Edit1->text();
  d.filters = {QStringLiteral("WinPSM形式(*.ps)")};
  d.defaultSuffix = QStringLiteral("ps");
  const QString chosen = prompts_.SaveFileName(d);
  if (!chosen.isEmpty()) Edit1->setText(chosen);
}

void WinPsmDialog::Button2Click() {
  if (Edit1->text().isEmpty()) return;
  WinPsmFields fields;
  fields.blockName = Cp932Of(Edit2->text());
  fields.editName = Cp932Of(Edit3->text());
  fields.songCode = static_cast<uint8_t>(std::max(0, WinPsmSongCode(SM->currentText().toStdString())));
  const std::string templatePath = JoinPath(programFolder_, std::string(kWinPsmTemplateName));
  std::string reason;
  if (ExportWinPsmFile(doc_, fields, templatePath, QFile::encodeName(Edit1->text()).toStdString(), &reason)) {
    prompts_.Message(QString::fromUtf8(kWinPsmSavedMessage.data(), kWinPsmSavedMessage.size()));
  } else {
    prompts_.Message(QString::fromUtf8(kWinPsmFailedMessage.data(), kWinPsmFailedMessage.size()), Prompts::Icon::Error);
  }
}

}  // namespace beatloom
