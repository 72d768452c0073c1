#include "app/ui/header_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

#include "bms/bms_reader.h"
#include "model/text_codec.h"
#include "model/text_scan.h"

namespace beatloom {

namespace {

// "- none -" and the five levels.
constexpr int kDifficultyChoices = 6;

// Sets a control's text without telling anyone. A field the program fills
// shows the start of its text: setting it leaves the cursor, and so the
// view, at the end of a long title.
void ShowText(QObject* control, const QString& text) {
  const QSignalBlocker block(control);
  QLineEdit* edit = qobject_cast<QLineEdit*>(control);
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (combo->currentText() == text) return;
    combo->setEditText(text);
    edit = combo->lineEdit();
  } else if (edit) {
    if (edit->text() == text) return;
    edit->setText(text);
  }
  if (edit) edit->home(false);
}

}  // namespace

HeaderPanel::HeaderPanel(ChartSession& session, const MainWidgets& widgets, QObject* parent)
    : QObject(parent), session_(session), doc_(session.Doc()), w_(widgets) {
  // Every control is named after its field, so the document's own field
  // table is the one list of header texts.
  for (const HeaderFieldRef& f : HeaderTextFields()) {
    textFields_.push_back({w_.headerPages->findChild<QWidget*>(QString::fromLatin1(f.name)), f.field});
    Q_ASSERT(textFields_.back().control);
    if (textFields_.back().control != w_.difficultyCombo) BindText(textFields_.back().control, f.field);
  }
  BindDifficulty();
  BindSubartists();
  BindMemo(w_.infoMemo, &Document::mmemo);
  BindMemo(w_.extensionMemo, &Document::mcom);
  // A kept out-of-range line of the same keyword would undo the author's
  // choice after a save, so it goes, and the extension memo shows that.
  connect(w_.rankCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (refreshing_) return;
    bool dropped = false;
    Edit("ランクの変更", nullptr, kChartHeader, kPartHeader | kPartKeptLines, [&](Document& doc) {
      doc.header.cbrank = index;
      dropped = DropKeptLinesOf(doc, HeaderChoice::Rank);
    });
    if (dropped) RefreshFromDocument();
  });
  // The lanes follow the play mode.
  connect(w_.playModeCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (refreshing_) return;
    bool dropped = false;
    Edit("プレイモードの変更", nullptr, kChartLayout | kChartHeader, kPartHeader | kPartKeptLines, [&](Document& doc) {
      doc.header.cbpmode = index;
      dropped = DropKeptLinesOf(doc, HeaderChoice::PlayMode);
    });
    if (dropped) RefreshFromDocument();
  });
  listener_ = session_.AddListener([this](const ChartNotice& notice) { Show(notice); });
}

HeaderPanel::~HeaderPanel() { session_.RemoveListener(listener_); }

void HeaderPanel::Edit(const char* label, const void* mergeKey, unsigned aspects, unsigned parts,
                       const std::function<void(Document&)>& change) {
  editing_ = true;
  const ChartEdit edit{.label = label, .aspects = aspects, .parts = parts, .mergeKey = mergeKey};
  session_.Apply(edit, [&change](Document& doc) {
    change(doc);
    return EditOutcome::Changed;
  });
  editing_ = false;
}

void HeaderPanel::Show(const ChartNotice& notice) {
  // Refilling the control being typed into would move its cursor.
  if (editing_) return;
  const bool replaced = notice.replaced != ChartReplaced::No;
  if (replaced || (notice.aspects & kChartHeader)) RefreshFromDocument();
  if (!replaced) return;
  w_.wavList->setCurrentRow(0);
  w_.bmpList->setCurrentRow(notice.replaced == ChartReplaced::Loaded ? 0 : 1);
}

QString HeaderPanel::Decode(const std::string& bytes) const {
  return QString::fromStdString(ToUtf8(bytes, doc_.encoding));
}

