#pragma once

#include <map>

#include "bms/ui/document_host.h"
#include "session/chart_session.h"

namespace beatloom::test {

// Records what the commands asked of the window, and what the chart session
// told the views.
class FakeDocumentHost : public DocumentHost {
 public:
  explicit FakeDocumentHost(ChartSession& session) {
    session.AddListener([this](const ChartNotice& notice) {
      ++redraws;
      if (notice.replaced != ChartReplaced::No) replaced.push_back(notice.replaced);
    });
  }

  QString caption = QStringLiteral("Beatloom");
  std::vector<ChartReplaced> replaced;
  int redraws = 0;
  bool fileCommandsEnabled = false;
  int logShown = 0;
  int logUpdates = 0;
  int recentChanges = 0;
  SaveOptions options;
  AuthorAddress author;
  std::map<NameList, std::vector<std::string>> names;

  void SetCaption(const QString& c) override { caption = c; }
  void SetFileCommandsEnabled(bool enabled) override { fileCommandsEnabled = enabled; }
  void LogChanged(bool show) override {
    ++logUpdates;
    if (show) ++logShown;
  }
  SaveOptions CurrentSaveOptions() const override { return options; }
  std::vector<std::string> NameListItems(NameList list) const override {
    const auto it = names.find(list);
    return it == names.end() ? std::vector<std::string>() : it->second;
  }
  void SetNameListItems(NameList list, const std::vector<std::string>& items) override { names[list] = items; }
  void RecentFilesChanged() override { ++recentChanges; }
  AuthorAddress AuthorDefaults() const override { return author; }
};

}  // namespace beatloom::test
