#include "search_run.h"

#include <cstdio>

#include "json_line.h"
#include "library/civilisation_names.h"
#include "platform/exact_path.h"
#include "platform/file_access.h"

namespace morvane::inspect {
namespace {

// Every game the index holds: the command line has no page to fill.
constexpr std::size_t kAllGames = 1000000000;
constexpr int32_t kLastCivilisation = 255;

std::string lowered(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// An id, or a name as the Definitive Edition's list names it (any case).
std::optional<int32_t> civilisationOf(const std::string& text) {
  if (text.find_first_not_of("0123456789") == std::string::npos && text.size() <= 3)
    return std::stoi(text);
  const std::string wanted = lowered(text);
  for (int32_t civ = 1; civ <= kLastCivilisation; ++civ) {
    const std::string name = civilisationName(civ, VersionFamily::kDE);
    if (name.empty() || name[0] == '#') break;
    if (lowered(name) == wanted) return civ;
  }
  return std::nullopt;
}

}  // namespace

std::optional<archive::SearchForm> searchFormOf(const InspectOptions::Criteria& criteria,
                                                std::string& error) {
  archive::SearchForm form;
  form.player = criteria.name;
  form.map = criteria.map;
  form.from = criteria.from;
  form.to = criteria.to;
  if (!criteria.civ.empty()) {
    const std::optional<int32_t> civ = civilisationOf(criteria.civ);
    if (!civ || *civ <= 0) {
      error = "no such civilisation: " + criteria.civ;
      return std::nullopt;
    }
    form.civId = *civ;
  }
  if (criteria.result == "won") {
    form.result = archive::SearchForm::Result::kWon;
  } else if (criteria.result == "lost") {
    form.result = archive::SearchForm::Result::kLost;
  } else if (!criteria.result.empty()) {
    error = "a result is won or lost: " + criteria.result;
    return std::nullopt;
  }
  return form;
}

std::string gameJson(const archive::GameHit& game, const archive::ResultLine& line) {
  JsonLine json;
  json.string("played", line.date);
  json.number("playedMs", game.playedMs);
  json.string("certainty", archive::certaintyName(game.certainty));
  json.string("edition", game.edition);
  json.string("map", line.map);
  json.number("durationMs", game.durationMs);
  std::vector<std::string> players;
  for (const archive::HitPlayer& player : game.players) {
    JsonLine p;
    p.number("position", player.position);
    p.number("number", player.number);
    p.string("name", player.name);
    p.number("civId", player.civId);
    p.string("civName", civilisationName(player.civId, VersionFamily::kDE));
    p.string("team", player.team);
    if (player.outcome == archive::PlayerOutcome::kUnknown) {
      p.raw("result", "null");
    } else {
      p.string("result", archive::outcomeName(player.outcome));
    }
    players.push_back(p.str());
  }
  json.raw("players", jsonArray(players));
  std::vector<std::string> recordings;
  for (const archive::HitRecording& recording : game.recordings) {
    JsonLine r;
    r.string("path", recording.path);
    r.number("pov", recording.povNumber);
    r.boolean("copy", recording.copy);
    recordings.push_back(r.str());
  }
  json.raw("recordings", jsonArray(recordings));
  return json.str();
}

int runSearch(const InspectOptions& options) {
  std::string problem;
  const std::optional<archive::SearchForm> form = searchFormOf(options.criteria, problem);
  if (!form) {
    std::fprintf(stderr, "morvane-inspect: %s\n", problem.c_str());
    return 2;
  }
  const std::string path = platform::exactFromAnsi(*options.indexFile);
  if (std::FILE* file = platform::openFile(path, "rb")) {
    std::fclose(file);
  } else {
    std::fprintf(stderr, "morvane-inspect: no such index: %s\n", options.indexFile->c_str());
    return 3;
  }
  try {
    archive::Archive index(path, archive::Archive::Check::kNone);
    const archive::SearchPage page = archive::searchGames(index, *form, "", kAllGames);
    if (page.problem != archive::FormProblem::kNone) {
      std::fprintf(stderr, "morvane-inspect: %s does not read as a date (2024-05-01, 2024-05)\n",
                   page.problem == archive::FormProblem::kBadFrom ? "--from" : "--to");
      return 2;
    }
    for (std::size_t i = 0; i < page.games.size(); ++i)
      std::printf("%s\n", gameJson(page.games[i], page.lines[i]).c_str());
    return 0;
  } catch (const archive::ArchiveError& error) {
    std::fprintf(stderr, "morvane-inspect: index %s\n", error.what());
    return 3;
  }
}

}  // namespace morvane::inspect
