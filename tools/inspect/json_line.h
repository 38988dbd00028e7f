// One JSON object on one line, with its keys in the order they are added.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::inspect {

// s as a JSON string literal: quotes, backslashes and control characters
// escaped; s must be UTF-8.
std::string jsonString(std::string_view s);

// Lowercase hex of the bytes.
std::string hexBytes(std::string_view bytes);

class JsonLine {
 public:
  void raw(std::string_view key, std::string_view jsonValue);
  void string(std::string_view key, std::string_view utf8) { raw(key, jsonString(utf8)); }
  void number(std::string_view key, int64_t value) { raw(key, std::to_string(value)); }
  void boolean(std::string_view key, bool value) { raw(key, value ? "true" : "false"); }
  std::string str() const { return text_ + "}"; }

 private:
  std::string text_ = "{";
};

// "[a,b,...]" of JSON values.
std::string jsonArray(const std::vector<std::string>& values);

}  // namespace morvane::inspect
