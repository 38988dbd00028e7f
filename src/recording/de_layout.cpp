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
    {12.97f, [](DefinitiveLayout&) {}},  // the first release
    {13.13f,
     [](DefinitiveLayout& l) {
       l.spectatorDelay = true;
       l.afterDataset += 5;
       l.byteBeforeEnd = true;
       l.lobbyAfterPopulation += 4;
     }},
    {13.17f,
     [](DefinitiveLayout& l) {
       l.afterDataset += 9;
       l.lastStringBlock = false;
       l.startValueArrays = 1;
     }},
    {13.34f,
     [](DefinitiveLayout& l) {
       l.battleRoyale = true;
       l.startValueArrays = 0;  // the values were doubled by 26.21; when is not known
     }},
    {20.06f, [](DefinitiveLayout& l) { l.afterDataset += 1; }},
    {20.16f, [](DefinitiveLayout& l) { l.afterDataset += 8; }},
    {25.02f, [](DefinitiveLayout& l) { l.afterAiFiles = true; }},
    {25.06f,
     [](DefinitiveLayout& l) {
       l.handicapFlag = true;
       l.handicapBytes = true;
       l.afterDataset += 21;
     }},
    {25.22f,
     [](DefinitiveLayout& l) {
       l.build = true;
       l.lobbyRatings = false;
       l.countedStrategicNumbers = true;
       l.afterLobbyName = true;
       l.afterDataset += 4;
       l.lobbyAfterPopulation += 1;
     }},
    {26.16f,
     [](DefinitiveLayout& l) {
       l.timestamp = true;
       l.afterDataset += 8;
       l.lobbyTail += 4;
       l.startValueArrays = 2;
       // The object records as first walked (26.21), with every earlier
       // patch's additions in them.
       ObjectRecordLayout& o = l.objects;
       o.known = true;
       o.definitive = true;
       o.actionState = 4;
       o.linkedChildren = 3;
       o.researchList = false;
       o.beforeProperties = 1;
       o.afterParticles = 5 + 2;
       o.particleStrings = true;
       o.resourceByte = true;
       o.velocityByte = 1;
       o.movingTail = 17 + 8;
       o.unitAiTail = 4 + 1;
       o.aiAfterWaypoint = 8;
       o.combatHead = 4 + 14 + 16;
       o.combatTail = 4 + 4 + 5;
       o.buildingTail = 1 + 2 + 1 + 4;
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
    // which are found from there; neither walk changes.
    {67.2f,
     [](DefinitiveLayout& l) {
       l.known = true;
       l.entryString = true;
       l.settingsStrings = true;
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
