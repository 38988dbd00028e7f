// Assembles a recording body: its start record, time steps, commands,
// view locks, chat, post-game blocks and saved chapters.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recording_writer/byte_writer.h"

namespace morvane::fixtures {

// One seat's record in the post-game block; the fields left out are 0.
struct PostGameRecord {
  std::string name;  // an empty name marks a record not written
  bool victory = false;
  std::array<int32_t, 3> ageSeconds = {-1, -1, -1};  // feudal, castle, imperial; -1 not reached
  uint16_t totalScore = 0;
  uint16_t unitsKilled = 0;
  uint32_t foodCollected = 0;
  uint16_t villagerHigh = 0;
};

// The forms of the commands that say what a player did: the earlier
// editions', the Definitive Edition's before its rewrite (its own wall,
// queue and tribute), and the rewrite's, where every command states its
// player after its id and the length of its fields.
enum class CommandLayout { kEarlier, kDefinitive, kRewritten };

class BodyBuilder : public ByteWriter {
 public:
  // int32 4, int32 -1, int32 n, then the text; returns the offset of the text.
  int64_t chat(std::string_view message, std::optional<int32_t> declaredLength = std::nullopt) {
    return chatAfter(4, -1, message, declaredLength);
  }
  // The same with other values in the two int32 fields before n.
  int64_t chatAfter(int32_t first, int32_t second, std::string_view message,
                    std::optional<int32_t> declaredLength = std::nullopt);

  // The body's version, 500, multiplayer, owner, reveal map, sequence numbers
  // and chapters (the base game's record: 500 and 32 bytes, no version).
  int64_t start(bool baseGame = false);
  // Operation 2: ms, then (checksum) a block of 28 bytes, 360 with a
  // sequence, its world checksum 8 bytes in.
  int64_t timeStep(int32_t ms, bool checksum = false, int32_t sequence = 0,
                   uint32_t worldChecksum = 0);
  int64_t viewLock();  // operation 3: x, y, player
  // Operation 1: the stated length, the command's bytes, 4 bytes more.
  int64_t command(const std::vector<uint8_t>& bytes,
                  std::optional<int32_t> declaredLength = std::nullopt);
  int64_t resign(uint8_t player, uint8_t seat) { return command({0x0B, player, seat, 0}); }
  // The research command: 3 unused bytes, the building, the player and the
  // technology, -1, and zeros up to length.
  int64_t research(int16_t player, int16_t technology, int32_t length = 16);
  // The same in a layout's form, naming the building it was clicked at.
  int64_t researchAt(CommandLayout layout, uint8_t player, int16_t technology, uint32_t building);
  // A unit command (0x00 order, 0x03 move) of the player with these selected
  // objects (none: the selection as before).
  int64_t order(CommandLayout layout, uint8_t id, uint8_t player,
                const std::vector<uint32_t>& selected);
  int64_t build(CommandLayout layout, uint8_t player, int32_t building, float x, float y,
                const std::vector<uint32_t>& villagers = {});
  int64_t wall(CommandLayout layout, uint8_t player, int32_t building, uint8_t x1, uint8_t y1,
               uint8_t x2, uint8_t y2);
  // The earlier editions' queue at one building, and at several.
  int64_t queue(uint32_t building, int16_t unit, int16_t count);
  int64_t multiQueue(int16_t unit, uint8_t count, const std::vector<uint32_t>& buildings);
  // The Definitive Edition's queue (the later edition's 5.x too in the
  // earlier form), naming its player.
  int64_t playerQueue(CommandLayout layout, uint8_t player, int16_t unit, int16_t count,
                      const std::vector<uint32_t>& buildings);
  int64_t tribute(uint8_t player, uint8_t to, uint8_t resource, float amount, float fee);
  // The Definitive Edition's tribute of wood, food, gold and stone at once.
  int64_t tributeAll(CommandLayout layout, uint8_t player, uint8_t to,
                     const std::array<float, 4>& woodFoodGoldStone);
  int64_t trade(CommandLayout layout, bool buy, uint8_t player, uint8_t resource, uint8_t lots);
  // The rewrite's frame: id, player, the fields' length, the fields.
  int64_t rewritten(uint8_t id, uint8_t player, const std::vector<uint8_t>& fields);
  // One of each command above for players 1 and 2, a time step apart, then
  // one of a type no form knows and a build command cut short.
  void playSample(CommandLayout layout);
  // The post-game command: the records by list position (the rest not
  // written), the length in seconds and whether the game ran to its end;
  // cut to keep bytes when given.
  int64_t postGame(const std::vector<PostGameRecord>& records, int32_t seconds, bool complete,
                   std::optional<int64_t> keep = std::nullopt);
  // A saved chapter: the file offset it ends at (the body starts at
  // bodyOffset in the file), 4 bytes, then embedded bytes of filler.
  int64_t savedChapter(int64_t bodyOffset, int64_t embedded);
};

}  // namespace morvane::fixtures
