// Writes recorded-game files for tests, fuzz seeds and demo folders: the
// container (body offset, .mgx's skipped field, raw-deflated header, body)
// around headers made with HeaderBuilder / SampleGame and bodies made with
// BodyBuilder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "recording_writer/body_builder.h"
#include "recording_writer/byte_writer.h"
#include "recording_writer/header_builder.h"
#include "recording_writer/sample_game.h"
#include "recording_writer/temp_folder.h"

namespace morvane::fixtures {

enum class Layout {
  kMgx,  // uint32 bodyOffset, 4 skipped bytes, compressed header, body
  kMgl,  // uint32 bodyOffset, compressed header, body
};

// A raw deflate stream (no zlib wrapper) of bytes; empty on a zlib failure.
std::vector<uint8_t> rawDeflate(const std::vector<uint8_t>& bytes, int level = 6);

// The file bytes around an already compressed header. bodyOffset is the
// length of everything before the body.
std::vector<uint8_t> containerBytes(Layout layout, const std::vector<uint8_t>& compressedHeader,
                                    const std::vector<uint8_t>& body);

// Paths are exact (platform/exact_path.h), so that a test can name a file
// with characters outside the code page.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Empty when the file cannot be read.
std::vector<uint8_t> readFile(const std::string& path);

// Deflates header and writes the whole file; false on any failure.
bool writeRecording(const std::string& path, const std::vector<uint8_t>& header,
                    const std::vector<uint8_t>& body, Layout layout = Layout::kMgx);
inline bool writeMglRecording(const std::string& path, const std::vector<uint8_t>& header,
                              const std::vector<uint8_t>& body) {
  return writeRecording(path, header, body, Layout::kMgl);
}

// A whole sample game at path.
bool writeSampleGame(const std::string& path, const SampleGame& game, Layout layout = Layout::kMgx);

}  // namespace morvane::fixtures
