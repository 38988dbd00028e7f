#include "facts_report.h"

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "library/list_presentation.h"
#include "recording/map_names.h"
#include "recording/setting_names.h"

namespace morvane::inspect {
namespace {

constexpr std::array<const char*, kMapSizes> kMapSizeNames = {"Tiny",   "Small", "Medium",
                                                              "Normal", "Large", "Giant"};
constexpr std::array<const char*, kRevealMaps> kRevealMapNames = {"Normal", "Explored",
                                                                  "All Visible"};
constexpr std::array<const char*, kDifficulties> kDifficultyNames = {"Hardest", "Hard", "Moderate",
                                                                     "Standard", "Easiest"};
constexpr std::array<const char*, kStartingAges> kAgeNames = {
    "Standard", "Dark Age", "Feudal Age", "Castle Age", "Imperial Age", "Post-Imperial Age"};
constexpr std::array<const char*, kVictories> kVictoryNames = {"Standard", "Conquest", "Time Limit",
                                                               "Score", "Custom"};
constexpr std::array<const char*, kGameTypes> kGameTypeNames = {
    "Random Map",       "Regicide",    "Death Match",       "Scenario",        "Campaign",
    "King of the Hill", "Wonder Race", "Defend the Wonder", "Turbo Random Map"};

// ISO 8601 in UTC, to the second: "2022-04-29T18:26:00Z".
std::string isoTime(int64_t seconds) {
  const EntryTime t = utcTimeOf(seconds * 1000);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

// The fixed name where the value is one, else the stored number.
template <std::size_t N>
void named(JsonLine& line, const char* key, std::optional<int32_t> value,
           const std::array<const char*, N>& names) {
  if (!value) return;
  if (morvane::named(value, static_cast<int32_t>(N))) {
    line.string(key, names[static_cast<std::size_t>(*value)]);
  } else {
    line.number(key, *value);
  }
}

std::string floatJson(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return text;
}

constexpr std::array<const char*, kAges> kAgeKeys = {"feudal", "castle", "imperial"};

// {"1": value, ...} by player number.
template <typename T, typename Json>
std::string byPlayer(const std::map<int32_t, T>& values, Json json) {
  JsonLine line;
  for (const auto& [number, value] : values) line.raw(std::to_string(number), json(value));
  return line.str();
}

std::string ageTimesJson(const AgeTimes& times) {
  JsonLine line;
  for (std::size_t age = 0; age < kAgeKeys.size(); ++age) {
    if (times.ms[age]) line.number(kAgeKeys[age], *times.ms[age]);
  }
  return line.str();
}

std::string numbersJson(const std::array<int32_t, 8>& values) {
  std::vector<std::string> items;
  for (const int32_t v : values) items.push_back(std::to_string(v));
  return jsonArray(items);
}

std::string achievementsJson(const Achievements& a) {
  JsonLine military;
  const Achievements::Military& m = a.military;
  military.number("score", m.score);
  military.number("unitsKilled", m.unitsKilled);
  military.number("hitPointsKilled", m.hitPointsKilled);
  military.number("unitsLost", m.unitsLost);
  military.number("buildingsRazed", m.buildingsRazed);
  military.number("hitPointsRazed", m.hitPointsRazed);
  military.number("buildingsLost", m.buildingsLost);
  military.number("unitsConverted", m.unitsConverted);
  JsonLine economy;
  const Achievements::Economy& e = a.economy;
  economy.number("score", e.score);
  economy.number("foodCollected", e.foodCollected);
  economy.number("woodCollected", e.woodCollected);
  economy.number("stoneCollected", e.stoneCollected);
  economy.number("goldCollected", e.goldCollected);
  economy.number("tributeSent", e.tributeSent);
  economy.number("tributeReceived", e.tributeReceived);
  economy.number("tradeGold", e.tradeGold);
  economy.number("relicGold", e.relicGold);
  JsonLine technology;
  const Achievements::Technology& t = a.technology;
  technology.number("score", t.score);
  technology.number("feudalTime", t.feudalTime);
  technology.number("castleTime", t.castleTime);
  technology.number("imperialTime", t.imperialTime);
  technology.number("exploredPercent", t.exploredPercent);
  technology.number("researchCount", t.researchCount);
  technology.number("researchPercent", t.researchPercent);
  JsonLine society;
  const Achievements::Society& s = a.society;
  society.number("score", s.score);
  society.number("totalWonders", s.totalWonders);
  society.number("totalCastles", s.totalCastles);
  society.number("relicsCaptured", s.relicsCaptured);
  society.number("villagerHigh", s.villagerHigh);
  JsonLine line;
  line.number("totalScore", a.totalScore);
  // Flags as the block stores them, 1 or 0.
  line.number("victory", a.victory ? 1 : 0);
  line.number("mvp", a.mvp ? 1 : 0);
  line.raw("military", military.str());
  line.raw("economy", economy.str());
  line.raw("technology", technology.str());
  line.raw("society", society.str());
  line.raw("unitsKilledOf", numbersJson(a.unitsKilledOf));
  line.raw("buildingsRazedOf", numbersJson(a.buildingsRazedOf));
  line.raw("tributeSentTo", numbersJson(a.tributeSentTo));
  return line.str();
}

}  // namespace

std::string settingsJson(const GameSettings& s, VersionFamily family) {
  JsonLine line;
  if (s.speed) {
    if (const auto speed = speedOf(*s.speed, family)) {
      constexpr const char* kSpeedNames[] = {"Slow", "Normal", "Fast", "Casual"};
      line.string("speed", kSpeedNames[static_cast<int>(*speed)]);
    }
    line.raw("speedValue", floatJson(*s.speed));
  }
  if (s.populationLimit) line.number("populationLimit", *s.populationLimit);
  named(line, "mapSize", s.mapSize, kMapSizeNames);
  named(line, "revealMap", s.revealMap, kRevealMapNames);
  named(line, "difficulty", s.difficulty, kDifficultyNames);
  named(line, "startingAge", s.startingAge, kAgeNames);
  named(line, "victory", s.victory, kVictoryNames);
  if (s.victoryTime) line.number("victoryTime", *s.victoryTime);
  if (s.victoryScore) line.number("victoryScore", *s.victoryScore);
  if (s.lockTeams) line.boolean("lockTeams", *s.lockTeams);
  named(line, "gameType", s.gameType, kGameTypeNames);
  return line.str();
}

void addFacts(JsonLine& line, const GameFacts& facts, bool withResult) {
  if (facts.playedAt) line.string("playedAt", isoTime(*facts.playedAt));
  line.number("durationMs", facts.durationMs);
  line.boolean("restored", facts.restored());
  if (withResult) {
    std::vector<std::string> resignations;
    for (const Resignation& r : facts.resignations) {
      JsonLine item;
      item.number("player", r.player);
      item.number("timeMs", r.timeMs);
      resignations.push_back(item.str());
    }
    line.raw("resignations", jsonArray(resignations));
    if (facts.settled) {
      std::vector<std::string> winners;
      for (const int32_t n : facts.winners) winners.push_back(std::to_string(n));
      line.raw("winners", jsonArray(winners));
    } else {
      line.raw("winners", "null");
    }
  }
  line.raw("settings", settingsJson(facts.settings, facts.version.family));
  line.raw("ageUps", byPlayer(facts.ageUps, ageTimesJson));
  line.raw("ageReached", byPlayer(facts.ageReached, ageTimesJson));
  line.raw("achievements", byPlayer(facts.achievements, achievementsJson));
}

void addMapAndProfiles(JsonLine& line, const GameFacts& facts, VersionFamily family) {
  if (facts.mapId) {
    line.number("mapId", *facts.mapId);
    const std::string_view name = builtInMapName(*facts.mapId, family);
    if (!name.empty()) line.string("mapNameById", name);
  }
  if (!facts.mapScript.empty()) line.string("mapScript", facts.mapScript);
  if (!facts.hdProfiles.empty()) {
    JsonLine profiles;
    for (const auto& [number, profile] : facts.hdProfiles) {
      JsonLine item;
      item.raw("steamId", std::to_string(profile.steamId));
      item.number("rmRating", profile.rmRating);
      item.number("dmRating", profile.dmRating);
      profiles.raw(std::to_string(number), item.str());
    }
    line.raw("hdProfiles", profiles.str());
  }
  if (facts.codePage != 0) line.number("codePage", facts.codePage);
}

}  // namespace morvane::inspect
