#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace beatloom::cli {

void JsonWriter::NewLine() {
  out_ += '\n';
  out_.append(stack_.size() * 2, ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (stack_.empty()) return;
  Level& top = stack_.back();
  if (!top.empty) out_ += top.inline_ ? ", " : ",";
  if (!top.inline_) NewLine();
  top.empty = false;
}

void JsonWriter::Open(char c, bool inline_) {
  BeforeValue();
  out_ += c;
  stack_.push_back({inline_ || (!stack_.empty() && stack_.back().inline_)});
}

void JsonWriter::Close(char c) {
  const Level top = stack_.back();
  stack_.pop_back();
  if (!top.inline_ && !top.empty) NewLine();
  out_ += c;
}

void JsonWriter::Key(const std::string& key) {
  BeforeValue();
  Quoted(key);
  out_ += ": ";
  afterKey_ = true;
}

void JsonWriter::String(const std::string& s) {
  BeforeValue();
  Quoted(s);
}

void JsonWriter::Quoted(const std::string& s) {
  out_ += '"';
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out_ += buf;
        } else {
          out_ += static_cast<char>(c);
        }
    }
  }
  out_ += '"';
}

void JsonWriter::Number(long long v) {
  BeforeValue();
  out_ += std::to_string(v);
}

void JsonWriter::Double(double v) {
  BeforeValue();
  // JSON has no infinity or NaN.
  if (!std::isfinite(v)) {
    out_ += "null";
    return;
  }
  // The shortest text that reads back as the same number: 0.1, not
  // 0.10000000000000001.
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  out_.append(buf, end);
}

}  // namespace beatloom::cli
