#include "edit/recovery.h"

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace beatloom {

namespace {

constexpr const char* kPrefix = "recovery-";
constexpr const char* kChartSuffix = ".bms";
constexpr const char* kNameSuffix = ".name";

// The pid in "recovery-<pid>.bms", or -1 for any other name.
long PidOf(const std::string& name) {
  const std::string prefix = kPrefix, suffix = kChartSuffix;
  if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return -1;
  long pid = 0;
  for (size_t i = prefix.size(); i < name.size() - suffix.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || pid > 100000000) return -1;
    pid = pid * 10 + (name[i] - '0');
  }
  return pid;
}

bool Running(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

std::string StampText(const FileStamp& s) {
  if (!s.exists) return "";
  return std::to_string(s.device) + " " + std::to_string(s.inode) + " " + std::to_string(s.size) + " " +
         std::to_string(s.modifiedNs);
}

FileStamp ParseStamp(const std::string& text) {
  FileStamp s;
  s.exists = std::sscanf(text.c_str(), "%llu %llu %lld %lld", &s.device, &s.inode, &s.size, &s.modifiedNs) == 4;
  return s;
}

std::string NameFileOf(const std::string& chartPath) {
  return chartPath.substr(0, chartPath.size() - std::string(kChartSuffix).size()) + kNameSuffix;
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder, long pid) : folder_(std::move(folder)), pid_(pid) {}

std::string RecoveryStore::CopyPath() const { return JoinPath(folder_, kPrefix + std::to_string(pid_) + kChartSuffix); }

std::string RecoveryStore::NamePath() const { return NameFileOf(CopyPath()); }

std::vector<RecoveryStore::Orphan> RecoveryStore::FindOrphans() const {
  std::vector<std::pair<long long, Orphan>> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
    const long pid = PidOf(entry.path().filename().string());
    if (pid < 0 || pid == pid_ || Running(pid)) continue;
    Orphan o;
    o.chartPath = entry.path().string();
    if (!FileExists(o.chartPath)) continue;
    std::vector<std::string> lines;
    if (ReadLinesFile(NameFileOf(o.chartPath), lines) && !lines.empty()) {
      o.originalName = lines[0];
      if (lines.size() > 1) o.originalStamp = ParseStamp(lines[1]);
    }
    found.emplace_back(StampOf(o.chartPath).modifiedNs, std::move(o));
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<Orphan> orphans;
  for (auto& f : found) orphans.push_back(std::move(f.second));
  return orphans;
}

std::vector<std::string> RecoveryStore::FindSetAsideCopies() const {
  std::vector<std::string> found;
  const std::string suffix = kSetAsideSuffix;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

void RecoveryStore::Discard(const Orphan& orphan) {
  std::remove(orphan.chartPath.c_str());
  std::remove(NameFileOf(orphan.chartPath).c_str());
}

bool RecoveryStore::Update(const Document& doc, unsigned long revision, const std::string& originalName,
                           const FileStamp& originalStamp, const SaveOptions& options) {
  if (!doc.Modified) {
    Remove();
    return false;
  }
  if (hasCopy_ && revision == copiedRevision_ && originalName == copiedName_) return false;
  // The copy is what a save would write; the tidying a save does first is
  // done to a copy, as the author's chart must not change behind its history.
  Document copy = doc;
  TidyForSave(copy, options);
  const std::string chart = WriteBmsText(copy, options);
  const std::string name = originalName + "\r\n" + StampText(originalStamp) + "\r\n";
  // Both or neither, so that a copy never names another chart's file.
  if (!MakePrivateFolder(folder_) || !WriteFilesTogether({{CopyPath(), chart}, {NamePath(), name}}, nullptr))
    return false;
  hasCopy_ = true;
  copiedRevision_ = revision;
  copiedName_ = originalName;
  return true;
}

void RecoveryStore::Remove() {
  if (!hasCopy_) return;
  std::remove(CopyPath().c_str());
  std::remove(NamePath().c_str());
  hasCopy_ = false;
}

}  // namespace beatloom
