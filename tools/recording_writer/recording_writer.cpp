#include "recording_writer/recording_writer.h"

#include <zlib.h>

#include <cstdio>

#include "platform/file_access.h"

namespace morvane::fixtures {

std::vector<uint8_t> rawDeflate(const std::vector<uint8_t>& bytes, int level) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 16);
  stream.next_in = const_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  const auto produced = static_cast<std::size_t>(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) return {};
  out.resize(produced);
  return out;
}

std::vector<uint8_t> containerBytes(Layout layout, const std::vector<uint8_t>& compressedHeader,
                                    const std::vector<uint8_t>& body) {
  ByteWriter out;
  const int64_t prefix = layout == Layout::kMgx ? 8 : 4;
  out.u32(static_cast<uint32_t>(prefix + static_cast<int64_t>(compressedHeader.size())));
  if (layout == Layout::kMgx) out.u32(0x5A5A5A5A);  // read by nobody
  out.raw(compressedHeader);
  out.raw(body);
  return out.take();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = platform::openFile(path, "wb");
  if (!file) return false;
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* file = platform::openFile(path, "rb");
  if (!file) return bytes;
  uint8_t chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  std::fclose(file);
  return bytes;
}

bool writeRecording(const std::string& path, const std::vector<uint8_t>& header,
                    const std::vector<uint8_t>& body, Layout layout) {
  const std::vector<uint8_t> compressed = rawDeflate(header);
  if (compressed.empty()) return false;
  return writeFile(path, containerBytes(layout, compressed, body));
}

bool writeSampleGame(const std::string& path, const SampleGame& game, Layout layout) {
  return writeRecording(path, buildHeader(game).bytes, buildBody(game), layout);
}

}  // namespace morvane::fixtures
