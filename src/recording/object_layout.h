// The object records' layout of one game version: a row of the version
// table (game_version.cpp, de_layout.cpp), read by game_objects.
#pragma once

#include <cstdint>

namespace morvane {

// The records of the object lists that end each player block of the game
// data. Every record opens with its type, owner, unit id and position; what
// follows depends on the type and on these numbers. Only versions whose
// records were walked against real recordings hold a row; the rest read no
// objects.
struct ObjectRecordLayout {
  bool known = false;
  // The base game: a selection byte after the screen offsets, no group
  // number in an action unit, fewer town-bell fields, no snow flags, and a
  // one-byte base armour in a unit's own copy of its type.
  bool baseGame = false;
  int64_t actionState = 1;  // bytes of a queued action's state: 4 in the patches
  // The later edition's additions.
  int64_t workerCount = 1;  // bytes of a resource's count of workers
  bool staticList = false;  // a flag, 4 bytes and a counted list closing the static part
  int64_t pathData = 44;    // bytes of one step of a path
  int64_t movingTail = 0;   // bytes after a moving unit's movement
  int64_t actionTail = 0;   // bytes between the movement and the action fields
  int64_t unitAiTail = 0;   // bytes closing a unit's AI
  int64_t linkedChildren = 4;

  // The Definitive Edition's records, where definitive is set.
  bool definitive = false;
  bool pathingGroup = true;      // a counted list of ids in the static part
  int64_t beforeGroup = 0;       // bytes before the static part's group
  int64_t afterGroupFlag = 17;   // bytes after the group's flag
  int64_t beforeProperties = 0;  // bytes before the count of the object's own properties
  // After the five particles: fixed bytes, then two strings between two bytes each.
  int64_t afterParticles = 0;
  bool particleStrings = false;
  bool resourceByte = false;  // one more byte for a static object
  // Where every static object seen held the byte and no sprites while every
  // other object held sprites and no byte, the byte may follow either: an
  // object that would tell the two apart is a form not known.
  bool byteOrSpritesUnsettled = false;
  bool everyTypeByte = false;  // ... and for every other type
  int64_t lateStaticByte = 0;  // one more for every type
  int64_t staticTail = 0;
  // From 20.16 an animated object may hold one byte more after its
  // properties; no description says when. Before, it holds none.
  bool animatedByteUnknown = true;
  // Whether an object's own copy of its type is written as the game data
  // writes a unit type; where not, such an object is a form not known.
  bool ownTypeAsData = true;
  int64_t velocityByte = 0;    // after a moving unit's velocity
  int64_t afterMovement = 0;   // bytes between the movement data and the position
  bool movementTimers = true;  // 16 bytes of timers after its turn
  int64_t combatHead = 0;      // bytes between the formation fields and the volley
  // A unit whose AI keeps a place of its own holds it after the AI: where
  // the AI states no kind, the place is there unless the town bell's unrung
  // flag and empty target follow (no bell has rung at the start, and no
  // place's first float is 00 FF FF FF).
  bool placeWithoutKind = false;
  int64_t aiAfterWaypoint = 0;   // bytes after the AI's last place
  int64_t aiKindTail = 0;        // bytes more closing the AI of kinds 15 and 17
  // From 67.2 a unit's AI states its place once more before those bytes: a
  // flag (1), the place and two bytes. No unit with the flag clear was seen.
  bool aiClosingPlace = false;
  int64_t combatTail = 0;        // bytes after the healers' count
  int64_t kind15CombatTail = 0;  // bytes more there for AI kind 15
  int64_t buildingTail = 0;      // bytes after the snow flag
  bool researchList = true;      // a building's list of research actions
};

}  // namespace morvane
