#include "bms/ui/document_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "app/settings.h"
#include "platform/ui/prompts.h"
#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "bms/name_lists.h"
#include "bms/ui/source_editor.h"
#include "model/file_io.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

const QString kBmsFilter = QStringLiteral("BMSファイル形式(*.bms;*.bme)");
const QString kNewDataCaption = QStringLiteral("Beatloom [New Data]");
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Encode(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString Caption(const QString& path) { return QStringLiteral("Beatloom [") + path + QLatin1Char(']'); }

bool SameHeaderText(HeaderFields a, HeaderFields b) {
  // The play mode has its own handler, which does not mark the chart changed.
  a.cbpmode = b.cbpmode;
  return a == b;
}

// Keeps DocumentIO off and the work file in place only as long as the source
// edit runs, whichever way it ends.
class SourceEditScope {
 public:
  SourceEditScope(Document& doc, std::string path) : doc_(doc), path_(std::move(path)) { doc_.DocumentIO = false; }
  ~SourceEditScope() {
    std::remove(path_.c_str());
    doc_.DocumentIO = true;
  }
  SourceEditScope(const SourceEditScope&) = delete;
  SourceEditScope& operator=(const SourceEditScope&) = delete;

 private:
  Document& doc_;
  std::string path_;
};

}  // namespace

DocumentCommands::DocumentCommands(Document& doc, Log& log, Prompts& prompts, DocumentHost& host, SourceEditor& sourceEditor)
    : doc_(doc), log_(log), prompts_(prompts), host_(host), sourceEditor_(sourceEditor) {
  const QString start = QDir::currentPath();
  folders_ = {start, start, start, start, start};
}

bool DocumentCommands::ConfirmDiscard() {
  if (!doc_.Modified) return true;
  switch (prompts_.Ask(QStringLiteral("データは変更されています。保存しますか？"), Prompts::Icon::Warning,
                       Prompts::Buttons::YesNoCancel)) {
    case Prompts::Answer::Yes:
      return Save();
    case Prompts::Answer::No:
      return true;
    default:
      return false;
  }
}

void DocumentCommands::New() {
  if (!ConfirmDiscard()) return;
  ResetToNew();
  host_.DisableUndo();
  saveFileName_.clear();
  host_.Redraw();
}

void DocumentCommands::ResetToNew() {
  ResetWindowHalf();
  std::vector<std::string> lines;
  if (ReadLinesFile(JoinPath(host_.ProgramFolder(), kHeaderTemplateFile), lines)) {
    std::string all;
    for (const std::string& l : lines) all += l;
    // A template kept in UTF-8 makes a UTF-8 chart rather than garbled text.
    doc_.encoding = DetectEncoding(all);
    doc_.mmemo = std::move(lines);
    host_.RefreshFromDocument();
  }
  doc_.Modified = false;
}

void DocumentCommands::ReadUserDefaults() {
  // Read at every reset, so an address changed in the options dialog (or in
  // the file) reaches the next new or loaded chart.
  const UserDefaults user = beatloom::ReadUserDefaults(IniFile(JoinPath(host_.ProgramFolder(), kSettingsFile)));
  doc_.DefaultEmail = user.email;
  doc_.DefaultURL = user.url;
}

void DocumentCommands::ResetWindowHalf() {
  RemovePlayerWorkingCopy();
  ReadUserDefaults();
  doc_.ResetDocument();
  if (doc_.DocumentIO) host_.SetCaption(kNewDataCaption);
  host_.SetFileCommandsEnabled(false);
  host_.ShowReplacedDocument(DocumentHost::Replaced::New);
}

bool DocumentCommands::Open() {
  if (!ConfirmDiscard()) return false;
  const Prompts::FileDialog dialog{
      QStringLiteral("BMSファイルの読込"), folders_.chart, chartFileName_, {kBmsFilter}, 0, QStringLiteral("BMS")};
  const QString path = prompts_.OpenFileName(dialog);
  if (path.isEmpty()) return false;
  const bool ok = Load(path);
  doc_.Modified = false;
  host_.DisableUndo();
  return ok;
}

bool DocumentCommands::OpenFile(const QString& path) {
  if (!ConfirmDiscard()) return false;
  const bool ok = Load(path);
  doc_.Modified = false;
  host_.DisableUndo();
  return ok;
}

bool DocumentCommands::LoadChart(const QString& path) { return Load(path); }

