#include "recording/map_id.h"

namespace morvane {

std::optional<int32_t> readMapId(ByteSpan header, const HeaderLayout& layout,
                                 const PlayerListPositions& list) {
  if (layout.optionalBlock.afterLobbyBlock) {
    if (!list.lobby) return std::nullopt;
    return list.lobby->settings.mapId;
  }
  if (!layout.nameList.mapId || list.listStart <= 0) return std::nullopt;
  return header.i32(list.listStart + *layout.nameList.mapId);
}

}  // namespace morvane
