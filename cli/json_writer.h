#pragma once

#include <string>
#include <vector>

namespace beatloom::cli {

// Just enough JSON for the dump: objects and arrays, one member a line, with
// short arrays (an object record) kept on one line so dumps stay greppable.
class JsonWriter {
 public:
  void BeginObject() { Open('{', false); }
  void EndObject() { Close('}'); }
  void BeginArray(bool inline_ = false) { Open('[', inline_); }
  void EndArray() { Close(']'); }
  void Key(const std::string& key);
  void String(const std::string& utf8);
  void Number(long long v);
  void Double(double v);
  const std::string& Text() const { return out_; }

 private:
  struct Level {
    bool inline_;
    bool empty = true;
  };
  void Open(char c, bool inline_);
  void Close(char c);
  void BeforeValue();
  void Quoted(const std::string& s);
  void NewLine();
  std::string out_;
  std::vector<Level> stack_;
  bool afterKey_ = false;
};

}  // namespace beatloom::cli
