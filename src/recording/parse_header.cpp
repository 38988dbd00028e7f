// parseHeader: the four stages in their order over one loaded recording.
#include "recording/header_stages.h"
#include "recording/recorded_game_file.h"

namespace morvane {
namespace {

const char kMapTypeNotFound[] = "\x95\x73\x96\xBE";  // "unknown" in code page 932
const char kScenarioMapName[] = "scenario";

}  // namespace

GameVersion RecordedGameFile::version() const {
  return readGameVersion(ByteSpan(headerBytes_.data(), static_cast<std::size_t>(headerLength_)),
                         ByteSpan(bodyBytes_.data(), bodyBytes_.size()));
}

void RecordedGameFile::parseHeader(GameEntry& entry) const {
  const ByteSpan header(headerBytes_.data(), static_cast<std::size_t>(headerLength_));
  if (header.size() == 0) {
    entry.mapWidth = 0;
    entry.mapHeight = 0;
    return;
  }
  const ByteSpan body(bodyBytes_.data(), bodyBytes_.size());
  const PlayerListPositions list = parsePlayers(header, layoutFor(version()), entry);

  const std::string mapType = findMapTypeText(header);
  entry.mapName = mapType.empty() ? kMapTypeNotFound : mapType;

  const TeamWalk teams = parseTeams(header, list.listEnd, entry);
  if (teams.scenarioRecordCount > 0) entry.mapName = kScenarioMapName;

  // When the walk lost its way, the chat still lies after the player list.
  const int64_t chatStart = teams.reached ? teams.chatScanStart : list.listEnd;
  entry.lobbyChat = filterChat(collectHeaderChat(header, chatStart));
  entry.gameChat = filterChat(collectBodyChat(body));
}

}  // namespace morvane
