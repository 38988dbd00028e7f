// The Definitive Edition's chat during the game.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "recording/byte_reader.h"

namespace morvane {

// The chat lines the body's messages hold, each ending with "\r\n", as the
// earlier editions' body chat is collected: the edition writes each message
// as a JSON object whose "messageAGP" is the line shown, or as that line
// itself. messages: each message's offset and length in the body.
std::string collectDefinitiveChat(ByteSpan body,
                                  const std::vector<std::pair<int64_t, int32_t>>& messages);

}  // namespace morvane
