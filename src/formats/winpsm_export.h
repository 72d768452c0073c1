#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"

namespace beatloom {

// Edit data for the four-panel dance game on its home console, as a
// memory-card save that the card manager reads (".ps"). The save is never
// built from nothing: a template save the author provides is patched.
constexpr std::string_view kWinPsmTemplateName = "master.psf";
constexpr std::string_view kWinPsmSavedMessage = "保存完了しました。上手く行くといいですね。";
constexpr std::string_view kWinPsmFailedMessage = "保存に失敗しました";

// Byte offsets of the patched fields.
constexpr size_t kWinPsmHeaderNameOffset = 150;
constexpr size_t kWinPsmCheckedFrom = 128;
constexpr size_t kWinPsmCheckByteOffset = 255;
constexpr size_t kWinPsmBlockNameOffset = 8242;
constexpr size_t kWinPsmPlayModeOffset = 8706;
constexpr size_t kWinPsmEditNameOffset = 8708;
constexpr size_t kWinPsmSongOffset = 8718;
constexpr size_t kWinPsmStepsOffset = 8760;

struct WinPsmFields {
  std::string blockName;  // CP932 bytes, as typed (cut and padded on writing)
  std::string editName;   // CP932 bytes, as typed
  uint8_t songCode = 1;
};

// The block name in its 16 bytes: the text padded with ideographic spaces.
// The edit name in its 8 bytes: the text padded with blanks. Both are cut at
// the byte limit, even inside a double-byte character, as the game expects.
std::string WinPsmBlockName(std::string_view cp932);
std::string WinPsmEditName(std::string_view cp932);

// One byte per 12 ticks from the start of the chart up to the last step the
// first side reaches; in 1Player the first side is repeated in the upper bits.
std::vector<uint8_t> WinPsmStepBytes(const Document& doc);

// Patches the template bytes in place. Every field is written at its offset
// whatever the template's length: a short template grows, with zero bytes up
// to each field.
void PatchWinPsm(std::string& bytes, const Document& doc, const WinPsmFields& fields);

// Reads the template, patches it and replaces destPath with the result. The
// destination is touched only when the whole file could be built, so a
// missing template never costs the author an existing file.
bool ExportWinPsmFile(const Document& doc, const WinPsmFields& fields, const std::string& templatePath,
                      const std::string& destPath, std::string* reason);

// The song list of the dialog: "01:..." to "2F:..." (UTF-8).
const std::vector<std::string>& WinPsmSongList();
// The value of the two hexadecimal digits that start a song item, -1 if none.
int WinPsmSongCode(std::string_view item);

}  // namespace beatloom
