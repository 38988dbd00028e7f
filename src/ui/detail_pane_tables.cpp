#include "ui/detail_pane_tables.h"

namespace morvane::ui {

// Ids 19 and up were added by community patches and later editions.
const char* const civAbbreviations[kCivilisations] = {
    "",    "Bri", "Fra", "Got", "Teu", "Jap", "Chi", "Byz", "Per", "Sar", "Tur",
    "Vik", "Mon", "Cel", "Spa", "Azt", "May", "Hun", "Kor", "Ita", "Ind", "Inc",
    "Mag", "Sla", "Por", "Eth", "Mal", "Ber", "Khm", "Mly", "Bur", "Vie",
};

std::string civilisationText(int32_t civId) {
  if (civId < 0 || civId >= kCivilisations) return {};
  return civAbbreviations[civId];
}

COLORREF slotColour(int32_t index) {
  const Rgb colour = morvane::slotColour(index);
  return RGB(colour.red, colour.green, colour.blue);
}

const PlayerSlot* slotOfPosition(const GameEntry& entry, int position) {
  const int32_t number = entry.playerNumbers[static_cast<std::size_t>(position)];
  if (number < 0 || number >= GameEntry::kPositions) return nullptr;
  return &entry.slots[static_cast<std::size_t>(number)];
}

int32_t slotColourIndex(const GameEntry& entry, int position) {
  const PlayerSlot* slot = slotOfPosition(entry, position);
  return slot == nullptr ? 0 : slotColourIndexOf(slot->colourId);
}

std::string chatText(const GameEntry& entry) {
  return entry.lobbyChat + gameStartSeparator + entry.gameChat;
}

}  // namespace morvane::ui
