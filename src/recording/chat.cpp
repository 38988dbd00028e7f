// Chat messages of the header (before the game) and the body (during it).
#include "recording/header_stages.h"

#include <algorithm>

#include "recording/de_chat.h"

namespace morvane {
namespace {

constexpr int64_t kMaxMessageBytes = 255;
constexpr int64_t kLengthBytes = 4;  // the int32 length before a message

// A message starts "@#" and a digit: the sending player 1..8, or 0 for a line
// of the game's own, which a stored message never is.
constexpr char kFirstPlayerDigit = '1';
constexpr char kGameDigit = '0';
constexpr char kLastPlayerDigit = '8';

bool markerAt(ByteSpan bytes, int64_t j) {
  const auto digit = bytes.u8(j + 2);
  return bytes.matches(j, "@#") && digit && *digit >= kFirstPlayerDigit &&
         *digit <= kLastPlayerDigit;
}

// A message is its int32 length followed by its text, marker included. An
// overlong or overrunning text is cut to fit; a negative length is skipped.
void collectMessage(ByteSpan bytes, int64_t j, std::string& out) {
  ByteReader q(bytes, j - kLengthBytes);
  const int32_t length = q.i32();
  if (q.failed() || length < 0) return;
  out.append(q.text(length, kMaxMessageBytes));
  out.append("\r\n");
}

// Next "@#" at or after j whose position is at most last, or -1. It skips
// from '#' to '#': in a body '@' is tens of times more frequent.
int64_t nextAt(ByteSpan bytes, int64_t j, int64_t last) {
  constexpr std::size_t kHash = 1;
  return bytes.findForward("@#", j, last, kHash);
}

}  // namespace

std::string collectHeaderChat(ByteSpan header, int64_t chatScanStart) {
  std::string text;
  const int64_t last = header.size() - 3;
  for (int64_t j = nextAt(header, chatScanStart, last); j != ByteSpan::kNotFound;
       j = nextAt(header, j + 1, last)) {
    if (markerAt(header, j)) collectMessage(header, j, text);
  }
  return text;
}

namespace {

// In the body a message is the int32 4, the int32 -1, its length and text;
// visit gets the offset of each message's text.
template <typename Visit>
void forEachBodyMessage(ByteSpan body, Visit visit) {
  constexpr int64_t kTypeBefore = 12;
  constexpr int32_t kChatType = 4;
  constexpr int64_t kSenderBefore = 8;
  constexpr int32_t kChatSender = -1;
  constexpr int64_t kEndMargin = 4;
  const int64_t last = body.size() - kEndMargin;
  for (int64_t j = nextAt(body, kTypeBefore, last); j != ByteSpan::kNotFound;
       j = nextAt(body, j + 1, last)) {
    if (markerAt(body, j) && body.i32(j - kTypeBefore) == kChatType &&
        body.i32(j - kSenderBefore) == kChatSender) {
      visit(j);
    }
  }
}

// Lines of a filtered chat text: each ends with "\r\n", and a line holds no '\r'.
std::size_t lineCount(const std::string& filtered) {
  return static_cast<std::size_t>(std::count(filtered.begin(), filtered.end(), '\r'));
}

}  // namespace

std::string collectBodyChat(ByteSpan body) {
  std::string text;
  forEachBodyMessage(body, [&](int64_t j) { collectMessage(body, j, text); });
  return text;
}

std::vector<std::optional<int64_t>> bodyChatTimes(ByteSpan body, const BodyWalk& walk,
                                                  int64_t startMs) {
  std::vector<std::optional<int64_t>> times;
  std::string all;
  forEachBodyMessage(body, [&](int64_t j) {
    std::string message;
    collectMessage(body, j, message);
    all += message;
    std::optional<int64_t> time;
    // The walk meets the messages in body order, so its offsets are sorted.
    const auto walked = std::lower_bound(walk.chat.begin(), walk.chat.end(),
                                         std::make_pair(j, int32_t{0}),
                                         [](const auto& a, const auto& b) { return a.first < b.first; });
    if (walked != walk.chat.end() && walked->first == j) {
      time = startMs + walk.chatTimesMs[static_cast<std::size_t>(walked - walk.chat.begin())];
    }
    times.insert(times.end(), lineCount(filterChat(message)), time);
  });
  // A message whose text holds a line break filters otherwise alone than
  // among the others; then the lines cannot be told apart.
  if (times.size() != lineCount(filterChat(all))) times.clear();
  return times;
}

std::vector<std::optional<int64_t>> definitiveChatTimes(ByteSpan body, const BodyWalk& walk,
                                                        int64_t startMs,
                                                        const ChatSpeakers& speakers) {
  std::vector<std::optional<int64_t>> times;
  for (std::size_t i = 0; i < walk.chat.size(); ++i) {
    const std::string line = filterChat(collectDefinitiveChat(body, {walk.chat[i]}, speakers));
    times.insert(times.end(), lineCount(line), startMs + walk.chatTimesMs[i]);
  }
  return times;
}

std::string filterChat(std::string text) {
  std::string result;
  std::size_t c = 0;
  while (c < text.size()) {
    std::size_t i = text.find('\r', c);
    if (i == std::string::npos) i = text.size();  // a last line without its end
    const std::string_view line(text.data() + c, i - c);
    const bool marked = line.size() >= 3 && line[0] == '@' && line[1] == '#' &&
                        line[2] >= kGameDigit && line[2] <= kLastPlayerDigit;
    if (marked) {
      const std::string_view rest = line.substr(3);
      const bool systemLine =
          rest.size() >= 2 && rest.substr(0, 2) == "--" && rest.substr(rest.size() - 2) == "--";
      if (!systemLine) {
        result.append(rest);
        result.append("\r\n");
      }
    }
    c = i + 2;
  }
  return result;
}

}  // namespace morvane
