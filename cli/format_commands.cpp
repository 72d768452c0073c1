// import-ddr, export-ddr, export-bmm and export-ps: the exchange formats without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "command_registry.h"
#include "formats/bmm_export.h"
#include "formats/ddrv_format.h"
#include "formats/format_text.h"
#include "formats/winpsm_export.h"
#include "model/document.h"

namespace beatloom::cli {

namespace {

int ImportDdr(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("import-ddr takes IN.ddr and OUT.bms");
  Document doc;
  std::string error;
  if (!ImportDdrvFile(doc, args[0], &error)) return Fail("cannot read " + error);
  Log log;
  if (!SaveBmsFile(doc, args[1], SaveOptions{}, log, &error)) return SaveFailed(error);
  return kOk;
}

int ExportDdr(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("export-ddr takes IN.bms and OUT.ddr");
  Document doc;
  if (!LoadChart(doc, args[0])) return kFailed;
  std::string error;
  if (!ExportDdrvFile(doc, args[1], &error)) return Fail("cannot write " + error);
  return kOk;
}

int ExportBmm(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("export-bmm takes IN.bms");
  Document doc;
  if (!LoadChart(doc, args[0])) return kFailed;
  std::string error;
  if (!ExportBmmFiles(doc, args[0], &error)) return Fail(error);
  std::printf("%s\n%s\n", BmmFileName(args[0], "BML").c_str(), BmmFileName(args[0], "BMM").c_str());
  return kOk;
}

int ExportPs(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  std::string templatePath;
  WinPsmFields fields;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--template" || a == "--block-name" || a == "--edit-name" || a == "--song") {
      if (i + 1 >= args.size()) return UsageError(a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--template") {
        templatePath = value;
      } else if (a == "--block-name") {
        fields.blockName = FromUtf8(value, TextEncoding::Cp932);
      } else if (a == "--edit-name") {
        fields.editName = FromUtf8(value, TextEncoding::Cp932);
      } else {
        // Only the codes the dialog offers; anything else names no song of the game.
        const int code = value.size() == 2 ? WinPsmSongCode(value) : -1;
        if (code < 1 || code > static_cast<int>(WinPsmSongList().size()))
          return UsageError("--song takes a code from 01 to 2F");
        fields.songCode = static_cast<uint8_t>(code);
      }
    } else if (a.rfind("--", 0) == 0) {
      return UsageError("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return UsageError("export-ps takes IN.bms and OUT.ps");
  if (templatePath.empty()) return UsageError("export-ps needs --template FILE");
  Document doc;
  if (!LoadChart(doc, files[0])) return kFailed;
  std::string reason;
  if (!ExportWinPsmFile(doc, fields, templatePath, files[1], &reason))
    return Fail(std::string(kWinPsmFailedMessage) + ": " + reason);
  return kOk;
}

const Registrar importDdr({"import-ddr", "IN.ddr OUT.bms",
                           "Imports the DDRV step chart IN and saves it as the BMS file OUT.", ImportDdr});
const Registrar exportDdr({"export-ddr", "IN.bms OUT.ddr",
                           "Loads IN and writes its arrow lanes as the DDRV step chart OUT (replaced).", ExportDdr});
const Registrar exportBmm({"export-bmm", "IN.bms",
                           "Loads IN and writes the sound list and sequence beside it (IN without its last three "
                           "characters + BML / BMM), then prints their names.",
                           ExportBmm});
const Registrar exportPs({"export-ps",
                          "IN.bms OUT.ps --template FILE [--block-name TEXT] [--edit-name TEXT] [--song HEX]",
                          "Loads IN and writes OUT, the template save FILE patched with the names (UTF-8 text, cut "
                          "at 16 and 8 bytes of CP932), the song code (01..2F, default 01), the play mode and the "
                          "steps. OUT is left alone when the template cannot be read.",
                          ExportPs});

}  // namespace

}  // namespace beatloom::cli
