// parseHeader: the four stages in their order over one loaded recording;
// parseGame adds the facts read at the positions the stages found.
#include "recording/body_walk.h"
#include "recording/code_page.h"
#include "recording/de_chat.h"
#include "recording/de_header.h"
#include "recording/de_lobby_chat.h"
#include "recording/game_objects.h"
#include "recording/game_result.h"
#include "recording/hd_profiles.h"
#include "recording/header_settings.h"
#include "recording/header_stages.h"
#include "recording/map_id.h"
#include "recording/map_names.h"
#include "recording/player_records.h"
#include "recording/post_game.h"
#include "recording/recorded_game_file.h"

namespace morvane {
namespace {

const char kScenarioMapName[] = "scenario";

Seats seatsOf(ByteSpan header, const PlayerListPositions& list, const TeamWalk& teams,
              const GameEntry& entry) {
  Seats seats;
  for (std::size_t k = 1; k < seats.size(); ++k) {
    seats[k].player = entry.playerNumbers[k];
    seats[k].spectator = list.playerTypes[k] == kSpectatorType;
    if (teams.reached) {
      seats[k].team = header.u8(teams.teamBytes + static_cast<int64_t>(k) - 1);
    }
  }
  return seats;
}

// The players who may speak in the chat: the block's, or the list's where
// the block was not read.
ChatSpeakers speakersOf(const DefinitiveHeader& read, const GameEntry& entry) {
  ChatSpeakers speakers;
  const auto known = [](int32_t number) {
    return number >= 1 && static_cast<std::size_t>(number) < ChatSpeakers::kNumbers;
  };
  if (read.block) {
    for (const DefinitivePlayer& player : read.block->players) {
      if (!known(player.number) || !speakers.names[player.number].empty()) continue;
      speakers.names[player.number] = player.name;
      speakers.teams[player.number] = player.team;
    }
    return speakers;
  }
  for (std::size_t k = 1; k < GameEntry::kPositions; ++k) {
    const int32_t number = entry.playerNumbers[k];
    if (known(number) && speakers.names[number].empty()) speakers.names[number] = entry.playerNames[k];
  }
  return speakers;
}

// The Definitive Edition: its own block gives the players, teams and
// settings; its chat is read from the body's messages by their structure.
void parseDefinitive(ByteSpan header, ByteSpan body, int64_t bodyOffset, const HeaderLayout& layout,
                     GameEntry& entry, bool withFacts) {
  constexpr int32_t kUtf8 = 65001;
  const DefinitiveHeader read = parseDefinitiveHeader(header, layout.definitive, entry);
  std::string mapType = findMapTypeText(header);
  // A map the lobby's id does not name is known by its script's file name;
  // a built-in map keeps the name its id gives.
  if (mapType.empty() && read.block &&
      builtInMapName(read.block->mapId, VersionFamily::kDE).empty())
    mapType = read.block->customMapName;
  entry.mapName = mapType.empty() ? kMapTypeNotFound : mapType;
  const ChatSpeakers speakers = speakersOf(read, entry);
  entry.lobbyChat.clear();
  if (read.block) {
    if (const auto lobby = findDefinitiveLobbyChat(header, layout.definitive, *read.block)) {
      entry.lobbyChat = filterChat(collectDefinitiveChat(header, *lobby, speakers));
    }
  }
  BodyLayout bodyLayout = layout.body;
  if (read.block) applyDefinitiveBuild(read.block->build, bodyLayout);
  const BodyWalk walk = walkBody(body, bodyOffset, bodyLayout);
  entry.gameChat = filterChat(collectDefinitiveChat(body, walk.chat, speakers));
  if (!withFacts) return;

  GameFacts& facts = entry.facts.write();
  facts = GameFacts();
  facts.restoredAtMs = read.restoredAtMs;
  facts.durationMs = facts.restoredAtMs + walk.durationMs;
  facts.stop = walk.stop;
  facts.codePage = kUtf8;
  Seats seats;
  if (read.block) {
    const auto& players = read.block->players;
    for (std::size_t k = 1; k < seats.size() && k <= players.size(); ++k) {
      seats[k].player = entry.playerNumbers[k];
      seats[k].team = players[k - 1].team;
      if (entry.playerNumbers[k] != 0) {
        facts.profileIds.emplace(entry.playerNumbers[k], players[k - 1].profileId);
      }
    }
    facts.settings = read.block->settings;
    facts.mapId = read.block->mapId;
    facts.definitiveBuild = read.block->build;
    facts.playedAt = read.block->playedAt;
    facts.gameGuid = read.block->gameId;
  }
  const int64_t gameData = read.block && read.mapRead ? read.block->end : 0;
  facts.objects = readStartingObjects(header, layout, gameData, 0, entry, facts.restored());
  readDefinitiveStarts(header, layout.definitive, gameData, entry);
  facts.startPositions = startPositionsOf(facts.objects, entry);
  settleResult(walk, std::nullopt, seats, facts);
  facts.ageUps = lastAgeClicks(walk.ageClicks, facts.restoredAtMs, seats);
  facts.gameChatTimesMs = definitiveChatTimes(body, walk, facts.restoredAtMs, speakers);
  facts.syncChecksums = walk.syncChecksums;
}

CodePageSignals codePageSignals(VersionFamily family, const MapTypeLine& mapType,
                                const GameEntry& entry) {
  CodePageSignals signals;
  signals.family = family;
  signals.mapTypeLabel = mapType.codePage;
  signals.texts.push_back(mapType.text);
  for (const std::string& name : entry.playerNames) signals.texts.push_back(name);
  signals.texts.push_back(entry.lobbyChat);
  signals.texts.push_back(entry.gameChat);
  return signals;
}

}  // namespace

GameVersion RecordedGameFile::version() const {
  GameVersion version =
      readGameVersion(ByteSpan(headerBytes_.data(), static_cast<std::size_t>(headerLength_)),
                      ByteSpan(bodyBytes_.data(), bodyBytes_.size()));
  if (layoutRefused_) version.supported = false;
  return version;
}

void RecordedGameFile::parseHeader(GameEntry& entry) const { parse(entry, false); }

void RecordedGameFile::parseGame(GameEntry& entry) const { parse(entry, true); }

void RecordedGameFile::parse(GameEntry& entry, bool withFacts) const {
  const ByteSpan header(headerBytes_.data(), static_cast<std::size_t>(headerLength_));
  if (header.size() == 0) {
    entry.mapWidth = 0;
    entry.mapHeight = 0;
    return;
  }
  const ByteSpan body(bodyBytes_.data(), bodyBytes_.size());
  const GameVersion gameVersion = version();
  const HeaderLayout layout = layoutFor(gameVersion);
  if (gameVersion.family == VersionFamily::kDE) {
    parseDefinitive(header, body, bodyOffset_, layout, entry, withFacts);
    if (withFacts) entry.facts.write().version = gameVersion;
    return;
  }
  const PlayerListPositions list = parsePlayers(header, layout, entry);

  const MapTypeLine mapType = findMapTypeLine(header);
  entry.mapName = mapType.text.empty() ? kMapTypeNotFound : mapType.text;

  const TeamWalk teams = parseTeams(header, list.listEnd, entry);
  if (teams.scenarioRecordCount > 0) entry.mapName = kScenarioMapName;

  // When the walk lost its way, the chat still lies after the player list.
  const int64_t chatStart = teams.reached ? teams.chatScanStart : list.listEnd;
  entry.lobbyChat = filterChat(collectHeaderChat(header, chatStart));
  entry.gameChat = filterChat(collectBodyChat(body));
  if (!withFacts) return;

  GameFacts& facts = entry.facts.write();
  facts = GameFacts();
  facts.version = gameVersion;
  const BodyWalk walk = walkBody(body, bodyOffset_, layout.body);
  facts.restoredAtMs = readRestoreTime(header, list, entry.mapWidth, entry.mapHeight);
  facts.durationMs = facts.restoredAtMs + walk.durationMs;
  facts.stop = walk.stop;
  facts.objects =
      readStartingObjects(header, layout, list.tilesEnd, list.listEnd, entry, facts.restored());
  facts.startPositions = startPositionsOf(facts.objects, entry);
  std::optional<PostGame> postGame;
  if (walk.postGameAt) postGame = readPostGame(body, *walk.postGameAt, walk.postGameBytes);
  const Seats seats = seatsOf(header, list, teams, entry);
  settleResult(walk, postGame, seats, facts);
  facts.ageUps = lastAgeClicks(walk.ageClicks, facts.restoredAtMs, seats);
  if (postGame) readPlayerRecords(*postGame, seats, facts);
  facts.settings = readSettings(header, layout, list, teams, entry.playerCount);
  facts.mapId = readMapId(header, layout, list);
  // A map played from its own script: the lobby names its file, and its id
  // names no built-in map (a built-in map's lobby may keep the file last
  // chosen).
  if (list.lobby && (!facts.mapId || builtInMapName(*facts.mapId, gameVersion.family).empty()))
    facts.mapScript = std::string(scriptMapName(list.lobby->mapFile));
  if (list.lobby) {
    facts.hdProfiles = hdProfilesOf(*list.lobby);
    facts.gameGuid = list.lobby->gameId;
  }
  facts.syncChecksums = walk.syncChecksums;
  facts.codePage = findCodePage(codePageSignals(gameVersion.family, mapType, entry));
  facts.gameChatTimesMs = bodyChatTimes(body, walk, facts.restoredAtMs);
}

}  // namespace morvane
