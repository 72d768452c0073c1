#include "bms/file_kinds.h"

#include <algorithm>
#include <cctype>

namespace beatloom {

namespace {

std::string UpperExtension(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return std::string();
  std::string ext(name.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

bool OneOf(const std::string& word, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// The command words of the format: header fields, definitions (followed by
// their index, so matched as the start of the word) and control flow.
constexpr std::string_view kCommandWords[] = {
    "PLAYER",    "GENRE",     "TITLE",   "SUBTITLE", "ARTIST",    "SUBARTIST", "BPM",          "MIDIFILE", "PLAYLEVEL",
    "RANK",      "DEFEXRANK", "EXRANK",  "TOTAL",    "VOLWAV",    "STAGEFILE", "BANNER",       "BACKBMP",  "DIFFICULTY",
    "MAKER",     "COMMENT",   "PREVIEW", "LNOBJ",    "LNTYPE",    "LNMODE",    "WAV",          "BMP",      "BGA",
    "STOP",      "EXBPM",     "EXWAV",   "TEXT",     "SONG",      "OPTION",    "CHANGEOPTION", "RANDOM",   "SETRANDOM",
    "ENDRANDOM", "IF",        "ELSEIF",  "ELSE",     "ENDIF",     "SWITCH",    "SETSWITCH",    "CASE",     "SKIP",
    "DEF",       "ENDSW",     "BASE",    "POORBGA",  "VIDEOFILE", "WAVCMD",    "EXTCHR",       "CHARFILE", "SCROLL",
    "SPEED",     "EMAIL",     "URL",
};

bool IsCommandLine(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  if (line.size() < 2 || (line[0] != '#' && line[0] != '%')) return false;
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto isAlnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  if (line[0] == '#' && line.size() >= 7 && isDigit(line[1]) && isDigit(line[2]) && isDigit(line[3]) &&
      isAlnum(line[4]) && isAlnum(line[5]) && line[6] == ':')
    return true;
  std::string word;
  for (size_t i = 1; i < line.size() && std::isalpha(static_cast<unsigned char>(line[i])); ++i)
    word.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(line[i]))));
  if (line[0] == '%') return word == "EMAIL" || word == "URL";
  // "#WAV01" and "#BPMZZ" run the index into the word; the word itself ends
  // at a blank, a digit or the line's end.
  return std::any_of(std::begin(kCommandWords), std::end(kCommandWords),
                     [&](std::string_view known) { return word.starts_with(known); });
}

}  // namespace

FileKind KindOfFileName(std::string_view path, bool longCharts) {
  const std::string ext = UpperExtension(path);
  if (OneOf(ext, {"BMS", "BME"}) || (longCharts && OneOf(ext, {"BML", "PMS"}))) return FileKind::Chart;
  if (OneOf(ext, {"WAV", "OGG", "FLAC", "MP3"})) return FileKind::Sound;
  if (OneOf(ext, {"BMP", "JPG", "JPEG", "JPE", "PNG", "GIF"})) return FileKind::Image;
  if (OneOf(ext, {"MID", "MIDI"})) return FileKind::Midi;
  return FileKind::Other;
}

bool LooksLikeChart(std::string_view bytes) {
  if (bytes.empty()) return true;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (start == 0 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    if (IsCommandLine(line)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace beatloom
