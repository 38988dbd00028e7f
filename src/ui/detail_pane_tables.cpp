#include "ui/detail_pane_tables.h"

#include "library/civilisation_names.h"

namespace morvane::ui {

std::string civilisationText(int32_t civId) { return civilisationAbbreviation(civId); }

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