void HeaderPanel::BindText(QObject* control, std::string HeaderFields::*field) {
  auto store = [this, field](const QString& text) {
    if (refreshing_) return;
    std::string bytes = FromUtf8(text.toStdString(), doc_.encoding);
    Edit("ヘッダの編集", &(doc_.header.*field), kChartHeader, kPartHeader,
         [&](Document& doc) { doc.header.*field = std::move(bytes); });
  };
  // Leaving the field commits its edit: the next keys make a step of their own.
  auto seal = [this] { session_.SealStep(); };
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    connect(edit, &QLineEdit::textChanged, this, store);
    connect(edit, &QLineEdit::editingFinished, this, seal);
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    connect(combo, &QComboBox::editTextChanged, this, store);
    if (combo->lineEdit()) connect(combo->lineEdit(), &QLineEdit::editingFinished, this, seal);
  }
}

void HeaderPanel::BindDifficulty() {
  QComboBox* combo = w_.difficultyCombo;
  connect(combo, &QComboBox::currentIndexChanged, this, [this, combo](int index) {
    if (refreshing_ || index < 0) return;
    // The extra item carries the bytes the chart had.
    std::string value = index == 0 ? std::string() : std::to_string(index);
    if (index >= kDifficultyChoices) value = combo->itemData(index).toByteArray().toStdString();
    if (value == doc_.header.e_difficulty) return;
    Edit("難易度の変更", nullptr, kChartHeader, kPartHeader,
         [&](Document& doc) { doc.header.e_difficulty = std::move(value); });
  });
}

void HeaderPanel::ShowDifficulty() {
  QComboBox* combo = w_.difficultyCombo;
  const QSignalBlocker block(combo);
  const std::string& value = doc_.header.e_difficulty;
  int choice = 0;
  const bool listed = value.empty() || (ParseDecimalInt(value, choice) && choice >= 1 && choice < kDifficultyChoices);
  while (combo->count() > kDifficultyChoices) combo->removeItem(kDifficultyChoices);
  if (listed) {
    combo->setCurrentIndex(value.empty() ? 0 : choice);
    return;
  }
  combo->addItem(Decode(value), QByteArray::fromStdString(value));
  combo->setCurrentIndex(kDifficultyChoices);
}

void HeaderPanel::BindSubartists() {
  QPlainTextEdit* edit = w_.subartistEdit;
  connect(edit, &QPlainTextEdit::textChanged, this, [this, edit] {
    if (refreshing_) return;
    // Names the author did not touch keep their bytes, even ones that do not decode.
    std::multimap<QString, std::string> kept;
    for (const std::string& old : doc_.header.e_subartist) kept.emplace(Decode(old), old);
    std::vector<std::string> names;
    const QString text = edit->toPlainText();
    if (!text.isEmpty()) {
      for (const QString& line : text.split(QLatin1Char('\n'))) {
        const auto it = kept.find(line);
        if (it != kept.end()) {
          names.push_back(it->second);
          kept.erase(it);
        } else {
          names.push_back(FromUtf8(line.toStdString(), doc_.encoding));
        }
      }
    }
    if (names == doc_.header.e_subartist) return;
    Edit("ヘッダの編集", &doc_.header.e_subartist, kChartHeader, kPartHeader,
         [&](Document& doc) { doc.header.e_subartist = std::move(names); });
  });
  // Leaving the field commits its edit, as the one-line fields do.
  edit->installEventFilter(this);
}

void HeaderPanel::ShowSubartists() {
  QStringList names;
  for (const std::string& name : doc_.header.e_subartist) names << Decode(name);
  const QString text = names.join(QLatin1Char('\n'));
  if (w_.subartistEdit->toPlainText() != text) w_.subartistEdit->setPlainText(text);
}

bool HeaderPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.subartistEdit && event->type() == QEvent::FocusOut) session_.SealStep();
  return QObject::eventFilter(watched, event);
}

namespace {

unsigned MemoPart(std::vector<std::string> Document::*lines) {
  return lines == &Document::mcom ? kPartKeptLines : kPartMemo;
}

const char* MemoLabel(std::vector<std::string> Document::*lines) {
  return lines == &Document::mcom ? "拡張命令の編集" : "メモの編集";
}

// A memo line as the chart holds it: the text of one block, with the
// no-break spaces a plain-text copy turns into spaces.
QString LineText(const QTextBlock& block) {
  QString text = block.text();
  text.replace(QChar::Nbsp, QLatin1Char(' '));
  return text;
}

}  // namespace

