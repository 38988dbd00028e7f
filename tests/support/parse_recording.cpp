#include "support/parse_recording.h"

#include "recording_writer/recording_writer.h"
#include "recording_writer/temp_folder.h"

namespace morvane::fixtures {

ParsedRecording parseRecording(const std::vector<uint8_t>& header, const std::vector<uint8_t>& body,
                               GameEntry start, bool withFacts) {
  ParsedRecording result;
  result.entry = std::move(start);
  TempFolder folder;
  const std::string path = folder.file("game.mgx");
  result.written = folder.ok() && writeRecording(path, header, body);
  if (!result.written) return result;
  RecordedGameFile file;
  result.loaded = file.load(path);
  result.error = file.lastError();
  if (!result.loaded) return result;
  result.version = file.version();
  withFacts ? file.parseGame(result.entry) : file.parseHeader(result.entry);
  return result;
}

ParsedRecording parseSampleGame(const SampleGame& game, bool withFacts) {
  return parseRecording(buildHeader(game).bytes, buildBody(game), {}, withFacts);
}

}  // namespace morvane::fixtures
