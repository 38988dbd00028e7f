// The Definitive Edition's chat messages in the body: from some patch on a
// JSON object per message, whose "messageAGP" is the line the game shows.
#include "recording/de_chat.h"

#include <optional>
#include <string_view>

namespace morvane {
namespace {

// The four hex digits of a \u escape.
std::optional<uint32_t> hexDigits(std::string_view text, std::size_t at) {
  if (at + 4 > text.size()) return std::nullopt;
  uint32_t value = 0;
  for (std::size_t i = at; i < at + 4; ++i) {
    const char c = text[i];
    value <<= 4;
    if (c >= '0' && c <= '9') {
      value |= static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      value |= static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      value |= static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
  }
  return value;
}

void appendUtf8(uint32_t code, std::string& out) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// A JSON string from its opening quote at `at`; `at` ends after its closing
// quote. nullopt when it does not close.
std::optional<std::string> jsonString(std::string_view text, std::size_t& at) {
  std::string out;
  for (std::size_t i = at + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      at = i + 1;
      return out;
    }
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 'b':
        out.push_back('\b');
        break;
      case 'f':
        out.push_back('\f');
        break;
      case 'u': {
        auto code = hexDigits(text, i + 1);
        if (!code) return std::nullopt;
        i += 4;
        // A surrogate pair stands for one character beyond the first plane.
        if (*code >= 0xD800 && *code < 0xDC00 && i + 2 < text.size() && text[i + 1] == '\\' &&
            text[i + 2] == 'u') {
          const auto low = hexDigits(text, i + 3);
          if (low && *low >= 0xDC00 && *low < 0xE000) {
            *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
            i += 6;
          }
        }
        appendUtf8(*code, out);
        break;
      }
      default:  // \" \\ \/
        out.push_back(text[i]);
        break;
    }
  }
  return std::nullopt;
}

void skipSpace(std::string_view text, std::size_t& at) {
  while (at < text.size() &&
         (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
    ++at;
  }
}

// Past a value that is not a string: a number, true, false or null. The
// edition's message objects hold no nested ones.
bool skipPlainValue(std::string_view text, std::size_t& at) {
  const std::size_t start = at;
  while (at < text.size() && text[at] != ',' && text[at] != '}') {
    if (text[at] == '{' || text[at] == '[' || text[at] == '"') return false;
    ++at;
  }
  return at > start;
}

// "key":"text" in a JSON object of the edition's messages: the text with
// its escapes undone, or nullopt when the object has no such key or is not
// one the edition writes.
std::optional<std::string> jsonText(std::string_view object, std::string_view key) {
  std::size_t at = 0;
  skipSpace(object, at);
  if (at >= object.size() || object[at] != '{') return std::nullopt;
  ++at;
  for (;;) {
    skipSpace(object, at);
    if (at >= object.size() || object[at] != '"') return std::nullopt;
    const auto name = jsonString(object, at);
    if (!name) return std::nullopt;
    skipSpace(object, at);
    if (at >= object.size() || object[at] != ':') return std::nullopt;
    ++at;
    skipSpace(object, at);
    std::optional<std::string> value;
    if (at < object.size() && object[at] == '"') {
      value = jsonString(object, at);
      if (!value) return std::nullopt;
    } else if (!skipPlainValue(object, at)) {
      return std::nullopt;
    }
    if (*name == key) return value;
    skipSpace(object, at);
    if (at >= object.size() || object[at] != ',') return std::nullopt;
    ++at;
  }
}

}  // namespace

namespace {

// The edition puts the sender's colour digit and a space between the marker
// (and its "<All>" or "<Team>" tag) and the text: "@#23 Name: text". The
// line keeps the marker and the tag, as the earlier editions write them.
std::string withoutColourDigit(std::string line) {
  constexpr std::size_t kMarker = 3;  // "@#" and the sender's digit
  if (line.size() <= kMarker || line.compare(0, 2, "@#") != 0) return line;
  std::size_t at = kMarker;
  if (line[at] == '<') {
    const std::size_t close = line.find('>', at);
    if (close == std::string::npos) return line;
    at = close + 1;
  }
  if (at + 1 < line.size() && line[at] >= '0' && line[at] <= '9' && line[at + 1] == ' ') {
    line.erase(at, 2);
  } else if (at < line.size() && line[at] == ' ') {
    line.erase(at, 1);
  }
  return line;
}

}  // namespace

std::string collectDefinitiveChat(ByteSpan body,
                                  const std::vector<std::pair<int64_t, int32_t>>& messages) {
  constexpr int64_t kMaxMessageBytes = 4096;
  std::string text;
  for (const auto& [offset, length] : messages) {
    const std::string_view message = body.text(offset, length, kMaxMessageBytes);
    const std::string line = !message.empty() && message.front() == '{'
                                 ? jsonText(message, "messageAGP").value_or(std::string())
                                 : std::string(message);
    text.append(withoutColourDigit(line));
    text.append("\r\n");
  }
  return text;
}

}  // namespace morvane
