#include "formats/ui/format_commands.h"

#include <QFile>
#include <QFileInfo>
#include <string>
#include <vector>

#include "formats/bmm_export.h"
#include "formats/ddrv_format.h"
#include "formats/ui/winpsm_dialog.h"
#include "formats/winpsm_export.h"
#include "model/document.h"
#include "model/file_io.h"
#include "platform/ui/prompts.h"
#include "session/chart_session.h"

namespace beatloom {

namespace {

const QString kDdrvFilter = QStringLiteral("DDRV形式(*.ddr)");
const QString kDdrvSuffix = QStringLiteral("DDR");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

FormatCommands::FormatCommands(ChartSession& session, Prompts& prompts, std::string programFolder, FormatHooks hooks,
                               QWidget* window)
    : session_(session),
      doc_(session.Doc()),
      prompts_(prompts),
      programFolder_(std::move(programFolder)),
      hooks_(std::move(hooks)) {
  winPsmAvailable_ = FileExists(JoinPath(programFolder_, std::string(kWinPsmTemplateName)));
  if (window) {
    winPsmDialog_ = new WinPsmDialog(doc_, prompts_, programFolder_, window);
  } else {
    ownedWinPsmDialog_ = std::make_unique<WinPsmDialog>(doc_, prompts_, programFolder_);
    winPsmDialog_ = ownedWinPsmDialog_.get();
  }
  winPsmDialog_->SetInitialFolder(DialogFolder());
}

FormatCommands::~FormatCommands() = default;

bool FormatCommands::Run(const QString& controlName) {
  if (controlName == QLatin1String("DDRVddr1")) {
    ImportDdrv();
  } else if (controlName == QLatin1String("DDRVDDR2")) {
    ExportDdrv();
  } else if (controlName == QLatin1String("MML1")) {
    ExportBmm();
  } else if (controlName == QLatin1String("WinPSMps1")) {
    ShowWinPsm();
  } else {
    return false;
  }
  return true;
}

QString FormatCommands::DialogFolder() const { return hooks_.dialogFolder ? hooks_.dialogFolder() : QString(); }

void FormatCommands::FileError(const std::string& reason) {
  prompts_.Message(QString::fromStdString(reason), Prompts::Icon::Error);
}

void FormatCommands::ImportDdrv() {
  if (hooks_.confirmDiscard && !hooks_.confirmDiscard()) return;
  Prompts::FileDialog d;
  d.folder = importFolder_.isEmpty() ? DialogFolder() : importFolder_;
  d.filters = {kDdrvFilter};
  d.defaultSuffix = kDdrvSuffix;
  const QString path = prompts_.OpenFileName(d);
  if (path.isEmpty()) return;
  importFolder_ = QFileInfo(path).absolutePath();

  if (hooks_.resetChart) hooks_.resetChart();
  std::string error;
  bool read = false;
  constexpr unsigned kWholeChart = kChartObjects | kChartHeader | kChartLayout;
  // The import fills a new chart, which starts an empty history as New does;
  // the import is its first step, so undo leaves the empty chart. Also a file
  // that could not be read leaves a new chart: the reset one.
  const ChartEdit reset{.modified = ChartEdit::Mark::Clear, .aspects = kWholeChart, .replaced = ChartReplaced::New};
  session_.Apply(reset, [&](Document& doc) {
    if (!hooks_.resetChart) doc.ResetDocument();
    return EditOutcome::Changed;
  });
  session_.Apply({.label = "インポート", .aspects = kWholeChart}, [&](Document& doc) {
    read = ImportDdrvFile(doc, LocalPath(path), &error);
    return EditOutcome::Changed;
  });
  if (!read) FileError(error);
}

void FormatCommands::ExportDdrv() {
  Prompts::FileDialog d;
  d.folder = exportFolder_.isEmpty() ? DialogFolder() : exportFolder_;
  d.filters = {kDdrvFilter};
  d.defaultSuffix = kDdrvSuffix;
  const QString path = prompts_.SaveFileName(d);
  if (path.isEmpty()) return;
  exportFolder_ = QFileInfo(path).absolutePath();
  std::string error;
  if (!ExportDdrvFile(doc_, LocalPath(path), &error)) FileError(error);
  // The lanes are laid out for the chart's play mode again after an export.
  session_.Notify({.aspects = kChartLayout});
}

void FormatCommands::ExportBmm() {
  // Written beside the chart's file, named after it: a chart never opened or
  // saved since the last New has none.
  const std::string& chart = session_.File().saveTo;
  if (chart.empty()) {
    prompts_.Message(QStringLiteral("BMS形式で保存してから実行して下さい"));
    return;
  }
  std::string error;
  if (!ExportBmmFiles(doc_, chart, &error)) FileError(error);
}

void FormatCommands::ShowWinPsm() { winPsmDialog_->exec(); }

}  // namespace beatloom
