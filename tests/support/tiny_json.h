// Just enough JSON for the expected-results files beside the real
// recordings: objects, arrays, strings without escapes beyond \" and \\,
// numbers (integers, and decimals read as double too), true, false, null.
#pragma once

#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace morvane::testing_json {

struct Value {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  int64_t number = 0;
  double real = 0;  // the number with its fraction
  std::string text;
  std::vector<Value> items;
  std::map<std::string, Value> members;

  bool has(const std::string& key) const { return members.count(key) != 0; }
  const Value& operator[](const std::string& key) const { return members.at(key); }
  const Value& operator[](std::size_t index) const { return items.at(index); }
};

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  // False on anything this reader does not understand.
  bool parse(Value& out) {
    if (!value(out)) return false;
    skipSpace();
    return pos_ == text_.size();
  }

 private:
  void skipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

  // From the opening bracket: items separated by commas up to close, each
  // read by readItem.
  template <typename ReadItem>
  bool items(char close, ReadItem readItem) {
    ++pos_;
    skipSpace();
    if (at(close)) return ++pos_, true;
    for (;;) {
      if (!readItem()) return false;
      skipSpace();
      if (at(',')) {
        ++pos_;
        continue;
      }
      if (!at(close)) return false;
      ++pos_;
      return true;
    }
  }

  bool literal(const char* word) {
    const std::string w(word);
    if (text_.compare(pos_, w.size(), w) != 0) return false;
    pos_ += w.size();
    return true;
  }

  // \uXXXX of the Basic Multilingual Plane, appended as UTF-8.
  bool unicodeEscape(std::string& out) {
    if (pos_ + 5 > text_.size()) return false;
    const unsigned long c = std::stoul(text_.substr(pos_ + 1, 4), nullptr, 16);
    pos_ += 5;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return true;
  }

  bool string(std::string& out) {
    if (pos_ >= text_.size() || text_[pos_] != '"') return false;
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == 'u') {
          if (!unicodeEscape(out)) return false;
          continue;
        }
        if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\\')) return false;
      }
      out += text_[pos_++];
    }
    if (pos_ >= text_.size()) return false;
    ++pos_;
    return true;
  }

  bool value(Value& out) {
    skipSpace();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    if (c == '{') {
      out.kind = Value::Kind::kObject;
      return items('}', [&] {
        skipSpace();
        std::string key;
        if (!string(key)) return false;
        skipSpace();
        if (!at(':')) return false;
        ++pos_;
        return value(out.members[key]);
      });
    }
    if (c == '[') {
      out.kind = Value::Kind::kArray;
      return items(']', [&] {
        out.items.emplace_back();
        return value(out.items.back());
      });
    }
    if (c == '"') {
      out.kind = Value::Kind::kString;
      return string(out.text);
    }
    if (literal("true")) {
      out.kind = Value::Kind::kBool;
      out.boolean = true;
      return true;
    }
    if (literal("false")) {
      out.kind = Value::Kind::kBool;
      return true;
    }
    if (literal("null")) return true;
    const std::size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == start || (pos_ == start + 1 && text_[start] == '-')) return false;
    out.kind = Value::Kind::kNumber;
    out.number = std::stoll(text_.substr(start, pos_ - start));
    if (at('.')) {
      ++pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    out.real = std::stod(text_.substr(start, pos_ - start));
    return true;
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace morvane::testing_json
