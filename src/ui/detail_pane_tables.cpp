#include "ui/detail_pane_tables.h"

namespace morvane::ui {

// Ids 19 and up were added by community patches and later editions.
const char* const civAbbreviations[kCivilisations] = {
    "",    "Bri", "Fra", "Got", "Teu", "Jap", "Chi", "Byz", "Per", "Sar", "Tur",
    "Vik", "Mon", "Cel", "Spa", "Azt", "May", "Hun", "Kor", "Ita", "Ind", "Inc",
    "Mag", "Sla", "Por", "Eth", "Mal", "Ber", "Khm", "Mly", "Bur", "Vie",
};

const COLORREF slotColours[kSlotColours] = {
    0x000000, 0xC00000, 0x0000E0, 0x00C000, 0x00C0C0, 0xC0C000, 0x8000C0, 0x808080, 0x0080FF,
};

std::string civilisationText(int32_t civId) {
  if (civId < 0 || civId >= kCivilisations) return {};
  return civAbbreviations[civId];
}

COLORREF slotColour(int32_t index) {
  if (index < 0 || index >= kSlotColours) return slotColours[0];
  return slotColours[index];
}

const PlayerSlot* slotOfPosition(const GameEntry& entry, int position) {
  const int32_t number = entry.playerNumbers[static_cast<std::size_t>(position)];
  if (number < 0 || number >= GameEntry::kPositions) return nullptr;
  return &entry.slots[static_cast<std::size_t>(number)];
}

int32_t slotColourIndex(const GameEntry& entry, int position) {
  const PlayerSlot* slot = slotOfPosition(entry, position);
  // colourId + 1 must stay inside the colour table; anything else is black.
  if (slot == nullptr || slot->colourId < -1 || slot->colourId >= kSlotColours - 1) return 0;
  return slot->colourId + 1;
}

std::string chatText(const GameEntry& entry) {
  return entry.lobbyChat + gameStartSeparator + entry.gameChat;
}

}  // namespace morvane::ui
