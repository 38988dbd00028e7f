// The Definitive Edition's header layout: what each of its patches added,
// as numbers and switches the header reader follows. One row per patch, in
// de_layout.cpp, chosen once per header by the save version.
#pragma once

#include <cstdint>

#include "recording/object_layout.h"

namespace morvane {

struct DefinitiveLayout {
  int64_t blockStart = 12;  // after the version text and save version, in either form
  // False between patches whose layouts no description settles: such a
  // header is refused, not read with the row before it.
  bool known = true;

  // The edition's own block: its build and time, then its version.
  bool build = false;
  bool timestamp = false;
  // The first setting: the difficulty, or in later patches the map's side.
  bool difficultyFirst = true;
  bool byteAfterVictoryAmount = false;
  bool battleRoyale = false;  // sub game mode and battle royale time
  bool handicapFlag = false;
  bool flagAfterHandicap = false;
  // Entries for the players only, each empty slot then written in a shorter
  // form of its own; otherwise eight full entries.
  bool entriesForPlayersOnly = false;
  // In each player entry:
  bool customCivilisations = false;  // a count of civilisation ids after the civilisation
  bool censoredName = false;         // a second name before the name
  // The name holds the player's profile id, written as decimal digits; the
  // name itself is in the player's block in the game data.
  bool profileIdAsName = false;
  bool lobbyRatings = true;          // two int32 ratings of the earlier edition's lobby
  bool handicapBytes = false;
  bool entryTail = false;    // an int32 at the end of each entry
  bool entryString = false;  // and a string after it
  // After the players:
  bool spectatorDelay = false;           // and the scenario's civilisation byte
  bool countedStrategicNumbers = false;  // else 59 of them
  bool afterAiFiles = false;
  bool afterLobbyName = false;
  int64_t afterDataset = 19;  // fixed bytes after the modded data set's name
  bool countedTail = false;   // an int32 count, 12 bytes and count int32s
  bool settingsStrings = false;  // two strings after the one before the closing bytes
  bool byteBeforeEnd = false;
  bool lastStringBlock = true;  // the block ends in a string and 8 bytes, else 2 bytes
  bool endTimes = false;        // two int32s closing the block

  // The replay and map sections after the AI flag.
  bool turnPerPlayer = false;  // a turn time per player, else nine
  int64_t tileBytes = 9;
  // A second width this patch's tiles were written in, 0 for none: the
  // header's own walk past the tiles tells which one it holds.
  int64_t otherTileBytes = 0;
  int64_t tileElevation = 2;
  bool secondVisibility = false;  // a second visibility map after the first

  // The lobby's settings and chat at the header's end.
  int64_t lobbyAfterPopulation = 7;  // game type, lock teams, treaty, an int32 of cheats, ...
  int64_t lobbyTail = 10;            // after the map seed
  // Each player's block in the game data: how many arrays of its counted
  // values stand before its camera and spawn point; 0 where not known.
  int64_t startValueArrays = 0;
  ObjectRecordLayout objects;
};

// The newest save version a row was added for; anything newer is refused.
float newestDefinitiveRow();

// Every row up to the save version applied in order.
DefinitiveLayout definitiveLayoutFor(float saveVersion);

}  // namespace morvane
