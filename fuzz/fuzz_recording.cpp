// Loads every input as a recorded game and parses it. Besides the
// sanitizers, it stops on a broken promise of the reader: a temporary file
// left behind, or an entry outside its own limits.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"

namespace {

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

const morvane::fixtures::TempFolder& folder() {
  static const morvane::fixtures::TempFolder instance;
  return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace morvane;
  require(folder().ok(), "a temporary folder");
  const fuzzing::DecodedInput input = fuzzing::decodeInput(data, size);
  const std::string path = folder().file(input.mgl ? "game.mgl" : "game.mgx");
  if (!fixtures::writeFile(path, input.file)) return 0;

  RecordedGameFile file;
  const bool loaded = file.load(path);
  require(!std::filesystem::exists(path + ".tmp1"), "the temporary file is removed");
  require(loaded == (file.lastError() == LoadError::kNone), "a reason for every false load");
  if (!loaded) return 0;
  require(file.headerLength() == static_cast<int32_t>(file.headerBytes().size()),
          "headerLength matches the header");
  require(file.bodyLength() == static_cast<int32_t>(file.bodyBytes().size()),
          "bodyLength matches the body");

  GameEntry entry;
  file.parseHeader(entry);
  if (file.headerLength() > 0) require(!entry.mapName.empty(), "a parsed game has a map name");
  for (const PlayerSlot& slot : entry.slots) require(slot.name[255] == '\0', "slot names end");
  for (const std::string& name : entry.playerNames) require(name.size() <= 255, "names fit");
  return 0;
}
