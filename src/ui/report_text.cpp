#include "ui/report_text.h"

#include <algorithm>
#include <cmath>

#include "platform/exact_path_win32.h"
#include "recording/setting_names.h"
#include "resource.h"
#include "ui/detail_pane_tables.h"
#include "ui/resource_text.h"

namespace morvane::ui {
namespace {

struct FactText {
  UINT label;
  UINT firstChoice;  // 0 for a fact without choices
};

// By ReportFact.
constexpr FactText kFactTexts[kReportFacts] = {
    {IDS_REPORT_PLAYED_AT, 0},
    {IDS_TIP_LENGTH, 0},
    {IDS_REPORT_VERSION, 0},
    {IDS_COLUMN_MAP, 0},
    {IDS_TIP_MAP_SIZE, IDS_MAP_SIZE_FIRST},
    {IDS_TIP_SPEED, IDS_SPEED_FIRST},
    {IDS_TIP_POPULATION, 0},
    {IDS_TIP_REVEAL_MAP, IDS_REVEAL_MAP_FIRST},
    {IDS_TIP_STARTING_AGE, IDS_AGE_FIRST},
    {IDS_TIP_VICTORY, IDS_VICTORY_FIRST},
    {IDS_TIP_DIFFICULTY, IDS_DIFFICULTY_FIRST},
    {IDS_TIP_LOCK_TEAMS, IDS_REPORT_NO},
    {IDS_REPORT_RESTORED_AT, 0},
};

// The resources are in the ANSI code page.
std::string utf8Resource(UINT id) {
  return platform::exactFromWide(platform::wideFromAnsi(loadResourceString(id)));
}

constexpr int kApmColumn = 6 + kAges;

// Whole actions: a tenth of one tells nobody anything.
std::string apmText(const ReportPlayer& player) {
  if (!player.actionsPerMinute) return {};
  return std::to_string(static_cast<long long>(std::lround(*player.actionsPerMinute)));
}

const FactText& textOf(ReportFact fact) { return kFactTexts[static_cast<int>(fact)]; }

std::string resultText(const ReportPlayer& player) {
  switch (player.result) {
    case PlayerResult::kWon:
      return utf8Resource(IDS_REPORT_WON);
    case PlayerResult::kResigned:
      return utf8Resource(IDS_REPORT_RESIGNED) + " " + clockText(player.resignedAtMs);
    case PlayerResult::kNone:
      break;
  }
  return {};
}

}  // namespace

std::string playerHeading(int column) {
  if (column == kApmColumn) return utf8Resource(IDS_REPORT_APM);
  return utf8Resource(IDS_REPORT_COLUMN_FIRST + static_cast<UINT>(column));
}

std::string playerCell(const ReportPlayer& player, int column) {
  switch (column) {
    case 0:
      return player.name;
    case 1:
      return player.civilisation;
    case 2:
      return player.team;
    case 3:
      return resultText(player);
    case 4 + kAges:
      return player.score;
    case 5 + kAges:
      return player.rating;
    case kApmColumn:
      return apmText(player);
    default:
      if (column >= 4 && column < 4 + kAges)
        return player.ages[static_cast<std::size_t>(column - 4)];
      return {};
  }
}

std::string factLabel(ReportFact fact) { return utf8Resource(textOf(fact).label); }

std::string factValue(const ReportLine& line) {
  const FactText& text = textOf(line.fact);
  std::string value;
  if (line.choice >= 0 && text.firstChoice != 0)
    value = utf8Resource(text.firstChoice + static_cast<UINT>(line.choice));
  return value + line.text;
}

std::string stateText(const GameReport& report) {
  switch (report.state) {
    case ReportState::kFolder:
      return utf8Resource(IDS_REPORT_FOLDER);
    case ReportState::kNotLoaded:
      return utf8Resource(IDS_REPORT_NOT_LOADED);
    case ReportState::kUnknownEdition:
      return utf8Resource(IDS_REPORT_UNKNOWN_EDITION) + " (" + report.version + ")";
    case ReportState::kGame:
      break;
  }
  return {};
}

std::string chatText(const GameReport& report) {
  std::string text;
  bool inGame = false;
  for (const ReportChat& line : report.chat) {
    if (line.inGame && !inGame) text += reportGameStartLine;
    inGame = line.inGame;
    if (line.timeMs) text += "[" + clockText(*line.timeMs) + "] ";
    text += line.text + "\r\n";
  }
  if (!inGame && report.state == ReportState::kGame) text += reportGameStartLine;
  return text;
}

std::string reportText(const GameReport& report) {
  std::string text = report.fileName + "\r\n";
  if (report.state != ReportState::kGame) return text + stateText(report) + "\r\n";
  for (const ReportLine& line : report.facts)
    text += factLabel(line.fact) + ": " + factValue(line) + "\r\n";
  text += "\r\n";
  for (int column = 0; column < kPlayerColumns; ++column)
    text += (column > 0 ? "\t" : "") + playerHeading(column);
  text += "\r\n";
  for (const ReportPlayer& player : report.players) {
    for (int column = 0; column < kPlayerColumns; ++column)
      text += (column > 0 ? "\t" : "") + playerCell(player, column);
    text += "\r\n";
  }
  if (report.hasPlay) {
    text += "\r\n" + utf8Resource(IDS_REPORT_BUILD_ORDER) + "\r\n";
    for (const BuildOrderColumn& column : buildOrderColumns(report)) {
      text += column.heading + " (" + utf8Resource(IDS_REPORT_APM) + " " + apmText(*column.player) +
              ")\r\n";
      for (const std::string& step : column.player->buildOrderText) text += "\t" + step + "\r\n";
    }
  }
  if (!report.chat.empty()) text += "\r\n" + chatText(report);
  return text;
}

std::vector<BuildOrderColumn> buildOrderColumns(const GameReport& report) {
  std::vector<BuildOrderColumn> columns;
  for (const ReportPlayer& player : report.players) {
    if (player.playerNumber < 0) continue;
    auto same = std::find_if(columns.begin(), columns.end(), [&](const BuildOrderColumn& column) {
      return column.player->playerNumber == player.playerNumber;
    });
    if (same != columns.end()) {
      same->heading += " / " + player.name;
    } else {
      columns.push_back({player.name, player.colourIndex, &player});
    }
  }
  return columns;
}

BuildOrderGrid buildOrderGrid(const std::vector<BuildOrderColumn>& columns, int across) {
  BuildOrderGrid grid;
  const std::size_t width = static_cast<std::size_t>(std::max(across, 1));
  for (std::size_t first = 0; first < columns.size(); first += width) {
    const std::size_t end = std::min(first + width, columns.size());
    if (first > 0) grid.emplace_back(width);
    std::vector<BuildOrderCell>& headings = grid.emplace_back(width);
    std::size_t steps = 0;
    for (std::size_t c = first; c < end; ++c) {
      headings[c - first] = {columns[c].heading, columns[c].colourIndex};
      steps = std::max(steps, columns[c].player->buildOrderText.size());
    }
    for (std::size_t step = 0; step < steps; ++step) {
      std::vector<BuildOrderCell>& row = grid.emplace_back(width);
      for (std::size_t c = first; c < end; ++c) {
        const std::vector<std::string>& text = columns[c].player->buildOrderText;
        if (step < text.size()) row[c - first] = {text[step], columns[c].colourIndex};
      }
    }
  }
  return grid;
}

}  // namespace morvane::ui
