#include "app/ui/config_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/external_players.h"
#include "app/ini_file.h"
#include "app/language_file.h"
#include "app/settings.h"
#include "model/text_codec.h"
#include "platform/ui/named_control.h"
#include "platform/ui/prompts.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

namespace {

struct FieldRow {
  const char* name;
  const char* caption;
};
constexpr FieldRow kFieldRows[kExAppLines] = {
    {"VS_Name", "表示名"},
    {"VS_Exe", "実行ファイル"},
    {"VS_atPlay1", "最初から再生時の引数"},
    {"VS_atPlay2", "現在位置から再生時の引数"},
    {"VS_atStop", "停止時の引数"},
    {"VS_atPlayable", "演奏時の引数"},
};

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The settings file is CP932 text like the charts; an older one may be UTF-8.
QString FromSettingsText(const std::string& bytes) { return Utf8(ToUtf8(bytes, DetectEncoding(bytes))); }
std::string ToSettingsText(const QString& text) { return FromUtf8(text.toStdString(), TextEncoding::Cp932); }

QLabel* Caption(QWidget* parent, int& labels, const char* text) {
  const std::string name = "Label" + std::to_string(++labels);
  return Named(new QLabel(QString::fromUtf8(text), parent), name.c_str());
}

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  auto* button = Named(new QPushButton(QString::fromUtf8(text), parent), name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TConfig::TConfig(std::vector<std::string>& exApps, std::string programFolder, IniFile& settings, Prompts& prompts,
                 QWidget* parent)
    : QDialog(parent),
      shared_(exApps),
      lines_(WholeExAppEntries(exApps)),
      programFolder_(std::move(programFolder)),
      settings_(settings),
      prompts_(prompts) {
  setObjectName(QStringLiteral("Config"));
  setWindowTitle(QStringLiteral("設定"));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* pages = Named(new QTabWidget(this), "PageControl1");
  auto* viewers = Named(new QWidget(pages), "TabSheet1");
  auto* defaults = Named(new QWidget(pages), "TabSheet2");
  pages->addTab(viewers, QStringLiteral("ビューア"));
  pages->addTab(defaults, QStringLiteral("規定値"));
  BuildViewerPage(viewers);
  BuildDefaultsPage(defaults);

  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "Button7");
  auto* cancel = Button(this, "Button6", "Cancel");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TConfig::Confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* v = new QVBoxLayout(this);
  v->addWidget(pages);
  v->addLayout(buttons);
  // A fixed border: the dialog keeps the size its contents ask for.
  v->setSizeConstraint(QLayout::SetFixedSize);

  for (int k = 0; k < ExAppCount(lines_); ++k) entries_->addItem(Utf8(ExAppLine(lines_, k, ExAppField::Name)));
  const UserDefaults user = ReadUserDefaults(settings_);
  email_->setText(FromSettingsText(user.email));
  url_->setText(FromSettingsText(user.url));
  hearNotes_->setChecked(settings_.ReadBool(kSectionMain, kHearNotesKey, true));
  adjustSize();
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  WindowCreated(*this);
}

void TConfig::BuildViewerPage(QWidget* page) {
  int labels = 0;
  entries_ = Named(new QListWidget(page), "LB");
  entries_->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* remove = Button(page, "Button4", "削除");
  auto* add = Button(page, "Button2", "追加");
  auto* replace = Button(page, "Button1", "置換");
  auto* browse = Button(page, "Button3", "...");
  browse->setFixedWidth(32);
  connect(entries_, &QListWidget::itemDoubleClicked, this, &TConfig::ShowEntry);
  connect(add, &QPushButton::clicked, this, &TConfig::AddEntry);
  connect(replace, &QPushButton::clicked, this, &TConfig::ReplaceEntry);
  connect(remove, &QPushButton::clicked, this, &TConfig::DeleteEntry);
  connect(browse, &QPushButton::clicked, this, &TConfig::ChooseProgram);

  auto* left = new QVBoxLayout;
  left->addWidget(Caption(page, labels, "プレビュー用ソフトウェアリスト"));
  left->addWidget(entries_);
  left->addWidget(remove, 0, Qt::AlignLeft);
  auto* fields = new QGridLayout;
  for (int k = 0; k < kExAppLines; ++k) {
    fields_[k] = Named(new QLineEdit(page), kFieldRows[k].name);
    fields_[k]->setMinimumWidth(220);
    fields->addWidget(Caption(page, labels, kFieldRows[k].caption), 2 * k, 0, 1, 2);
    fields->addWidget(fields_[k], 2 * k + 1, 0);
  }
  fields->addWidget(browse, 3, 1);
  auto* entryButtons = new QHBoxLayout;
  entryButtons->addStretch();
  entryButtons->addWidget(add);
  entryButtons->addWidget(replace);
  auto* placeholders = Named(new QGroupBox(QStringLiteral("特殊引数"), page), "GroupBox1");
  auto* placeholderLines = new QVBoxLayout(placeholders);
  placeholderLines->addWidget(
      Caption(page, labels, "[filename] \"\"付きファイル名　[purefilename] \"\"無しファイル名"));
  placeholderLines->addWidget(Caption(page, labels, "[note#] 演奏開始小節番号"));
  auto* right = new QVBoxLayout;
  right->addLayout(fields);
  right->addLayout(entryButtons);
  right->addWidget(placeholders);
  hearNotes_ = Named(new QCheckBox(QStringLiteral("ノートを書き込む・選ぶと音を鳴らす"), page), "c_hearnotes");
  right->addWidget(hearNotes_);
  auto* h = new QHBoxLayout(page);
  h->addLayout(left);
  h->addLayout(right);
}

void TConfig::BuildDefaultsPage(QWidget* page) {
  int labels = 10;
  email_ = Named(new QLineEdit(page), "e_EMAIL");
  url_ = Named(new QLineEdit(page), "e_URL");
  auto* v = new QVBoxLayout(page);
  v->addWidget(Caption(page, labels, "作成者e-mailアドレス"));
  v->addWidget(email_);
  v->addWidget(Caption(page, labels, "作成者Web Pageアドレス"));
  v->addWidget(url_);
  BuildLanguageChoice(page, v, labels);
  v->addStretch();
}

void TConfig::BuildLanguageChoice(QWidget* page, QVBoxLayout* rows, int& labels) {
  rows->addWidget(Caption(page, labels, "表示言語"));
  language_ = Named(new QComboBox(page), "cb_Language");
  // Each language in its own words, so that either reader finds theirs.
  for (const char* item : {"自動 / Automatic", "日本語", "English"}) language_->addItem(QString::fromUtf8(item));
  const int stored = static_cast<int>(ReadInterfaceLanguage(settings_));
  language_->setCurrentIndex(stored);
  rows->addWidget(language_);
  nextStartNote_ = Caption(page, labels, "次回の起動から有効になります");
  nextStartNote_->setVisible(false);
  rows->addWidget(nextStartNote_);
  connect(language_, &QComboBox::currentIndexChanged, this,
          [this, stored](int index) { nextStartNote_->setVisible(index != stored); });
}

int TConfig::SelectedEntry() const {
  const QList<QListWidgetItem*> selected = entries_->selectedItems();
  return selected.isEmpty() ? -1 : entries_->row(selected.front());
}

std::vector<std::string> TConfig::FieldTexts() const {
  std::vector<std::string> texts;
  for (const QLineEdit* field : fields_) texts.push_back(field->text().toStdString());
  return texts;
}

void TConfig::ShowEntry() {
  const int entry = SelectedEntry();
  if (entry < 0) return;
  for (int k = 0; k < kExAppLines; ++k) fields_[k]->setText(Utf8(ExAppLine(lines_, entry, ExAppField(k))));
}

void TConfig::AddEntry() {
  const std::vector<std::string> texts = FieldTexts();
  lines_.insert(lines_.end(), texts.begin(), texts.end());
  entries_->addItem(fields_[0]->text());
  entries_->setCurrentRow(entries_->count() - 1);
}

void TConfig::ReplaceEntry() {
  const int entry = SelectedEntry();
  if (entry < 0) return;
  const std::vector<std::string> texts = FieldTexts();
  std::copy(texts.begin(), texts.end(), lines_.begin() + entry * kExAppLines);
  entries_->item(entry)->setText(fields_[0]->text());
}

void TConfig::DeleteEntry() {
  const int entry = SelectedEntry();
  if (entry < 0) return;
  if (entries_->count() == 1) {
    prompts_.Message(QStringLiteral("全て削除する事はできません"));
    return;
  }
  const auto first = lines_.begin() + entry * kExAppLines;
  lines_.erase(first, first + kExAppLines);
  delete entries_->takeItem(entry);
}

void TConfig::ChooseProgram() {
  const Prompts::FileDialog dialog{QStringLiteral("ビューアの選択"),
                                   QString::fromStdString(programFolder_),
                                   QString(),
                                   {QStringLiteral("実行ファイル (*)")},
                                   0,
                                   QString()};
  const QString path = prompts_.OpenFileName(dialog);
  if (!path.isEmpty()) fields_[1]->setText(path);
}

// A write that fails keeps the dialog open with the author's work in it; the
// shared list has taken the new entries by then.
void TConfig::Confirm() {
  // The settings file is CP932: a value it cannot hold is refused rather
  // than stored with "?" in it. (The players' list keeps any text whole.)
  for (const QLineEdit* field : {email_, url_}) {
    if (!FromUtf8Whole(field->text().toStdString(), TextEncoding::Cp932)) {
      prompts_.Message(QStringLiteral("Shift_JISで表せない文字を含むため保存できません:\n") + field->text(),
                       Prompts::Icon::Warning);
      return;
    }
  }
  shared_ = lines_;
  listReplaced_ = true;
  std::string reason;
  if (!SaveExApps(programFolder_, shared_, &reason)) {
    prompts_.Message(QStringLiteral("保存でエラーが生じました\n") + Utf8(reason), Prompts::Icon::Error);
    return;
  }
  if (!WriteUserDefaults(settings_, {ToSettingsText(email_->text()), ToSettingsText(url_->text())}) ||
      !settings_.WriteBool(kSectionMain, kHearNotesKey, hearNotes_->isChecked()) ||
      !WriteInterfaceLanguage(settings_, static_cast<InterfaceLanguage>(language_->currentIndex()))) {
    prompts_.Message(QStringLiteral("保存でエラーが生じました\n") + QString::fromStdString(settings_.Path()),
                     Prompts::Icon::Error);
    return;
  }
  accept();
}

}  // namespace beatloom