bool DocumentCommands::OpenDroppedChart(const QStringList& paths) {
  QStringList sorted = paths;
  std::sort(sorted.begin(), sorted.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  const auto chart = std::find_if(sorted.begin(), sorted.end(), [](const QString& p) {
    const QString up = p.toUpper();
    return up.contains(QLatin1String(".BMS")) || up.contains(QLatin1String(".BME"));
  });
  if (chart == sorted.end()) return false;
  OpenFile(*chart);
  return true;
}

bool DocumentCommands::Load(const QString& path) {
  RemovePlayerWorkingCopy();
  ReadUserDefaults();
  const bool ok = LoadBmsFile(doc_, Encode(path), log_);
  if (doc_.DocumentIO) {
    if (ok) {
      chartFileName_ = path;
      saveFileName_ = path;
      const QString folder = QFileInfo(path).absolutePath();
      folders_ = {folder, folder, folder, folder, folder};
      host_.SetCaption(Caption(path));
    } else {
      host_.SetCaption(kNewDataCaption);
      // The empty chart left by a failed load must not be saved over the
      // previous chart's file by the next Save without a question.
      saveFileName_.clear();
    }
  }
  const bool modified = doc_.Modified;
  host_.SetFileCommandsEnabled(ok);
  host_.ShowReplacedDocument(DocumentHost::Replaced::Loaded);
  doc_.Modified = modified;
  ApplyLog();
  host_.Redraw();
  return ok;
}

bool DocumentCommands::Save() {
  if (saveFileName_.isEmpty()) return SaveAs();
  return SaveTo(saveFileName_);
}

bool DocumentCommands::SaveAs() {
  // A name typed without an extension still makes a chart: a file without
  // ".bms" would vanish from every chart filter and look lost to its author.
  const Prompts::FileDialog dialog{QStringLiteral("BMSファイルに名前を付けて保存"),
                                   folders_.save,
                                   saveFileName_,
                                   {kBmsFilter},
                                   0,
                                   QStringLiteral("bms")};
  const QString path = prompts_.SaveFileName(dialog);
  if (path.isEmpty()) return false;
  if (QFileInfo::exists(path) &&
      prompts_.Ask(QStringLiteral("同名のファイルが存在します。上書きしますか？"), Prompts::Icon::Warning,
                   Prompts::Buttons::YesCancel) != Prompts::Answer::Yes) {
    return false;
  }
  return SaveTo(path);
}

bool DocumentCommands::SaveTo(const QString& path) {
  RemovePlayerWorkingCopy();
  std::string error;
  // The caption, the dialogs' names and (in the writer) the lists follow only
  // a save that reached the disk: after a failure the chart's file is still
  // the old one.
  using List = DocumentHost::NameList;
  std::vector<std::string> artists = host_.NameListItems(List::Artist);
  std::vector<std::string> genres = host_.NameListItems(List::Genre);
  const size_t artistCount = artists.size();
  const size_t genreCount = genres.size();
  const SaveSideEffects effects{host_.ProgramFolder(), &artists, &genres};
  const bool ok = SaveBmsFile(doc_, Encode(path), host_.CurrentSaveOptions(), log_, &effects, &error);
  const bool modified = doc_.Modified;
  if (ok && doc_.DocumentIO) {
    if (artists.size() != artistCount) host_.SetNameListItems(List::Artist, artists);
    if (genres.size() != genreCount) host_.SetNameListItems(List::Genre, genres);
    host_.RecentFilesChanged();
    host_.SetCaption(Caption(path));
    chartFileName_ = path;
    saveFileName_ = path;
    const QString fileFolder = QFileInfo(path).absolutePath();
    folders_.midi = folders_.sound = folders_.image = fileFolder;
  }
  doc_.Modified = modified;
  if (ok) host_.SetFileCommandsEnabled(true);
  ApplyLog();
  host_.Redraw();
  if (!ok) prompts_.Message(QString::fromStdString(error), Prompts::Icon::Error);
  return ok;
}

void DocumentCommands::ChooseMidiFile() {
  const Prompts::FileDialog dialog{QStringLiteral("BGM用MIDIファイルの読込"),
                                   folders_.midi,
                                   QString(),
                                   {QStringLiteral("MIDIファイル(*.mid)")},
                                   0,
                                   QString()};
  const QString path = prompts_.OpenFileName(dialog);
  if (!path.isEmpty()) SetHeaderText(&HeaderFields::e_midif, QFileInfo(path).fileName());
}

void DocumentCommands::ChooseStageFile() {
  // The image dialog of the BMP list, opened on its JPEG filter.
  const Prompts::FileDialog dialog{
      QStringLiteral("画像の読込"),
      folders_.image,
      QString(),
      {QStringLiteral("ビットマップファイル(*.bmp)"), QStringLiteral("Jpegファイル(*.jpg,*.jpeg,*.jpe)"),
       QStringLiteral("GIFファイル(*.gif)")},
      1,
      QStringLiteral("bmp")};
  const QString path = prompts_.OpenFileName(dialog);
  if (!path.isEmpty()) SetHeaderText(&HeaderFields::E_Stagefile, QFileInfo(path).fileName());
}

void DocumentCommands::SetHeaderText(std::string HeaderFields::*field, const QString& text) {
  std::string bytes = FromUtf8(text.toStdString(), doc_.encoding);
  if (doc_.header.*field == bytes) return;
  doc_.header.*field = std::move(bytes);
  host_.RefreshFromDocument();
  doc_.Modified = true;
}

void DocumentCommands::ClearNameList(DocumentHost::NameList list) {
  const char* file = list == DocumentHost::NameList::Artist ? kArtistListFile : kGenreListFile;
  std::remove(JoinPath(host_.ProgramFolder(), file).c_str());
  host_.SetNameListItems(list, {});
}

bool DocumentCommands::DirectInput(const QString& text) {
  const std::string line = FromUtf8(text.toStdString(), doc_.encoding);
  const HeaderFields header = doc_.header;
  const std::vector<std::string> memo = doc_.mmemo;
  const std::vector<std::string> com = doc_.mcom;
  const size_t logLines = log_.Lines().size();
  const bool modified = doc_.Modified;
  try {
    InterpretLine(doc_, line, 0, log_);
  } catch (const std::exception& e) {
    prompts_.Message(QStringLiteral("「%1」を解釈できませんでした（%2 の値が正しくありません）")
                         .arg(text, QString::fromUtf8(e.what())),
                     Prompts::Icon::Error);
    return false;
  }
  // Header fields and the memos mark the chart changed as typing into them
  // would; definitions and objects typed here do not.
  const bool changed = !SameHeaderText(header, doc_.header) || memo != doc_.mmemo || com != doc_.mcom;
  host_.RefreshFromDocument();
  doc_.Modified = modified || changed;
  if (log_.Lines().size() != logLines) ApplyLog();
  host_.Redraw();
  return true;
}

void DocumentCommands::EditSource() {
  host_.TakeUndoSnapshot();
  const std::string path = JoinPath(host_.ProgramFolder(), kSourceWorkFile);
  SourceEditScope scope(doc_, path);
  if (!SaveSourceWorkFile(path)) return;

  std::string bytes;
  ReadFileBytes(path, bytes);
  std::string_view text = bytes;
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::vector<std::string> original;
  QStringList shown;
  for (std::string_view line : SplitLines(text)) {
    original.emplace_back(line);
    shown.append(QString::fromStdString(ToUtf8(line, doc_.encoding)));
  }
  if (!sourceEditor_.EditLines(shown)) return;
  ApplySourceLines(shown, original, path);
}

bool DocumentCommands::SaveSourceWorkFile(const std::string& path) {
  RemovePlayerWorkingCopy();
  std::string error;
  SaveOptions options = host_.CurrentSaveOptions();
  options.workingFile = true;
  const bool ok = SaveBmsFile(doc_, path, options, log_, nullptr, &error);
  if (ok) host_.SetFileCommandsEnabled(true);
  ApplyLog();
  host_.Redraw();
  if (!ok) prompts_.Message(QString::fromStdString(error), Prompts::Icon::Error);
  return ok;
}

void DocumentCommands::ApplySourceLines(const QStringList& lines, const std::vector<std::string>& original,
                                        const std::string& path) {
  // A line the author did not touch goes back with its own bytes, even when
  // they did not decode cleanly for display.
  QHash<QString, const std::string*> untouched;
  for (const std::string& line : original) {
    const QString shown = QString::fromStdString(ToUtf8(line, doc_.encoding));
    if (!untouched.contains(shown)) untouched.insert(shown, &line);
  }
  std::string bytes(doc_.hasBom ? kBom : std::string_view());
  for (const QString& line : lines) {
    const auto kept = untouched.constFind(line);
    bytes += kept != untouched.constEnd() ? **kept : FromUtf8(line.toStdString(), doc_.encoding);
    bytes += "\r\n";
  }
  std::string reason;
  if (!WriteWorkingFile(path, bytes, &reason)) {
    prompts_.Message(QString::fromStdString(std::string(kSaveFailedMessage) + "\n" + reason), Prompts::Icon::Error);
    return;
  }
  const bool ok = LoadBmsFile(doc_, path, log_);
  host_.SetFileCommandsEnabled(ok);
  host_.ShowReplacedDocument(DocumentHost::Replaced::Loaded);
  doc_.Modified = true;
  ApplyLog();
  host_.Redraw();
}

void DocumentCommands::ShowLog() { host_.LogChanged(true); }

void DocumentCommands::ApplyLog() {
  host_.LogChanged(log_.ShowRequested());
  log_.AcknowledgeShow();
}

QString DocumentCommands::PlayerWorkingCopyPath() const {
  const QString name = QString::fromUtf8(kPlayerWorkingCopyFile);
  if (chartFileName_.isEmpty()) return name;
  return QFileInfo(chartFileName_).absolutePath() + QLatin1Char('/') + name;
}

void DocumentCommands::RemovePlayerWorkingCopy() const { QFile::remove(PlayerWorkingCopyPath()); }

QString DocumentCommands::ChartFolder() const {
  return chartFileName_.isEmpty() ? QString() : QFileInfo(chartFileName_).absolutePath();
}

}  // namespace beatloom
