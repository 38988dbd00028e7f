// The Definitive Edition's chat, before and during the game.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recording/byte_reader.h"

namespace morvane {

// Who may speak: by player number (1..8), each player's name (UTF-8) and
// team byte (1 no team, 2 team 1, ...). Number 0 and missing players stay
// empty.
struct ChatSpeakers {
  static constexpr std::size_t kNumbers = 9;
  std::array<std::string, kNumbers> names;
  std::array<int, kNumbers> teams{};
};

// One message as the game shows it, marked "@#" and its sender's number as
// the earlier editions' lines are, so that filterChat takes it; empty for a
// message the game did not show (one sent to others than the recording's
// player, or one this reader cannot read). A message is either a JSON
// object of the edition's (read from its fields) or a line of text.
std::string definitiveChatLine(std::string_view message, const ChatSpeakers& speakers);

// The lines of the messages at offset and length in bytes, each ending
// with "\r\n".
std::string collectDefinitiveChat(ByteSpan bytes,
                                  const std::vector<std::pair<int64_t, int32_t>>& messages,
                                  const ChatSpeakers& speakers);

}  // namespace morvane
