#include "library/civilisation_names.h"

#include <iterator>

namespace morvane {
namespace {

// By civId; ids 19 and up came with community patches and the later editions
// in this order. The newest edition calls id 20 Hindustanis.
constexpr const char* kNames[] = {
    "",           "Britons",    "Franks",      "Goths",       "Teutons",    "Japanese",
    "Chinese",    "Byzantines", "Persians",    "Saracens",    "Turks",      "Vikings",
    "Mongols",    "Celts",      "Spanish",     "Aztecs",      "Mayans",     "Huns",
    "Koreans",    "Italians",   "Indians",     "Incas",       "Magyars",    "Slavs",
    "Portuguese", "Ethiopians", "Malians",     "Berbers",     "Khmer",      "Malay",
    "Burmese",    "Vietnamese", "Bulgarians",  "Tatars",      "Cumans",     "Lithuanians",
    "Burgundians", "Sicilians", "Poles",       "Bohemians",   "Dravidians", "Bengalis",
    "Gurjaras",   "Romans",     "Armenians",   "Georgians",
};

}  // namespace

std::string civilisationName(int32_t civId) {
  if (civId >= 0 && civId < static_cast<int32_t>(std::size(kNames))) return kNames[civId];
  return "#" + std::to_string(civId);
}

}  // namespace morvane
