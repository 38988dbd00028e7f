#include "archive/search_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "archive/civil_days.h"
#include "archive/text_fold.h"
#include "library/civilisation_names.h"
#include "library/game_report.h"
#include "library/list_presentation.h"
#include "recording/map_names.h"

namespace morvane::archive {
namespace {

constexpr int64_t kDayMs = 86400000;

bool readNumber(const std::string& text, std::size_t& at, std::size_t digits, int& value) {
  if (at + digits > text.size()) return false;
  value = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    const char c = text[at + k];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  at += digits;
  return true;
}

// The first and the day after the last day a date names, ms since 1970 UTC.
std::optional<std::pair<int64_t, int64_t>> daysOf(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  std::size_t at = 0;
  int year = 0, month = 0, day = 0;
  if (!readNumber(text, at, 4, year)) return std::nullopt;
  const auto separator = [&] {
    if (at < text.size() && (text[at] == '-' || text[at] == '/')) return ++at, true;
    return false;
  };
  if (!separator() || !readNumber(text, at, 2, month) || month < 1 || month > 12)
    return std::nullopt;
  if (at == text.size()) {
    const int64_t first = daysFromCivil(year, month, 1);
    const int64_t next = month == 12 ? daysFromCivil(year + 1, 1, 1) : daysFromCivil(year, month + 1, 1);
    return std::make_pair(first * kDayMs, next * kDayMs);
  }
  if (!separator() || !readNumber(text, at, 2, day) || day < 1 || day > 31 || at != text.size())
    return std::nullopt;
  const int64_t first = daysFromCivil(year, month, day);
  return std::make_pair(first * kDayMs, (first + 1) * kDayMs);
}

const char* outcomeWord(PlayerOutcome outcome) {
  switch (outcome) {
    case PlayerOutcome::kWon:
      return "\xE5\x8B\x9D\xE5\x88\xA9";  // 勝利
    case PlayerOutcome::kLost:
      return "\xE6\x95\x97\xE5\x8C\x97";  // 敗北
    case PlayerOutcome::kResigned:
      return "\xE6\x8A\x95\xE4\xBA\x86";  // 投了
    case PlayerOutcome::kUnknown:
      break;
  }
  return "\xE4\xB8\x8D\xE6\x98\x8E";  // 不明
}

// "Alice (チーム 1) フランク: 勝利", one line per player, then the paths.
std::string tipOf(const GameHit& game) {
  std::string tip;
  for (const HitPlayer& player : game.players) {
    tip += player.name;
    if (!player.team.empty() && player.team != "-")
      tip += " (\xE3\x83\x81\xE3\x83\xBC\xE3\x83\xA0 " + player.team + ")";  // チーム
    const std::string civ = civilisationNameInJapanese(player.civId);
    if (!civ.empty()) tip += " " + civ;
    tip += std::string(": ") + outcomeWord(player.outcome) + "\n";
  }
  for (const HitRecording& recording : game.recordings) {
    tip += "\n" + recording.path;
    if (recording.copy) tip += " (\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC)";  // コピー
  }
  return tip;
}

const char* outcomeMark(PlayerOutcome outcome) {
  switch (outcome) {
    case PlayerOutcome::kWon:
      return " \xE2\x97\x8B";  // ○
    case PlayerOutcome::kLost:
    case PlayerOutcome::kResigned:
      return " \xC3\x97";  // ×
    case PlayerOutcome::kUnknown:
      break;
  }
  return "";
}

}  // namespace

std::optional<SearchQuery> queryOf(const SearchForm& form, const std::string& under,
                                   FormProblem& problem) {
  problem = FormProblem::kNone;
  SearchQuery query;
  query.playerName = form.player;
  if (form.civId > 0) query.civId = form.civId;
  query.map = form.map;
  if (form.result == SearchForm::Result::kWon) query.outcome = PlayerOutcome::kWon;
  if (form.result == SearchForm::Result::kLost) query.outcome = PlayerOutcome::kLost;
  if (form.from.find_first_not_of(' ') != std::string::npos) {
    const auto days = daysOf(form.from);
    if (!days) {
      problem = FormProblem::kBadFrom;
      return std::nullopt;
    }
    query.fromMs = days->first;
  }
  if (form.to.find_first_not_of(' ') != std::string::npos) {
    const auto days = daysOf(form.to);
    if (!days) {
      problem = FormProblem::kBadTo;
      return std::nullopt;
    }
    query.toMs = days->second;
  }
  query.under = under;
  return query;
}

ResultLine lineOf(const GameHit& game) {
  ResultLine line;
  line.playedMs = game.playedMs;
  line.durationMs = game.durationMs;
  line.date = dateText(game.playedMs);
  // Players by team label in order of first appearance; "-" is each alone.
  std::vector<std::vector<const HitPlayer*>> sides;
  std::map<std::string, std::size_t> sideOfTeam;
  for (const HitPlayer& player : game.players) {
    const bool alone = player.team.empty() || player.team == "-";
    const auto known = sideOfTeam.find(player.team);
    if (!alone && known != sideOfTeam.end()) {
      sides[known->second].push_back(&player);
      continue;
    }
    if (!alone) sideOfTeam.emplace(player.team, sides.size());
    sides.push_back({&player});
  }
  for (std::size_t s = 0; s < sides.size(); ++s) {
    if (s > 0) {
      line.players += " vs ";
      line.actions += " vs ";
      line.counts += " vs ";
    }
    for (std::size_t k = 0; k < sides[s].size(); ++k) {
      const HitPlayer& player = *sides[s][k];
      if (k > 0) {
        line.players += ", ";
        line.actions += ", ";
        line.counts += ", ";
      }
      if (player.actionsPerMinute) {
        line.actions += std::to_string(std::lround(*player.actionsPerMinute));
        line.highestActions = std::max(line.highestActions.value_or(0.0), *player.actionsPerMinute);
      } else {
        line.actions += "-";
      }
      line.counts += std::to_string(player.buildings) + "/" + std::to_string(player.units) + "/" +
                     std::to_string(player.technologies);
      line.countsTotal += int64_t{player.buildings} + player.units + player.technologies;
      line.players += player.name;
      const std::string civ = civilisationNameInJapanese(player.civId);
      if (!civ.empty()) line.players += " (" + civ + ")";
      line.players += outcomeMark(player.outcome);
    }
  }
  const std::string_view japanese = japaneseMapName(game.mapNameById).utf8;
  line.map = !game.mapType.empty() ? game.mapType
             : !japanese.empty()    ? std::string(japanese)
                                    : game.mapNameById;
  line.length = clockText(game.durationMs);
  int copies = 0;
  for (const HitRecording& recording : game.recordings) {
    line.paths.push_back(recording.path);
    if (recording.copy) {
      ++copies;
      continue;
    }
    if (line.firstPath.empty()) line.firstPath = recording.path;
    const std::size_t slash = recording.path.find_last_of("/\\");
    if (!line.recordings.empty()) line.recordings += ", ";
    line.recordings += slash == std::string::npos ? recording.path : recording.path.substr(slash + 1);
  }
  if (copies > 0) line.recordings += " (\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC " + std::to_string(copies) + ")";
  line.tip = tipOf(game);
  return line;
}

SearchPage searchGames(Archive& archive, const SearchForm& form, const std::string& under,
                       std::size_t limit) {
  SearchPage page;
  std::optional<SearchQuery> query = queryOf(form, under, page.problem);
  if (!query) return page;
  query->limit = limit;
  SearchResult result = archive.search(*query);
  page.games = std::move(result.games);
  page.more = result.more;
  for (const GameHit& game : page.games) page.lines.push_back(lineOf(game));
  return page;
}

ResultOrder orderAfterClick(ResultOrder current, ResultColumn clicked) {
  if (clicked == current.column) return {clicked, !current.descending};
  const bool byNumber = clicked == ResultColumn::kDate || clicked == ResultColumn::kLength ||
                        clicked == ResultColumn::kActions || clicked == ResultColumn::kCounts;
  return {clicked, byNumber};
}

void sortLines(std::vector<ResultLine>& lines, ResultOrder order) {
  const auto textOf = [&](const ResultLine& line) -> const std::string& {
    switch (order.column) {
      case ResultColumn::kPlayers:
        return line.players;
      case ResultColumn::kMap:
        return line.map;
      default:
        return line.recordings;
    }
  };
  // Each key once, not at every comparison.
  struct Keyed {
    int64_t number = 0;
    std::string text;
    std::size_t at = 0;
  };
  std::vector<Keyed> keys(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    keys[i].at = i;
    if (order.column == ResultColumn::kDate) {
      keys[i].number = lines[i].playedMs;
    } else if (order.column == ResultColumn::kLength) {
      keys[i].number = lines[i].durationMs;
    } else if (order.column == ResultColumn::kActions) {
      // Tenths, and a game whose walk named no one below any that did.
      const auto& actions = lines[i].highestActions;
      keys[i].number = actions ? std::llround(*actions * 10) : -1;
    } else if (order.column == ResultColumn::kCounts) {
      keys[i].number = lines[i].countsTotal;
    } else {
      keys[i].text = foldForSearch(textOf(lines[i]));
    }
  }
  std::stable_sort(keys.begin(), keys.end(), [&](const Keyed& a, const Keyed& b) {
    const Keyed& first = order.descending ? b : a;
    const Keyed& second = order.descending ? a : b;
    if (first.number != second.number) return first.number < second.number;
    return first.text < second.text;
  });
  std::vector<ResultLine> sorted;
  sorted.reserve(lines.size());
  for (const Keyed& key : keys) sorted.push_back(std::move(lines[key.at]));
  lines = std::move(sorted);
}

}  // namespace morvane::archive
