#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"

namespace beatloom {

enum class Severity { Error, Warning, Note };

// One thing the check found. The document does not remember lines, so a
// finding says where it stands in the file by the text that line begins
// with: the occurrence-th line (counting from 0; -1 the last) that begins
// with source, case aside. Empty when no one line is to blame.
struct Finding {
  Severity severity = Severity::Warning;
  std::string rule;     // English key, e.g. "undefined-sound"
  std::string message;  // Japanese, UTF-8
  int measure = -1;     // the measure to show, -1 none
  std::string source;
  int occurrence = 0;
  bool operator==(const Finding&) const = default;
};

// Whether a definition's file stands beside the chart; given the file name
// as the chart writes it (bytes in the chart's encoding).
using FileProbe = std::function<bool(std::string_view name)>;

// A probe for the files of one folder: names are matched case aside and
// with '\' taken for '/', as charts written on other systems expect.
FileProbe FolderProbe(const std::string& folder, TextEncoding encoding);

// Everything that may keep the chart from playing as meant, in measure
// order after the findings that belong to no measure. Without a probe the
// files are not looked for (a chart that has no folder yet).
std::vector<Finding> CheckChart(const Document& doc, const FileProbe& files);

bool HasError(const std::vector<Finding>& findings);

// The 1-based line of text that each finding names, or 0; one pass over the
// lines for all of them.
std::vector<int> LinesOf(const std::vector<std::string_view>& lines, const std::vector<Finding>& findings);
int LineOf(const std::vector<std::string_view>& lines, const Finding& finding);

}  // namespace beatloom
