#pragma once

#include <string>
#include <vector>

#include "model/document.h"

namespace beatloom::test {

// A fresh folder under the system temp folder, removed with its contents when
// the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
std::string DataFile(const std::string& name);
// A chart the build generated for the tests (scripts/make_radix_charts.py).
std::string GeneratedFile(const std::string& name);

// The positions of the chart's objects, in list order.
std::vector<int> ObjectPositions(const Document& doc);

}  // namespace beatloom::test
