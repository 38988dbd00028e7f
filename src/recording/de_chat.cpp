// The Definitive Edition's chat messages. During the game (and, from some
// patch on, before it) each is a JSON object: "player" (the sender's
// number), "channel", "message" (the text typed, or a notice of the game's),
// "tauntNumber", "messageAGP" (the line the game showed the recording's
// player, empty where it showed none) and, for what a player typed,
// "destinationMap" (the receivers: bit n + 1 for player n). The game's lines
// hold markup tags ("<platform_icon_world>", "<player_id,2,0>"), which no
// line shown here keeps. Earlier patches store the line itself.
#include "recording/de_chat.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace morvane {
namespace {

using nlohmann::json;

constexpr int64_t kMaxMessageBytes = 4096;
constexpr int64_t kFirstPlayer = 1;
constexpr int64_t kLastPlayer = 8;
constexpr int kNoTeam = 1;
// Public readers of these recordings (aoc-mgz's chat, others' merging
// tools) agree that channel 1 is the chat to all; the other channels are
// told apart by their receivers.
constexpr int64_t kAllChannel = 1;
constexpr std::size_t kMaxTagBytes = 64;

std::optional<int64_t> integerField(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_number_integer()) return std::nullopt;
  return it->get<int64_t>();
}

const std::string* textField(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return nullptr;
  return it->get_ptr<const std::string*>();
}

bool tagNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }

std::string_view trimmedSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The player a "<player_id,N,...>" tag's arguments (",N,...") name, or 0.
std::size_t taggedPlayer(std::string_view arguments) {
  std::size_t n = 0;
  std::size_t i = 1;  // past the first comma
  for (; i < arguments.size() && arguments[i] >= '0' && arguments[i] <= '9' && n <= kLastPlayer;
       ++i) {
    n = n * 10 + static_cast<std::size_t>(arguments[i] - '0');
  }
  return i > 1 && n <= kLastPlayer ? n : 0;
}

// text as the game shows it: a tag naming a player becomes that player's
// name, any other tag (a lowercase name, maybe arguments after a comma,
// between angle brackets) goes with the spaces behind it; line breaks
// become spaces, as a line is one message.
std::string resolvedText(std::string_view text, const ChatSpeakers& speakers) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '<' && i + 1 < text.size() && tagNameChar(text[i + 1]) &&
        !(text[i + 1] >= '0' && text[i + 1] <= '9')) {
      std::size_t end = i + 1;
      while (end < text.size() && tagNameChar(text[end])) ++end;
      const std::size_t close = text.substr(end, kMaxTagBytes).find('>');
      if (end < text.size() && (text[end] == '>' || text[end] == ',') &&
          close != std::string_view::npos) {
        const std::string_view name = text.substr(i + 1, end - i - 1);
        if (name == "player_id") {
          out += speakers.names[taggedPlayer(text.substr(end, close))];
        }
        i = end + close + 1;
        if (name != "player_id") {
          while (i < text.size() && text[i] == ' ') ++i;
        }
        continue;
      }
    }
    out.push_back(c == '\r' || c == '\n' ? ' ' : c);
    ++i;
  }
  return std::string(trimmedSpaces(out));
}

// A line stored as the game shows it: "@#", the sender's number, maybe a
// channel tag ("<All>", "<Team>"), the sender's colour digit and spaces,
// then the text.
std::string storedLine(std::string_view line, const ChatSpeakers& speakers) {
  constexpr std::size_t kMarker = 3;  // "@#" and the sender's digit
  if (line.size() < kMarker || line.substr(0, 2) != "@#") return std::string(line);
  std::string out(line.substr(0, kMarker));
  std::size_t at = kMarker;
  if (at + 1 < line.size() && line[at] == '<' && line[at + 1] >= 'A' && line[at + 1] <= 'Z') {
    const std::size_t close = line.find('>', at);
    if (close != std::string_view::npos) {
      out.append(line.substr(at, close + 1 - at));
      at = close + 1;
    }
  }
  if (at + 1 < line.size() && line[at] >= '0' && line[at] <= '9' && line[at + 1] == ' ') ++at;
  return out + resolvedText(line.substr(at), speakers);
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool startsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

// How the game marks a typed message's channel: nothing for one to every
// player, "<Team>" for one to the sender's team mates alone, "<Private>"
// for one to others.
std::string channelMark(const json& message, std::size_t sender, const ChatSpeakers& speakers) {
  if (integerField(message, "channel") == kAllChannel) return {};
  const auto receivers = integerField(message, "destinationMap");
  if (!receivers) return {};
  bool toAll = true;
  bool toTeam = speakers.teams[sender] > kNoTeam;
  bool toAny = false;
  for (std::size_t n = kFirstPlayer; n <= kLastPlayer; ++n) {
    if (n == sender || speakers.names[n].empty()) continue;
    if (((*receivers >> (n + 1)) & 1) == 0) {
      toAll = false;
      continue;
    }
    toAny = true;
    if (speakers.teams[n] != speakers.teams[sender]) toTeam = false;
  }
  if (toAll || !toAny) return {};
  return toTeam ? "<Team>" : "<Private>";
}

std::string jsonLine(std::string_view text, const ChatSpeakers& speakers) {
  const json message = json::parse(text.begin(), text.end(), nullptr, false);
  if (!message.is_object()) return {};
  const auto player = integerField(message, "player");
  const std::string* typed = textField(message, "message");
  const std::string* shown = textField(message, "messageAGP");
  if (!player || *player < kFirstPlayer || *player > kLastPlayer || !typed || !shown ||
      shown->empty()) {
    return {};
  }
  const auto sender = static_cast<std::size_t>(*player);
  const std::string& name = speakers.names[sender];
  if (name.empty()) return storedLine(*shown, speakers);
  std::string line = "@#" + std::to_string(sender);
  const bool spoken = message.contains("destinationMap") || endsWith(*shown, ": " + *typed);
  if (!spoken) {
    // A notice of the game's names its player by a tag, or (in some patches)
    // after the player's colour digit.
    std::string_view notice = *typed;
    if (notice.size() > 2 && notice[0] >= '0' && notice[0] <= '9' && notice[1] == ' ' &&
        startsWith(notice.substr(2), name)) {
      notice.remove_prefix(2);
    }
    return line + resolvedText(notice, speakers);
  }
  std::string said = resolvedText(*typed, speakers);
  // The game prints a taunt as its number, then what it says.
  const auto taunt = integerField(message, "tauntNumber");
  if (taunt && *taunt > 0 && !startsWith(said, std::to_string(*taunt))) {
    said = std::to_string(*taunt);
  }
  return line + channelMark(message, sender, speakers) + name + ": " + said;
}

}  // namespace

std::string definitiveChatLine(std::string_view message, const ChatSpeakers& speakers) {
  if (!message.empty() && message.front() == '{') return jsonLine(message, speakers);
  return storedLine(message, speakers);
}

std::string collectDefinitiveChat(ByteSpan bytes,
                                  const std::vector<std::pair<int64_t, int32_t>>& messages,
                                  const ChatSpeakers& speakers) {
  std::string text;
  for (const auto& [offset, length] : messages) {
    text.append(definitiveChatLine(bytes.text(offset, length, kMaxMessageBytes), speakers));
    text.append("\r\n");
  }
  return text;
}

}  // namespace morvane
