// The rows of the Definitive Edition's version table. Each patch that
// changed what the header reader steps over is one row: what it added or
// moved, from the save version it first appears in.
#include "recording/de_layout.h"

namespace morvane {
namespace {

struct DefinitiveRow {
  float from;
  void (*apply)(DefinitiveLayout&);
};

const DefinitiveRow kRows[] = {
    // The first release. Its object records are the earlier editions' with
    // the action state widened, three linked children, no research list and
    // each kind's own additions; every later patch's additions are rows.
    {12.97f,
     [](DefinitiveLayout& l) {
       // Its tiles are nine bytes or seven (the terrain, a byte, the
       // elevation, two int16s): its files say 12.97 in both forms.
       l.otherTileBytes = 7;
       // Its lobby's entries name each player by the profile id (as
       // "378906"), both its files show; the players' blocks after the map
       // hold the names.
       l.profileIdAsName = true;
       // One array of values before each player's start, as every file
       // from 12.97 to 13.20 shows.
       l.startValueArrays = 1;
       ObjectRecordLayout& o = l.objects;
       o.known = true;
       o.definitive = true;
       o.actionState = 4;
       o.linkedChildren = 3;
       o.researchList = false;
       o.afterMovement = 2;
       o.movingTail = 17;
       o.unitAiTail = 4;
       o.combatHead = 4 + 14;
       o.buildingTail = 1;
       o.animatedByteUnknown = false;
       o.ownTypeAsData = false;
       o.placeWithoutKind = true;
     }},
    // Nine bytes alone from here, in the public readers' descriptions; and
    // the lobby's entries hold the names, in every file from 13.03 on.
    {13.03f,
     [](DefinitiveLayout& l) {
       l.otherTileBytes = 0;
       l.profileIdAsName = false;
     }},
    {13.13f,
     [](DefinitiveLayout& l) {
       l.spectatorDelay = true;
       l.afterDataset += 5;
       l.byteBeforeEnd = true;
       l.lobbyAfterPopulation += 4;
     }},
    {13.15f, [](DefinitiveLayout& l) { l.objects.afterParticles += 5; }},
    {13.17f,
     [](DefinitiveLayout& l) {
       l.afterDataset += 9;
       l.lastStringBlock = false;
       l.objects.afterParticles += 2;
     }},
    {13.2f, [](DefinitiveLayout& l) { l.objects.afterMovement = 0; }},
    {13.34f,
     [](DefinitiveLayout& l) {
       l.battleRoyale = true;
       // One array at 13.20, two at 20.16; no file of the patches between
       // shows which.
       l.startValueArrays = 0;
       l.objects.particleStrings = true;
     }},
    {20.06f,
     [](DefinitiveLayout& l) {
       l.afterDataset += 1;
       l.objects.aiAfterWaypoint = 8;
       l.objects.combatTail += 4;
     }},
    // A static object holds one byte more after its properties, a zero, as
    // first walked (20.16, 25.01, 25.02 and 25.06: every static object had
    // it, no other did). In those files no static object has sprites and
    // every other has: which of the two the byte goes with is not settled.
    {20.16f,
     [](DefinitiveLayout& l) {
       l.startValueArrays = 2;
       l.afterDataset += 8;
       l.objects.resourceByte = true;
       l.objects.byteOrSpritesUnsettled = true;
       l.objects.velocityByte = 1;
       l.objects.buildingTail += 2;
       l.objects.animatedByteUnknown = true;
     }},
    {25.01f, [](DefinitiveLayout& l) { l.objects.combatTail += 4; }},
    {25.02f, [](DefinitiveLayout& l) { l.afterAiFiles = true; }},
    {25.06f,
     [](DefinitiveLayout& l) {
       l.handicapFlag = true;
       l.handicapBytes = true;
       l.afterDataset += 21;
       // An object's own copy of its type is written as the game data
       // writes a unit type: static ones walked here (25.06) as at 26.16;
       // the moving types' fields as first walked (37.0, 64.3).
       l.objects.ownTypeAsData = true;
     }},
    {25.22f,
     [](DefinitiveLayout& l) {
       l.build = true;
       l.lobbyRatings = false;
       l.countedStrategicNumbers = true;
       l.afterLobbyName = true;
       l.afterDataset += 4;
       l.lobbyAfterPopulation += 1;
       // The static object's byte is a resource's alone from here, as the
       // one description has it.
       l.objects.byteOrSpritesUnsettled = false;
       l.objects.unitAiTail += 1;
       l.objects.buildingTail += 1;
     }},
    {26.16f,
     [](DefinitiveLayout& l) {
       l.timestamp = true;
       l.afterDataset += 8;
       l.lobbyTail += 4;
       ObjectRecordLayout& o = l.objects;
       o.beforeProperties = 1;
       o.movingTail += 8;
       o.combatHead += 16;
       o.combatTail += 5;
       o.buildingTail += 4;
       o.placeWithoutKind = false;  // the AI states its kind, as first walked (26.21)
     }},
    {26.18f,
     [](DefinitiveLayout& l) {
       l.objects.combatHead += 1;
       l.objects.combatTail += 4 - 5;
     }},
    {26.21f, [](DefinitiveLayout& l) { l.objects.aiAfterWaypoint = 0; }},
    {37.0f,
     [](DefinitiveLayout& l) {
       l.entriesForPlayersOnly = true;
       l.afterDataset += 3;
       l.endTimes = true;
       l.lobbyTail += 4;
       l.objects.pathingGroup = false;
       l.objects.movementTimers = false;
       l.objects.combatHead -= 4;
       l.objects.movingTail = 17 + 5;
     }},
    {50.0f,
     [](DefinitiveLayout& l) {
       l.flagAfterHandicap = true;
       l.afterDataset += 8;
       l.lobbyTail += 1;
       l.objects.combatTail += 48;
     }},
    {50.4f, [](DefinitiveLayout& l) { l.objects.buildingTail += 4; }},
    {61.5f,
     [](DefinitiveLayout& l) {
       l.difficultyFirst = false;
       l.byteAfterVictoryAmount = true;
       l.customCivilisations = true;
       l.afterDataset += 1;
       l.turnPerPlayer = true;
       l.secondVisibility = true;
       l.objects.staticTail = 14;
       l.objects.combatHead += 4;
       l.objects.combatTail += 40 + 2 + 2;
       l.objects.buildingTail += 12;
     }},
    {62.0f,
     [](DefinitiveLayout& l) {
       l.tileBytes = 10;
       l.tileElevation = 3;
       l.objects.staticTail += 4;
     }},
    {63.0f,
     [](DefinitiveLayout& l) {
       l.afterDataset += 5;
       l.objects.everyTypeByte = true;
       l.objects.movingTail = 17 + 4;
       l.objects.combatHead -= 1;
       l.objects.aiKindTail = 4;
       l.objects.kind15CombatTail = 8 - 2;
     }},
    {64.3f,
     [](DefinitiveLayout& l) {
       l.entryTail = true;
       l.objects.lateStaticByte = 1;
       l.objects.combatHead += 19;
       l.objects.combatTail += 1;
       l.objects.buildingTail += 4;
     }},
    {66.3f,
     [](DefinitiveLayout& l) {
       l.censoredName = true;
       l.entriesForPlayersOnly = false;
       l.countedTail = true;
       l.lobbyTail += 4;
       l.objects.beforeGroup = 2;
       l.objects.staticTail += 4;
       l.objects.combatHead += 4;
       l.objects.buildingTail += 5;
     }},
    // The scenario section's player data changed; nothing read here did.
    {66.6f, [](DefinitiveLayout&) {}},
    // Between 66.6 and 67.2 the descriptions disagree (one reader puts the
    // strings below at the major version 67, another at 67.2) and no
    // recording settles it.
    {66.61f, [](DefinitiveLayout& l) { l.known = false; }},
    // The newest patch the descriptions reach. The first block of each
    // player after the map gains a name after its culture byte and loses a
    // separator byte after its colour: both lie past the start the block
    // states, where the start walk stops, and before the object lists,
    // which are found from there. A unit's AI gains its closing place, and
    // an animated object (Gaia's, by thousands on today's maps) holds no
    // byte more: both as walked on a real 67.2 recording of eight players.
    {67.2f,
     [](DefinitiveLayout& l) {
       l.known = true;
       l.entryString = true;
       l.settingsStrings = true;
       l.objects.aiClosingPlace = true;
       l.objects.animatedByteUnknown = false;
     }},
};

}  // namespace

float newestDefinitiveRow() { return kRows[sizeof kRows / sizeof kRows[0] - 1].from; }

DefinitiveLayout definitiveLayoutFor(float saveVersion) {
  DefinitiveLayout layout;
  for (const DefinitiveRow& row : kRows) {
    if (saveVersion >= row.from) row.apply(layout);
  }
  return layout;
}

}  // namespace morvane
