#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace beatloom::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "beatloom-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string DataFile(const std::string& name) { return std::string(BEATLOOM_TEST_DATA) + "/" + name; }
std::string GeneratedFile(const std::string& name) { return std::string(BEATLOOM_GENERATED_DATA) + "/" + name; }

std::vector<int> ObjectPositions(const Document& doc) {
  std::vector<int> pos;
  for (const TBmsObject& o : doc.ObjList) pos.push_back(o.Pos);
  return pos;
}

}  // namespace beatloom::test
