#pragma once

#include <string>
#include <vector>

namespace beatloom {

// The report of the last load or save, in UTF-8. The log window only shows it;
// ShowRequested tells the window that the report wants the author's attention.
class Log {
 public:
  void Clear() {
    lines_.clear();
    showRequested_ = false;
  }
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void RequestShow() { showRequested_ = true; }
  bool ShowRequested() const { return showRequested_; }
  void AcknowledgeShow() { showRequested_ = false; }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  bool showRequested_ = false;
};

}  // namespace beatloom
