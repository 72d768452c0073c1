#include "bms/ui/document_commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "bms/file_kinds.h"
#include "bms/source_lines.h"
#include "bms/ui/source_editor.h"
#include "edit/definition_lists.h"
#include "edit/name_lists.h"
#include "edit/recent_files.h"
#include "model/file_io.h"
#include "model/text_codec.h"
#include "platform/ui/prompts.h"

namespace beatloom {

namespace {

const QString kBmsFilter = QStringLiteral("BMSファイル形式(*.bms;*.bme)");
const QString kNewDataCaption = QStringLiteral("Beatloom [New Data]");
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr unsigned kWholeChart = kChartObjects | kChartHeader | kChartLayout;

std::string Encode(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Decode(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QString Caption(const QString& path) { return QStringLiteral("Beatloom [") + path + QLatin1Char(']'); }

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

bool IsChartFileName(const QString& path) { return KindOfFileName(path.toStdString()) == FileKind::Chart; }

bool IsCommandLineChart(const QString& path) {
  // Any argument that mentions a chart type is tried; what it holds is
  // checked when it is loaded.
  const QString upper = path.toUpper();
  return KindOfFileName(path.toStdString(), true) == FileKind::Chart || upper.contains(QLatin1String(".BMS")) ||
         upper.contains(QLatin1String(".BME"));
}

DocumentCommands::DocumentCommands(ChartSession& session, Prompts& prompts, DocumentHost& host,
                                   SourceEditor& sourceEditor, std::string programFolder)
    : session_(session),
      doc_(session.Doc()),
      log_(session.ChartLog()),
      prompts_(prompts),
      host_(host),
      sourceEditor_(sourceEditor),
      programFolder_(std::move(programFolder)) {
  const std::string start = Encode(QDir::currentPath());
  session_.File().folders = {start, start, start, start, start};
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
  session_.File().saveTo.clear();
}

void DocumentCommands::ResetChart() { Reset(false); }

void DocumentCommands::ResetToNew() { Reset(true); }

// One change, so that the views redraw once for a new chart.
void DocumentCommands::Reset(bool withTemplate) {
  RemovePlayerWorkingCopy();
  ReadUserDefaults();
  if (doc_.DocumentIO) host_.SetCaption(kNewDataCaption);
  host_.SetFileCommandsEnabled(false);
  diskStamp_ = {};
  overwriteAsks_ = false;
  const ChartEdit edit{.modified = withTemplate ? ChartEdit::Mark::Clear : ChartEdit::Mark::Leave,
                       .aspects = kWholeChart,
                       .replaced = ChartReplaced::New};
  session_.Apply(edit, [&](Document& doc) {
    doc.ResetDocument();
    std::vector<std::string> lines;
    if (withTemplate && ReadLinesFile(JoinPath(programFolder_, kHeaderTemplateFile), lines)) {
      std::string all;
      for (const std::string& l : lines) all += l;
      // A template kept in UTF-8 makes a UTF-8 chart rather than garbled text.
      doc.encoding = DetectEncoding(all);
      doc.mmemo = std::move(lines);
    }
    return EditOutcome::Changed;
  });
}

void DocumentCommands::ReadUserDefaults() {
  const DocumentHost::AuthorAddress author = host_.AuthorDefaults();
  doc_.DefaultEmail = author.email;
  doc_.DefaultURL = author.url;
}

bool DocumentCommands::Open() {
  if (!ConfirmDiscard()) return false;
  const ChartFile& file = session_.File();
  const Prompts::FileDialog dialog{QStringLiteral("BMSファイルの読込"),
                                   Decode(file.folders.chart),
                                   Decode(file.opened),
                                   {kBmsFilter},
                                   0,
                                   QStringLiteral("BMS")};
  const QString path = prompts_.OpenFileName(dialog);
  if (path.isEmpty()) return false;
  return Load(path, ChartEdit::Mark::Clear);
}

bool DocumentCommands::OpenFile(const QString& path) {
  if (!ConfirmDiscard()) return false;
  return Load(path, ChartEdit::Mark::Clear);
}

bool DocumentCommands::LoadChart(const QString& path) { return Load(path, ChartEdit::Mark::Leave); }

bool DocumentCommands::OpenDroppedChart(const QStringList& paths) {
  QStringList sorted = paths;
  std::sort(sorted.begin(), sorted.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  const auto chart = std::find_if(sorted.begin(), sorted.end(), IsChartFileName);
  if (chart == sorted.end()) return false;
  OpenFile(*chart);
  return true;
}

// A sound or any other file that is no chart would be written over by the
// next save; it is opened only when the author says so, and then that save
// asks again. A file that cannot be read is left to the load to report.
bool DocumentCommands::ConfirmNotChart(const QString& path, bool& notChart) {
  std::string bytes;
  notChart = doc_.DocumentIO && ReadFileBytes(Encode(path), bytes) && !LooksLikeChart(bytes);
  if (!notChart) return true;
  const QString question = QStringLiteral(
                               "「%1」には譜面の命令行がありません（音声など別の種類のファイルのようです）。\n"
                               "譜面として開きますか？")
                               .arg(path);
  return prompts_.Ask(question, Prompts::Icon::Warning, Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

// Open and the reopen menu also leave the chart unmarked and the undo step
// gone (mark Clear); a chart named on the command line is loaded as it is.
bool DocumentCommands::Load(const QString& path, ChartEdit::Mark mark) {
  bool notChart = false;
  if (!ConfirmNotChart(path, notChart)) return false;
  RemovePlayerWorkingCopy();
  ReadUserDefaults();
  bool ok = false;
  const ChartEdit edit{.modified = mark, .aspects = kWholeChart, .replaced = ChartReplaced::Loaded};
  session_.Apply(edit, [&](Document& doc) {
    ok = LoadBmsFile(doc, Encode(path), log_);
    return EditOutcome::Changed;
  });
  if (doc_.DocumentIO) {
    if (ok) {
      TakeFileName(path, true);
      diskStamp_ = StampOf(Encode(path));
      overwriteAsks_ = notChart;
      host_.SetCaption(Caption(path));
    } else {
      host_.SetCaption(kNewDataCaption);
      // The empty chart left by a failed load must not be saved over the
      // previous chart's file by the next Save without a question.
      session_.File().saveTo.clear();
    }
  }
  host_.SetFileCommandsEnabled(ok);
  ApplyLog();
  return ok;
}

bool DocumentCommands::Save() {
  const QString saveFileName = SaveFileName();
  if (saveFileName.isEmpty()) return SaveAs();
  if (!ConfirmOverwriteChanged()) return false;
  if (overwriteAsks_) {
    const QString question = QStringLiteral("「%1」は譜面ではなかったファイルです。上書きしますか？").arg(saveFileName);
    if (prompts_.Ask(question, Prompts::Icon::Warning, Prompts::Buttons::YesCancel) != Prompts::Answer::Yes)
      return false;
    overwriteAsks_ = false;
  }
  return SaveTo(saveFileName);
}

// Another program (or a second window) may have written the chart's file
// since it was read here: writing over it unasked would lose that work.
bool DocumentCommands::ConfirmOverwriteChanged() {
  const FileStamp now = StampOf(session_.File().saveTo);
  if (!now.exists || !diskStamp_.exists || now == diskStamp_) return true;
  return prompts_.Ask(QStringLiteral("「%1」は読み込んだ後に他のプログラムによって変更されています。\n"
                                     "上書きすると、その変更は失われます。上書き保存しますか？")
                          .arg(SaveFileName()),
                      Prompts::Icon::Warning, Prompts::Buttons::YesCancel) == Prompts::Answer::Yes;
}

void DocumentCommands::CheckFileOnDisk() {
  const QString saveFileName = SaveFileName();
  if (checkingDisk_ || saveFileName.isEmpty() || !diskStamp_.exists) return;
  const FileStamp now = StampOf(Encode(saveFileName));
  if (!now.exists || now == diskStamp_ || now == declinedStamp_) return;
  // The question itself takes the activation away and gives it back.
  checkingDisk_ = true;
  QString question =
      QStringLiteral("「%1」が他のプログラムによって変更されました。\n読み込み直しますか？").arg(saveFileName);
  if (doc_.Modified) question += QStringLiteral("\n（読み込み直すと、この画面の保存されていない変更は失われます）");
  const Prompts::Answer answer = prompts_.Ask(question, Prompts::Icon::Warning, Prompts::Buttons::YesNo);
  if (answer == Prompts::Answer::Yes) {
    Load(saveFileName, ChartEdit::Mark::Clear);
  } else {
    declinedStamp_ = now;
  }
  checkingDisk_ = false;
}

bool DocumentCommands::RestoreRecovery(const QString& copyPath, const QString& originalName, const FileStamp& stamp) {
  if (!Load(copyPath, ChartEdit::Mark::Leave)) return false;
  if (originalName.isEmpty()) {
    session_.File().Forget();
  } else {
    TakeFileName(originalName, true);
  }
  diskStamp_ = originalName.isEmpty() ? FileStamp{} : stamp;
  host_.SetCaption(originalName.isEmpty() ? kNewDataCaption : Caption(originalName));
  host_.SetFileCommandsEnabled(!originalName.isEmpty());
  // The copy holds work that the file does not: no undo reaches the file.
  session_.ForgetSavedState();
  return true;
}

bool DocumentCommands::SaveAs() {
  // A name typed without an extension still makes a chart: a file without
  // ".bms" would vanish from every chart filter and look lost to its author.
  const Prompts::FileDialog dialog{QStringLiteral("BMSファイルに名前を付けて保存"),
                                   Decode(session_.File().folders.save),
                                   SaveFileName(),
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
  // The caption, the dialogs' names and the lists follow only a save that
  // reached the disk: after a failure the chart's file is still the old one.
  const bool ok = TidyAndWrite(Encode(path), host_.CurrentSaveOptions(), error);
  if (ok && doc_.DocumentIO) {
    session_.Apply({.modified = ChartEdit::Mark::Clear, .aspects = 0},
                   [](Document&) { return EditOutcome::Unchanged; });
    using List = DocumentHost::NameList;
    std::vector<std::string> artists = host_.NameListItems(List::Artist);
    std::vector<std::string> genres = host_.NameListItems(List::Genre);
    const size_t artistCount = artists.size();
    const size_t genreCount = genres.size();
    RecordSavedChart(doc_, Encode(path), {programFolder_, &artists, &genres});
    if (artists.size() != artistCount) host_.SetNameListItems(List::Artist, artists);
    if (genres.size() != genreCount) host_.SetNameListItems(List::Genre, genres);
    host_.RecentFilesChanged();
    host_.SetCaption(Caption(path));
    TakeFileName(path, false);
    diskStamp_ = StampOf(Encode(path));
    declinedStamp_ = {};
    overwriteAsks_ = false;
  }
  if (ok) host_.SetFileCommandsEnabled(true);
  ApplyLog();
  if (!ok) prompts_.Message(QString::fromStdString(error), Prompts::Icon::Error);
  return ok;
}

void DocumentCommands::ChooseMidiFile() {
  const Prompts::FileDialog dialog{QStringLiteral("BGM用MIDIファイルの読込"),
                                   Decode(session_.File().folders.midi),
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
      Decode(session_.File().folders.image),
      QString(),
      {QStringLiteral("ビットマップファイル(*.bmp)"), QStringLiteral("Jpegファイル(*.jpg,*.jpeg,*.jpe)"),
       QStringLiteral("GIFファイル(*.gif)")},
      1,
      QStringLiteral("bmp")};
  const QString path = prompts_.OpenFileName(dialog);
  if (!path.isEmpty()) SetHeaderText(&HeaderFields::E_Stagefile, QFileInfo(path).fileName());
}

void DocumentCommands::SetHeaderText(std::string HeaderFields::*field, const QString& text) {
  // A file name with "?" in place of what the chart's encoding cannot hold
  // would name no file.
  const std::optional<std::string> whole = FromUtf8Whole(text.toStdString(), doc_.encoding);
  if (!whole) {
    prompts_.Message(QString::fromUtf8(kUnencodableNameMessage) + QLatin1Char('\n') + text, Prompts::Icon::Warning);
    return;
  }
  std::string bytes = *whole;
  if (doc_.header.*field == bytes) return;
  session_.Apply({.label = "ヘッダの編集", .aspects = kChartHeader}, [&](Document& doc) {
    doc.header.*field = std::move(bytes);
    return EditOutcome::Changed;
  });
}

void DocumentCommands::ClearNameList(DocumentHost::NameList list) {
  const char* file = list == DocumentHost::NameList::Artist ? kArtistListFile : kGenreListFile;
  std::remove(JoinPath(programFolder_, file).c_str());
  host_.SetNameListItems(list, {});
}

bool DocumentCommands::DirectInput(const QString& text) {
  const std::string line = FromUtf8(text.toStdString(), doc_.encoding);
  const size_t logLines = log_.Lines().size();
  QString error;
  const ChartEdit edit{.label = "ダイレクト入力", .aspects = kWholeChart};
  const EditOutcome outcome = session_.Apply(edit, [&](Document& doc) {
    try {
      InterpretLine(doc, line, 0, log_);
    } catch (const std::exception& e) {
      error = QString::fromUtf8(e.what());
      return EditOutcome::Refused;
    }
    return EditOutcome::Changed;
  });
  if (outcome == EditOutcome::Refused) {
    prompts_.Message(QStringLiteral("「%1」を解釈できませんでした（%2 の値が正しくありません）").arg(text, error),
                     Prompts::Icon::Error);
    return false;
  }
  if (log_.Lines().size() != logLines) ApplyLog();
  return true;
}

void DocumentCommands::EditSource() {
  const std::string path = JoinPath(programFolder_, kSourceWorkFile);
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

bool DocumentCommands::TidyAndWrite(const std::string& path, const SaveOptions& options, std::string& error) {
  // What the file cannot hold goes first, as a change of its own: a step of
  // the history only when it changed something.
  const size_t serial = session_.ChartHistory().Serial();
  const ChartEdit tidy{.label = "保存前の整理", .modified = ChartEdit::Mark::Leave, .aspects = kChartObjects};
  session_.Apply(tidy, [&](Document& doc) {
    TidyForSave(doc, options);
    return EditOutcome::Changed;
  });
  if (WriteBmsFile(doc_, path, options, log_, &error)) return true;
  // A failed save leaves the chart as it was.
  if (session_.ChartHistory().Serial() != serial) session_.Retract();
  return false;
}

bool DocumentCommands::SaveSourceWorkFile(const std::string& path) {
  RemovePlayerWorkingCopy();
  std::string error;
  SaveOptions options = host_.CurrentSaveOptions();
  options.workingFile = true;
  const bool ok = TidyAndWrite(path, options, error);
  if (ok) host_.SetFileCommandsEnabled(true);
  ApplyLog();
  if (!ok) prompts_.Message(QString::fromStdString(error), Prompts::Icon::Error);
  return ok;
}

void DocumentCommands::ApplySourceLines(const QStringList& lines, const std::vector<std::string>& original,
                                        const std::string& path) {
  std::vector<std::string> edited;
  edited.reserve(static_cast<size_t>(lines.size()));
  for (const QString& line : lines) edited.push_back(line.toStdString());
  std::string bytes(doc_.hasBom ? kBom : std::string_view());
  for (const std::string& line : EditedLineBytes(original, edited, doc_.encoding)) {
    bytes += line;
    bytes += "\r\n";
  }
  std::string reason;
  if (!WriteWorkingFile(path, bytes, &reason)) {
    prompts_.Message(QString::fromStdString(std::string(kSaveFailedMessage) + "\n" + reason), Prompts::Icon::Error);
    return;
  }
  // The edited text is the author's change, whatever the reader made of it.
  bool ok = false;
  // One step of the history, however much of the chart the text changed.
  const ChartEdit edit{.label = "ソースのダイレクト編集", .aspects = kWholeChart};
  session_.Apply(edit, [&](Document& doc) {
    ok = LoadBmsFile(doc, path, log_);
    return EditOutcome::Changed;
  });
  host_.SetFileCommandsEnabled(ok);
  ApplyLog();
}

void DocumentCommands::ShowLog() { host_.LogChanged(true); }

void DocumentCommands::ApplyLog() {
  host_.LogChanged(log_.ShowRequested());
  log_.AcknowledgeShow();
}

QString DocumentCommands::PlayerWorkingCopyPath() const {
  const QString name = QString::fromUtf8(kPlayerWorkingCopyFile);
  if (session_.File().opened.empty()) return name;
  return ChartFolder() + QLatin1Char('/') + name;
}

void DocumentCommands::RemovePlayerWorkingCopy() const {
  // Only the program's own copy: a file someone else put at that name is theirs.
  const std::string path = Encode(PlayerWorkingCopyPath());
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid()) std::remove(path.c_str());
}

bool DocumentCommands::WritePlayerWorkingCopy(QString* reason) {
  SaveOptions options = host_.CurrentSaveOptions();
  options.workingFile = true;
  std::string error;
  bool ok = false;
  doc_.DocumentIO = false;
  ok = TidyAndWrite(Encode(PlayerWorkingCopyPath()), options, error);
  doc_.DocumentIO = true;
  ApplyLog();
  if (ok) return true;
  const size_t cause = error.find('\n');
  if (reason) {
    *reason = QString::fromStdString(cause == std::string::npos ? error : error.substr(cause + 1));
  } else {
    prompts_.Message(QString::fromStdString(error), Prompts::Icon::Error);
  }
  return false;
}

QString DocumentCommands::ChartFolder() const { return Decode(session_.File().Folder()); }

QString DocumentCommands::SaveFileName() const { return Decode(session_.File().saveTo); }

void DocumentCommands::TakeFileName(const QString& path, bool everyDialog) {
  ChartFile& file = session_.File();
  file.opened = Encode(path);
  file.saveTo = file.opened;
  const std::string folder = file.Folder();
  if (everyDialog) {
    file.folders = {folder, folder, folder, folder, folder};
  } else {
    file.folders.midi = file.folders.sound = file.folders.image = folder;
  }
}

}  // namespace beatloom
