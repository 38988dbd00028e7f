#include "play_report.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "library/play_names.h"

namespace morvane::inspect {
namespace {

const char* const kResourceNames[] = {"food", "wood", "stone", "gold"};

std::string resourceName(int32_t resource) {
  if (resource >= 0 && resource < 4) return jsonString(kResourceNames[resource]);
  return std::to_string(resource);
}

// A number as JSON: at most two decimals, no exponent, finite.
std::string decimal(double value) {
  if (!std::isfinite(value)) return "null";
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

std::string point(const MapPoint& p) { return "[" + decimal(p.x) + "," + decimal(p.y) + "]"; }

std::string named(const char* name) { return name ? jsonString(name) : "null"; }

std::string playerJson(const PlayerPlay& p, int64_t durationMs, VersionFamily family) {
  JsonLine json;
  json.number("actions", p.actions);
  json.raw("apm", decimal(actionsPerMinute(p, durationMs)));
  std::vector<std::string> items;
  for (const int32_t count : p.actionsByMinute) items.push_back(std::to_string(count));
  json.raw("actionsByMinute", jsonArray(items));
  items.clear();
  for (const ResearchOrder& r : p.research) {
    items.push_back("[" + std::to_string(r.timeMs) + "," + std::to_string(r.techId) + "," +
                    named(technologyName(r.techId, family)) + "]");
  }
  json.raw("research", jsonArray(items));
  items.clear();
  for (const BuildOrder& b : p.buildings) {
    std::string item = "[" + std::to_string(b.timeMs) + "," + std::to_string(b.buildingId) + "," +
                       named(unitName(b.buildingId, family)) + "," + point(b.at);
    if (b.to) item += "," + point(*b.to);
    items.push_back(item + "]");
  }
  json.raw("buildings", jsonArray(items));
  items.clear();
  for (const TrainOrder& u : p.units) {
    items.push_back("[" + std::to_string(u.timeMs) + "," + std::to_string(u.unitId) + "," +
                    named(unitName(u.unitId, family)) + "," + std::to_string(u.count) + "]");
  }
  json.raw("units", jsonArray(items));
  items.clear();
  for (const TributeSent& t : p.tributes) {
    JsonLine item;
    item.number("timeMs", t.timeMs);
    item.number("to", t.toPlayer);
    item.raw("resource", resourceName(t.resource));
    item.raw("amount", decimal(t.amount));
    item.raw("fee", decimal(t.fee));
    items.push_back(item.str());
  }
  json.raw("tributes", jsonArray(items));
  items.clear();
  for (const MarketTrade& t : p.trades) {
    items.push_back("[" + std::to_string(t.timeMs) + "," + jsonString(t.buy ? "buy" : "sell") + "," +
                    resourceName(t.resource) + "," + std::to_string(t.amount) + "]");
  }
  json.raw("trades", jsonArray(items));
  return json.str();
}

}  // namespace

void addPlay(JsonLine& line, const GamePlay& play, VersionFamily family) {
  JsonLine json;
  json.number("durationMs", play.durationMs);
  JsonLine players;
  for (const auto& [number, p] : play.players) {
    players.raw(std::to_string(number), playerJson(p, play.durationMs, family));
  }
  json.raw("players", players.str());
  json.number("unattributed", play.unattributed);
  JsonLine undecoded;
  for (const auto& [type, count] : play.undecoded) undecoded.number(std::to_string(type), count);
  json.raw("undecoded", undecoded.str());
  line.raw("play", json.str());
}

}  // namespace morvane::inspect
