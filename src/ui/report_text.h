// The report model's texts in the interface's language: the labels of the
// facts, the names of the settings' choices, the players' cells, the chat,
// and the whole report as plain text. All in UTF-8, as the model's texts
// are: the window shows them through the wide calls.
#pragma once

#include <string>
#include <vector>

#include "library/game_report.h"

namespace morvane::ui {

// Name, civilisation, team, result, the three ages, score, rating, actions
// per minute.
inline constexpr int kPlayerColumns = 7 + kAges;

std::string playerHeading(int column);
std::string playerCell(const ReportPlayer& player, int column);

std::string factLabel(ReportFact fact);
std::string factValue(const ReportLine& line);

// What the window says instead of a report; empty for a game.
std::string stateText(const GameReport& report);

// The line between the lobby's chat and the game's: the detail pane's is
// wider than the report's chat box, where it would wrap.
inline constexpr char reportGameStartLine[] = "-------<Game start>-------\r\n";

// The chat as the chat box shows it: the lobby's lines, the game start's
// line, then the game's, each after its game time where it has one
// ("[0:12:34] text"), every line ending with "\r\n".
std::string chatText(const GameReport& report);

// One column of the build orders: the positions that share a player number
// ("Ann / Cy"), in the first one's colour, and its steps.
struct BuildOrderColumn {
  std::string heading;
  int32_t colourIndex = 0;
  const ReportPlayer* player = nullptr;
};
std::vector<BuildOrderColumn> buildOrderColumns(const GameReport& report);

// The build orders as the window's list shows them, at most `across` players
// side by side: a row of their headings, a row per step, an empty row, then
// the next players the same way, so that eight players need no scrolling
// across. Each cell in its player's colour.
struct BuildOrderCell {
  std::string text;
  int32_t colourIndex = 0;
};
using BuildOrderGrid = std::vector<std::vector<BuildOrderCell>>;
BuildOrderGrid buildOrderGrid(const std::vector<BuildOrderColumn>& columns, int across);

// The report as lines: the file's name, the facts, then a heading and one
// tab-separated line per player, then, where the report has the play, each
// player's actions per minute and build order, then the chat.
std::string reportText(const GameReport& report);

}  // namespace morvane::ui
