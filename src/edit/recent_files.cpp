#include "edit/recent_files.h"

#include <algorithm>
#include <cctype>

#include "edit/name_lists.h"
#include "model/file_io.h"

namespace beatloom {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::vector<std::string> LoadRecentFiles(const std::string& programFolder) {
  std::vector<std::string> list;
  ReadLinesFile(JoinPath(programFolder, kRecentFilesFile), list);
  list.erase(std::remove(list.begin(), list.end(), std::string()), list.end());
  return list;
}

void PushRecentFile(const std::string& programFolder, const std::string& path) {
  std::vector<std::string> list = LoadRecentFiles(programFolder);
  list.erase(std::remove_if(list.begin(), list.end(), [&](const std::string& e) { return SameIgnoringCase(e, path); }),
             list.end());
  list.insert(list.begin(), path);
  if (list.size() > kRecentFilesMax) list.resize(kRecentFilesMax);
  WriteLinesFile(JoinPath(programFolder, kRecentFilesFile), list);
}

void RecordSavedChart(const Document& doc, const std::string& path, const SaveSideEffects& effects) {
  if (!doc.DocumentIO) return;
  if (effects.artists) RememberName(*effects.artists, doc.header.e_art, effects.programFolder, kArtistListFile);
  if (effects.genres) RememberName(*effects.genres, doc.header.e_genre, effects.programFolder, kGenreListFile);
  PushRecentFile(effects.programFolder, path);
}

}  // namespace beatloom
