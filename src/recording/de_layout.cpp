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
     }},
    {37.0f,
     [](DefinitiveLayout& l) {
       l.entriesForPlayersOnly = true;
       l.afterDataset += 3;
       l.endTimes = true;
       l.lobbyTail += 4;
     }},
    {50.0f,
     [](DefinitiveLayout& l) {
       l.flagAfterHandicap = true;
       l.afterDataset += 8;
       l.lobbyTail += 1;
     }},
    {61.5f,
     [](DefinitiveLayout& l) {
       l.difficultyFirst = false;
       l.byteAfterVictoryAmount = true;
       l.customCivilisations = true;
       l.afterDataset += 1;
       l.turnPerPlayer = true;
       l.secondVisibility = true;
     }},
    {62.0f,
     [](DefinitiveLayout& l) {
       l.tileBytes = 10;
       l.tileElevation = 3;
     }},
    {63.0f, [](DefinitiveLayout& l) { l.afterDataset += 5; }},
    {64.3f, [](DefinitiveLayout& l) { l.entryTail = true; }},
    {66.3f,
     [](DefinitiveLayout& l) {
       l.censoredName = true;
       l.entriesForPlayersOnly = false;
       l.countedTail = true;
       l.lobbyTail += 4;
     }},
    // The scenario section's player data changed; nothing read here did.
    {66.6f, [](DefinitiveLayout&) {}},
    // Between 66.6 and 67.2 the descriptions disagree (one reader puts the
    // strings below at the major version 67, another at 67.2) and no
    // recording settles it.
    {66.61f, [](DefinitiveLayout& l) { l.known = false; }},
    // The newest patch the descriptions reach. (The first block of each
    // player after the map gains a name and loses a separator byte; nothing
    // read here walks it.)
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