void HeaderPanel::BindMemo(QPlainTextEdit* memo, std::vector<std::string> Document::*lines) {
  // The document reports which characters each change replaced (a replace
  // of the whole text comes as a clearing and an insertion); the range they
  // cover together is taken when the edit is done, so one key costs the
  // lines it touched, not the whole memo.
  auto edited = std::make_shared<std::pair<int, int>>(-1, -1);  // characters [first, last) of the text now
  connect(memo->document(), &QTextDocument::contentsChange, this, [this, edited](int from, int removed, int added) {
    if (refreshing_) return;
    // Where a position of the text before this change stands after it.
    const auto moved = [from, removed, added](int at) {
      if (at >= from + removed) return at + added - removed;
      return at > from ? from + added : at;
    };
    int& first = edited->first;
    int& last = edited->second;
    first = first < 0 ? from : std::min(moved(first), from);
    last = last < 0 ? from + added : std::max(moved(last), from + added);
  });
  connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, lines, edited] {
    const std::pair<int, int> range = std::exchange(*edited, {-1, -1});
    if (refreshing_) return;
    if (range.first < 0 || !StoreEditedLines(*memo->document(), lines, range.first, range.second - range.first))
      StoreAllLines(*memo, lines);
  });
}

bool HeaderPanel::StoreEditedLines(const QTextDocument& text, std::vector<std::string> Document::*lines, int from,
                                   int added) {
  const std::vector<std::string>& stored = doc_.*lines;
  // An empty memo shows one empty line; every other line is one block,
  // unless a line separator (Shift+Enter) split a block, which the whole
  // text then sorts out.
  const int oldBlocks = stored.empty() ? 1 : static_cast<int>(stored.size());
  QTextBlock firstBlock = text.findBlock(from);
  QTextBlock lastBlock = text.findBlock(from + added);
  if (!lastBlock.isValid()) lastBlock = text.lastBlock();
  if (!firstBlock.isValid()) return false;
  const int first = firstBlock.blockNumber();
  const int newCount = lastBlock.blockNumber() - first + 1;
  const int oldCount = newCount - (text.blockCount() - oldBlocks);
  if (newCount < 1 || oldCount < 1 || first + oldCount > oldBlocks) return false;
  // Lines the author did not touch keep their bytes, even ones that do not
  // decode: a line of the edited range whose text is that of a line it
  // replaced takes that line's bytes; only new or edited lines are encoded.
  std::multimap<QString, std::string> replaced;
  for (int i = first; i < first + oldCount && !stored.empty(); ++i)
    replaced.emplace(Decode(stored[static_cast<size_t>(i)]), stored[static_cast<size_t>(i)]);
  std::vector<std::string> fresh;
  fresh.reserve(static_cast<size_t>(newCount));
  for (QTextBlock b = firstBlock; b.isValid() && b.blockNumber() < first + newCount; b = b.next()) {
    const QString line = LineText(b);
    if (line.contains(QChar::LineSeparator)) return false;
    const auto it = replaced.find(line);
    if (it != replaced.end()) {
      fresh.push_back(std::move(it->second));
      replaced.erase(it);
    } else {
      fresh.push_back(FromUtf8(line.toStdString(), doc_.encoding));
    }
  }
  const auto at = static_cast<std::ptrdiff_t>(first);
  if (stored.size() >= static_cast<size_t>(first + oldCount) && oldCount == newCount &&
      std::equal(fresh.begin(), fresh.end(), stored.begin() + at))
    return true;  // a change of format only
  Edit(MemoLabel(lines), &(doc_.*lines), kChartHeader, MemoPart(lines), [&](Document& doc) {
    std::vector<std::string>& all = doc.*lines;
    if (all.empty()) {
      all = std::move(fresh);
    } else {
      const auto common = static_cast<std::ptrdiff_t>(std::min(oldCount, newCount));
      std::move(fresh.begin(), fresh.begin() + common, all.begin() + at);
      if (newCount > oldCount)
        all.insert(all.begin() + at + common, std::make_move_iterator(fresh.begin() + common),
                   std::make_move_iterator(fresh.end()));
      else
        all.erase(all.begin() + at + common, all.begin() + at + oldCount);
    }
    // An empty memo holds no line at all, not one empty line.
    if (all.size() == 1 && all.front().empty()) all.clear();
  });
  return true;
}

