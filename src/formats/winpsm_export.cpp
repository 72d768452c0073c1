#include "formats/winpsm_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "formats/format_text.h"
#include "model/file_io.h"

namespace beatloom {

namespace {

constexpr int kTicksPerStep = 12;

struct LaneBit {
  int lane;
  uint8_t bit;
};
constexpr LaneBit kLaneBits[] = {{1, 0x01},  {8, 0x02},  {5, 0x04},  {3, 0x08},
                                 {10, 0x10}, {17, 0x20}, {14, 0x40}, {12, 0x80}};

uint8_t BitOfLane(int lane) {
  for (const LaneBit& lb : kLaneBits) {
    if (lb.lane == lane) return lb.bit;
  }
  return 0;
}

std::string PaddedName(std::string_view text, std::string_view pad, size_t padCount, size_t size) {
  std::string out(text);
  for (size_t i = 0; i < padCount; ++i) out.append(pad);
  out.resize(size);  // the pad is always long enough, so this only cuts
  return out;
}

// Writes as a seek and a write would: past the end the file grows, and the
// gap up to the offset reads as zero bytes.
void Put(std::string& bytes, size_t offset, std::string_view field) {
  if (bytes.size() < offset + field.size()) bytes.resize(offset + field.size(), '\0');
  std::copy(field.begin(), field.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

std::string WinPsmBlockName(std::string_view cp932) { return PaddedName(cp932, "\x81\x40", 10, 16); }

std::string WinPsmEditName(std::string_view cp932) { return PaddedName(cp932, " ", 16, 8); }

std::vector<uint8_t> WinPsmStepBytes(const Document& doc) {
  int last = 0;
  for (const TBmsObject& o : doc.ObjList) {
    if (o.Lane <= 9) last = std::max(last, static_cast<int>(o.Pos));
  }
  const int lastStep = (last + kTicksPerStep - 1) / kTicksPerStep;
  std::vector<uint8_t> steps(static_cast<size_t>(lastStep) + 1, 0);
  for (const TBmsObject& o : doc.ObjList) {
    if (o.Pos < 0 || o.Pos % kTicksPerStep != 0) continue;
    const size_t i = static_cast<size_t>(o.Pos / kTicksPerStep);
    if (i < steps.size()) steps[i] |= BitOfLane(o.Lane);
  }
  if (doc.header.cbpmode == 0) {
    for (uint8_t& b : steps) b = static_cast<uint8_t>(b | (b << 4));
  }
  return steps;
}

void PatchWinPsm(std::string& bytes, const Document& doc, const WinPsmFields& fields) {
  Put(bytes, kWinPsmBlockNameOffset, WinPsmBlockName(fields.blockName));
  const std::string editName = WinPsmEditName(fields.editName);
  Put(bytes, kWinPsmEditNameOffset, editName);
  Put(bytes, kWinPsmHeaderNameOffset, editName);
  uint8_t check = 0;
  for (size_t i = kWinPsmCheckedFrom; i < kWinPsmCheckByteOffset; ++i) check ^= static_cast<uint8_t>(bytes[i]);
  bytes[kWinPsmCheckByteOffset] = static_cast<char>(check);
  Put(bytes, kWinPsmSongOffset, std::string(1, static_cast<char>(fields.songCode)));
  // The play mode is the selector's index; "none" wraps to 0xFF.
  Put(bytes, kWinPsmPlayModeOffset, std::string(1, static_cast<char>(static_cast<uint8_t>(doc.header.cbpmode))));
  const std::vector<uint8_t> steps = WinPsmStepBytes(doc);
  // A long chart runs past the template's end; the file simply grows.
  Put(bytes, kWinPsmStepsOffset, std::string(steps.begin(), steps.end()));
}

bool ExportWinPsmFile(const Document& doc, const WinPsmFields& fields, const std::string& templatePath,
                      const std::string& destPath, std::string* reason) {
  std::string bytes;
  if (!ReadFileBytes(templatePath, bytes, reason)) return false;
  PatchWinPsm(bytes, doc, fields);
  return WriteFileAtomically(destPath, bytes, reason);
}

const std::vector<std::string>& WinPsmSongList() {
  // Only the code reaches the file; the titles are for the author's eyes.
  // The codes without a title stand for slots the game leaves unnamed.
  static const std::vector<std::string> songs = [] {
    std::vector<std::string> list;
    constexpr int kUntitled[] = {0x1E, 0x1F, 0x20, 0x21, 0x22, 0x27, 0x28, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F};
    char code[4];
    for (int c = 0x01; c <= 0x2F; ++c) {
      std::snprintf(code, sizeof code, "%02X", c);
      std::string item = std::string(code) + ":";
      if (c == 0x01) {
        item += "HAVE YOU NEVER BEEN MELLOW";
      } else if (std::find(std::begin(kUntitled), std::end(kUntitled), c) == std::end(kUntitled)) {
        item += std::string("楽曲 ") + code;
      }
      list.push_back(item);
    }
    return list;
  }();
  return songs;
}

int WinPsmSongCode(std::string_view item) {
  if (item.size() < 2) return -1;
  const int high = HexDigitValue(item[0]);
  const int low = HexDigitValue(item[1]);
  if (high < 0 || low < 0) return -1;
  return high * 16 + low;
}

}  // namespace beatloom
