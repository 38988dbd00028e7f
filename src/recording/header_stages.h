// The four stages of parseHeader, each over the inflated header bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording/body_walk.h"
#include "recording/byte_reader.h"
#include "recording/de_chat.h"
#include "recording/game_entry.h"
#include "recording/game_version.h"
#include "recording/lobby_block.h"

namespace morvane {

// The player type of each list position, as the game numbers them.
using PlayerTypes = std::array<int32_t, GameEntry::kPositions>;
inline constexpr int32_t kSpectatorType = 6;

// Positions found by the player stage that the later stages continue from.
struct PlayerListPositions {
  int64_t listStart = 0;
  int64_t listEnd = 0;  // just past the 1.6 double marker; 0 when none
  std::optional<int64_t> mapBase;
  int64_t terrainStart = 0;         // 0 when the map records could not be walked
  int64_t tiles = 0;                // width * height
  int64_t tilesEnd = 0;             // the first byte after the tiles; 0 when they overrun
  std::optional<LobbyBlock> lobby;  // the later edition's, where it has one
  PlayerTypes playerTypes = {};
};

// Player names, point of view, player count, map size, terrain, elevation,
// and the civilisation, colour and starting view of each slot.
PlayerListPositions parsePlayers(ByteSpan header, const HeaderLayout& layout, GameEntry& entry);

// The map type text after a label line, or empty when none was found.
std::string findMapTypeText(ByteSpan header);

struct MapTypeLine {
  std::string text;      // empty when no line was found
  int32_t codePage = 0;  // the label's: one of its language's code pages
};
MapTypeLine findMapTypeLine(ByteSpan header);

struct TeamWalk {
  int32_t scenarioRecordCount = 0;
  int64_t chatScanStart = 0;
  int64_t teamBytes = 0;
  bool reached = false;  // false when the walk left the header
};

// Walks the scenario records after listEnd to the team bytes, sets labels.
TeamWalk parseTeams(ByteSpan header, int64_t listEnd, GameEntry& entry);

// Collected (unfiltered) chat lines, each ending with "\r\n".
std::string collectHeaderChat(ByteSpan header, int64_t chatScanStart);
std::string collectBodyChat(ByteSpan body);

// Keeps marker lines without their marker, drops "--...--" system lines.
std::string filterChat(std::string text);

// The game time of each line of filterChat(collectBodyChat(body)): the walk's
// time of the message at the same offset plus startMs, or none where the
// walk did not pass it. Empty when the lines do not pair with the messages.
std::vector<std::optional<int64_t>> bodyChatTimes(ByteSpan body, const BodyWalk& walk,
                                                  int64_t startMs);
// The same for the Definitive Edition's chat, read from the walk's messages.
std::vector<std::optional<int64_t>> definitiveChatTimes(ByteSpan body, const BodyWalk& walk,
                                                        int64_t startMs,
                                                        const ChatSpeakers& speakers);

}  // namespace morvane