void HeaderPanel::StoreAllLines(const QPlainTextEdit& memo, std::vector<std::string> Document::*lines) {
  // Lines the author did not touch keep their bytes, even ones that do not
  // decode; only new or edited lines are encoded.
  std::multimap<QString, std::string> kept;
  for (const std::string& old : doc_.*lines) kept.emplace(Decode(old), old);
  std::vector<std::string> fresh;
  const QStringList typed = memo.toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : typed) {
    const auto it = kept.find(line);
    if (it != kept.end()) {
      fresh.push_back(it->second);
      kept.erase(it);
    } else {
      fresh.push_back(FromUtf8(line.toStdString(), doc_.encoding));
    }
  }
  // An empty memo holds no line at all, not one empty line.
  if (fresh.size() == 1 && fresh.front().empty()) fresh.clear();
  Edit(MemoLabel(lines), &(doc_.*lines), kChartHeader, MemoPart(lines),
       [&](Document& doc) { doc.*lines = std::move(fresh); });
}

void HeaderPanel::RefreshFromDocument() {
  refreshing_ = true;
  for (const TextField& f : textFields_)
    if (f.control != w_.difficultyCombo) ShowText(f.control, Decode(doc_.header.*(f.field)));
  ShowDifficulty();
  ShowSubartists();
  w_.playModeCombo->setCurrentIndex(doc_.header.cbpmode);
  w_.rankCombo->setCurrentIndex(doc_.header.cbrank);
  for (auto [memo, lines] : {std::pair{w_.infoMemo, &doc_.mmemo}, std::pair{w_.extensionMemo, &doc_.mcom}}) {
    QStringList text;
    for (const std::string& line : *lines) text << Decode(line);
    const QString joined = text.join(QLatin1Char('\n'));
    if (memo->toPlainText() != joined) memo->setPlainText(joined);
  }
  RefreshDefinitions();
  refreshing_ = false;
}

void HeaderPanel::RefreshDefinitions() {
  const auto fill = [this](QListWidget* list, const char* prefix, int first, int last, const auto& names) {
    const int selected = list->currentRow();
    const QSignalBlocker block(list);
    QStringList texts;
    texts.reserve(last - first + 1);
    for (int i = first; i <= last; ++i) {
      const QString item = QLatin1String(prefix) + QString::fromStdString(doc_.indices.Format(i)) + QLatin1Char(':');
      texts << item + Decode(names[i]);
    }
    // A base-62 list has 3843 lines: filled in one insertion, and afterwards
    // only the lines that changed are touched, so the view lays out once.
    if (list->count() != texts.size()) {
      list->clear();
      list->addItems(texts);
    } else {
      for (int row = 0; row < texts.size(); ++row)
        if (list->item(row)->text() != texts[row]) list->item(row)->setText(texts[row]);
    }
    if (selected >= 0) list->setCurrentRow(selected);
  };
  fill(w_.wavList, "WAV", DefinitionIndex::FirstWav, doc_.indices.HighestWav(), doc_.wav);
  fill(w_.bmpList, "BMP", DefinitionIndex::FirstBmp, doc_.indices.HighestBmp(), doc_.bmp);
}

void HeaderPanel::SetItems(QComboBox* combo, const std::vector<std::string>& items) {
  refreshing_ = true;
  const QString text = combo->currentText();
  {
    const QSignalBlocker block(combo);
    combo->clear();
    // List files hold each name in whatever encoding its chart had.
    for (const std::string& item : items) combo->addItem(QString::fromStdString(ToUtf8(item, DetectEncoding(item))));
    combo->setEditText(text);
    combo->lineEdit()->home(false);
  }
  refreshing_ = false;
}

void HeaderPanel::SetArtistItems(const std::vector<std::string>& items) { SetItems(w_.artistCombo, items); }
void HeaderPanel::SetGenreItems(const std::vector<std::string>& items) { SetItems(w_.genreCombo, items); }

}  // namespace beatloom
