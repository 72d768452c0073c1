#pragma once

#include <map>

#include "bms/ui/document_host.h"
#include "model/document.h"

namespace beatloom::test {

// Records what the commands asked of the window. Its refresh behaves like a
// careless window would, marking the chart changed, so that the commands'
// own handling of Modified is what the tests see.
class FakeDocumentHost : public DocumentHost {
 public:
  FakeDocumentHost(Document& doc, std::string programFolder) : doc_(doc), programFolder_(std::move(programFolder)) {}

  QString caption = QStringLiteral("Beatloom");
  int refreshes = 0;
  std::vector<Replaced> replaced;
  int redraws = 0;
  bool fileCommandsEnabled = false;
  int snapshots = 0;
  int undoDisabled = 0;
  int logShown = 0;
  int logUpdates = 0;
  int recentChanges = 0;
  SaveOptions options;
  std::map<NameList, std::vector<std::string>> names;

  void SetCaption(const QString& c) override { caption = c; }
  void RefreshFromDocument() override {
    ++refreshes;
    doc_.Modified = true;
  }
  void ShowReplacedDocument(Replaced how) override {
    replaced.push_back(how);
    doc_.Modified = true;
  }
  void Redraw() override { ++redraws; }
  void SetFileCommandsEnabled(bool enabled) override { fileCommandsEnabled = enabled; }
  void TakeUndoSnapshot() override { ++snapshots; }
  void DisableUndo() override { ++undoDisabled; }
  void LogChanged(bool show) override {
    ++logUpdates;
    if (show) ++logShown;
  }
  std::string ProgramFolder() const override { return programFolder_; }
  SaveOptions CurrentSaveOptions() const override { return options; }
  std::vector<std::string> NameListItems(NameList list) const override {
    const auto it = names.find(list);
    return it == names.end() ? std::vector<std::string>() : it->second;
  }
  void SetNameListItems(NameList list, const std::vector<std::string>& items) override { names[list] = items; }
  void RecentFilesChanged() override { ++recentChanges; }

 private:
  Document& doc_;
  std::string programFolder_;
};

}  // namespace beatloom::test
