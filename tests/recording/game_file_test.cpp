// Container checks, header inflation and the temporary file of load().
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace morvane {
namespace {

using fixtures::ByteWriter;
using fixtures::Layout;
using fixtures::TempFolder;

std::vector<uint8_t> patternBytes(std::size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes(count);
  for (uint8_t& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 23);
  }
  return bytes;
}

// A header of pattern bytes that states no version text, which the reader
// keeps the documented rules for; any other text would be refused.
std::vector<uint8_t> unversionedHeader(std::size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes = patternBytes(count, seed);
  std::fill(bytes.begin(), bytes.begin() + static_cast<long>(std::min<std::size_t>(count, 8)), 0);
  return bytes;
}

// Both places a header is inflated through keep the same bytes and refusals.
const struct {
  InflateTarget target;
  const char* name;
  bool writesBeside;
} kTargets[] = {{InflateTarget::kFileBesideGame, "file beside the game", true},
                {InflateTarget::kMemory, "memory", false}};

class GameFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.ok()); }

  std::string writeGame(const std::string& name, const std::vector<uint8_t>& header,
                        const std::vector<uint8_t>& body, Layout layout = Layout::kMgx) {
    const std::string path = folder.file(name);
    EXPECT_TRUE(fixtures::writeRecording(path, header, body, layout));
    return path;
  }

  std::string writeRaw(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = folder.file(name);
    EXPECT_TRUE(fixtures::writeFile(path, bytes));
    return path;
  }

  TempFolder folder;
  RecordedGameFile file;
};

TEST_F(GameFileTest, LoadsHeaderAndBodyByteForByte) {
  const auto header = unversionedHeader(300001, 1);
  const auto body = patternBytes(5000, 2);
  const std::string path = writeGame("a.mgx", header, body);
  namespace fs = std::filesystem;
  for (const auto& t : kTargets) {
    SCOPED_TRACE(t.name);
    // A file made and removed again moves the folder's time, set a year back
    // (where the library can: mingw's cannot set a folder's time).
    std::error_code ec;
    fs::last_write_time(folder.path(),
                        fs::last_write_time(folder.path()) - std::chrono::hours(24 * 365), ec);
    const fs::file_time_type stamped = fs::last_write_time(folder.path());
    ASSERT_TRUE(file.load(path, t.target));
    if (!ec) {
      EXPECT_EQ(fs::last_write_time(folder.path()) != stamped, t.writesBeside);
    }
    EXPECT_EQ(file.lastError(), LoadError::kNone);
    EXPECT_EQ(file.headerLength(), 300001);
    EXPECT_EQ(file.bodyLength(), 5000);
    EXPECT_EQ(file.headerBytes(), header);
    EXPECT_EQ(file.bodyBytes(), body);
    EXPECT_EQ(folder.listing(), "a.mgx") << "the temporary file must be gone";
  }
}

// A header whose version the table holds no row for is refused, its bytes
// kept so that the version can still be named; every held one loads.
TEST_F(GameFileTest, HeaderOfAVersionTheTableDoesNotHoldIsRefusedButKept) {
  const struct {
    const char* text;
    float save;
    std::optional<uint32_t> fixedPoint;  // after a save version of -1
    bool loads;
    const char* name;
  } rows[] = {
      {"VER 9.4", 11.76f, std::nullopt, true, "AoC 1.0c"},
      {"VER 9.4", 12.5f, std::nullopt, true, "HD"},
      {"VER 9.4", 12.51f, std::nullopt, false, "VER 9.4 12.51"},
      {"VER 9.4", -1.0f, 67u << 16, false, "DE 67.0"},
      {"VER 9.5", 11.76f, std::nullopt, false, "VER 9.5 11.76"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ByteWriter start;
    start.text(row.text);
    start.padTo(8);
    start.f32(row.save);
    if (row.fixedPoint) start.u32(*row.fixedPoint);
    std::vector<uint8_t> header = start.bytes();
    const auto rest = patternBytes(3000, 20);
    header.insert(header.end(), rest.begin(), rest.end());
    ByteWriter body;
    body.i32(4);
    EXPECT_EQ(file.load(writeGame("a.mgx", header, body.bytes())), row.loads);
    EXPECT_EQ(file.lastError(), row.loads ? LoadError::kNone : LoadError::kUnsupportedVersion);
    EXPECT_EQ(file.headerBytes(), header);
    EXPECT_EQ(file.version().supported, row.loads);
    EXPECT_EQ(versionName(file.version()), row.name);
  }
  // Refused at its first chunk: the rest is never inflated, so a stream cut
  // short after it is not even seen, and only that chunk is kept.
  ByteWriter start;
  start.text("VER 9.4");
  start.padTo(8);
  start.f32(-1.0f);
  start.u32(68u << 16);
  std::vector<uint8_t> header = start.bytes();
  const auto rest = patternBytes(400000, 21);
  header.insert(header.end(), rest.begin(), rest.end());
  const auto compressed = fixtures::rawDeflate(header);
  const std::vector<uint8_t> cut(compressed.begin(),
                                 compressed.begin() + static_cast<long>(compressed.size() / 2));
  const std::string path = writeRaw("b.mgx", fixtures::containerBytes(Layout::kMgx, cut, {1}));
  for (const auto& t : kTargets) {
    SCOPED_TRACE(t.name);
    EXPECT_FALSE(file.load(path, t.target));
    EXPECT_EQ(file.lastError(), LoadError::kUnsupportedVersion);
    EXPECT_EQ(file.headerLength(), static_cast<int32_t>(RecordedGameFile::kInflateChunk));
    EXPECT_EQ(versionName(file.version()), "DE 68.0");
  }
}

TEST_F(GameFileTest, BodyOffsetsOneToEightFail) {
  for (uint32_t offset = 1; offset <= 8; ++offset) {
    ByteWriter w;
    w.u32(offset);
    w.u32(0);
    w.raw(fixtures::rawDeflate({1, 2, 3}));
    EXPECT_FALSE(file.load(writeRaw("a.mgx", w.bytes()))) << offset;
    EXPECT_EQ(file.lastError(), LoadError::kBodyOffsetOutOfRange) << offset;
  }
}

// Some tools leave the body offset 0: the header's stream then runs from
// offset 8 to its end and the body is every byte after it.
TEST_F(GameFileTest, BodyOffsetZeroTakesTheBodyFromTheStreamsEnd) {
  const auto header = unversionedHeader(300001, 4);
  const auto body = patternBytes(5000, 5);
  auto bytes = fixtures::containerBytes(Layout::kMgx, fixtures::rawDeflate(header), body);
  bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0;
  ASSERT_TRUE(file.load(writeRaw("a.mgx", bytes))) << describe(file.lastError());
  EXPECT_EQ(file.headerBytes(), header);
  EXPECT_EQ(file.bodyLength(), 5000);
  EXPECT_EQ(file.bodyBytes(), body);

  bytes.resize(bytes.size() - body.size() - 10);  // the stream cut short
  EXPECT_FALSE(file.load(writeRaw("b.mgx", bytes)));
  EXPECT_EQ(file.lastError(), LoadError::kTruncatedHeader);
}

TEST_F(GameFileTest, BodyOffsetNineIsAcceptedButOneByteIsNoStream) {
  ByteWriter w;
  w.u32(9);
  w.u32(0);
  w.u8(0x03);  // the first byte of an empty final block, cut short
  EXPECT_FALSE(file.load(writeRaw("a.mgx", w.bytes())));
  EXPECT_NE(file.lastError(), LoadError::kBodyOffsetOutOfRange);
  EXPECT_NE(file.lastError(), LoadError::kNone);
  EXPECT_EQ(folder.listing(), "a.mgx");
}

TEST_F(GameFileTest, BodyOffsetPastFileLengthFails) {
  auto bytes = fixtures::containerBytes(Layout::kMgx, fixtures::rawDeflate({1, 2, 3}), {});
  bytes[0] = static_cast<uint8_t>(bytes.size() + 1);
  EXPECT_FALSE(file.load(writeRaw("a.mgx", bytes)));
  EXPECT_EQ(file.lastError(), LoadError::kBodyOffsetOutOfRange);
}

TEST_F(GameFileTest, HugeBodyOffsetFailsRatherThanWrapping) {
  auto bytes = fixtures::containerBytes(Layout::kMgx, fixtures::rawDeflate({1, 2, 3}), {});
  bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0xFF;
  EXPECT_FALSE(file.load(writeRaw("a.mgx", bytes)));
  EXPECT_EQ(file.lastError(), LoadError::kBodyOffsetOutOfRange);
}

TEST_F(GameFileTest, BodyOffsetEqualToFileLengthGivesEmptyBody) {
  const auto header = unversionedHeader(777, 4);
  ASSERT_TRUE(file.load(writeGame("a.mgx", header, {})));
  EXPECT_EQ(file.bodyLength(), 0);
  EXPECT_TRUE(file.bodyBytes().empty());
  EXPECT_EQ(file.headerBytes(), header);
}

TEST_F(GameFileTest, MglLayoutIsChosenByLastThreeBytesInAnyCase) {
  const auto header = unversionedHeader(2000, 5);
  const auto body = patternBytes(100, 6);
  for (const char* name : {"a.mgl", "b.MGL", "c.MgL", "dmgl"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(file.load(writeGame(name, header, body, Layout::kMgl)));
    EXPECT_EQ(file.headerBytes(), header);
    EXPECT_EQ(file.bodyBytes(), body);
  }
  for (const char* name : {"e.mgx", "f.MGX", "g.mgz", "h.dat", "i.mg"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(file.load(writeGame(name, header, body, Layout::kMgx)));
    EXPECT_EQ(file.headerBytes(), header);
    EXPECT_EQ(file.bodyBytes(), body);
  }
}

TEST_F(GameFileTest, MglFileNamedMgxIsNotReadAsMgl) {
  const auto header = unversionedHeader(2000, 7);
  const std::string path = writeGame("a.mgx", header, {}, Layout::kMgl);
  const bool loaded = file.load(path);
  EXPECT_FALSE(loaded && file.headerBytes() == header)
      << "an .mgx path skips 4 bytes after the body offset";
}

TEST_F(GameFileTest, HeaderOfExactChunkMultiplesLoadsCompletely) {
  for (int chunks : {1, 2, 3}) {
    const auto header = unversionedHeader(131072u * static_cast<unsigned>(chunks), 8);
    const std::string path = writeGame("a.mgx", header, {9, 9});
    for (const auto& t : kTargets) {
      SCOPED_TRACE(std::to_string(chunks) + " chunks, " + t.name);
      ASSERT_TRUE(file.load(path, t.target));
      EXPECT_EQ(file.headerLength(), 131072 * chunks);
      EXPECT_EQ(file.headerBytes(), header);
      EXPECT_EQ(file.bodyBytes(), (std::vector<uint8_t>{9, 9}));
    }
  }
}

TEST_F(GameFileTest, TruncatedStreamAnswersFalseAndLeavesNoTemporaryFile) {
  const auto compressed = fixtures::rawDeflate(unversionedHeader(200000, 9));
  const std::vector<uint8_t> half(compressed.begin(),
                                  compressed.begin() + static_cast<long>(compressed.size() / 2));
  const std::string path = writeRaw("a.mgx", fixtures::containerBytes(Layout::kMgx, half, {1}));
  for (const auto& t : kTargets) {
    SCOPED_TRACE(t.name);
    EXPECT_FALSE(file.load(path, t.target));
    EXPECT_EQ(file.lastError(), LoadError::kTruncatedHeader);
    EXPECT_EQ(folder.listing(), "a.mgx");
  }
}

TEST_F(GameFileTest, CorruptStreamAnswersFalse) {
  // Block type 3 does not exist.
  const std::vector<uint8_t> corrupt = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const std::string path = writeRaw("a.mgx", fixtures::containerBytes(Layout::kMgx, corrupt, {}));
  for (const auto& t : kTargets) {
    SCOPED_TRACE(t.name);
    EXPECT_FALSE(file.load(path, t.target));
    EXPECT_EQ(file.lastError(), LoadError::kCorruptHeader);
    EXPECT_EQ(folder.listing(), "a.mgx");
  }
}

TEST_F(GameFileTest, FileShorterThanFourBytesFails) {
  for (std::size_t size : {0u, 1u, 3u}) {
    SCOPED_TRACE(size);
    EXPECT_FALSE(file.load(writeRaw("a.mgx", std::vector<uint8_t>(size, 0x20))));
    EXPECT_EQ(file.lastError(), LoadError::kTooShort);
  }
}

TEST_F(GameFileTest, MissingFileFails) {
  EXPECT_FALSE(file.load(folder.file("absent.mgx")));
  EXPECT_EQ(file.lastError(), LoadError::kCannotOpen);
  EXPECT_EQ(folder.listing(), "") << "nothing is created for a file that cannot be opened";
}

TEST_F(GameFileTest, LoadReleasesTheEarlierGame) {
  ASSERT_TRUE(file.load(writeGame("a.mgx", unversionedHeader(5000, 10), patternBytes(50, 11))));
  EXPECT_FALSE(file.load(folder.file("absent.mgx")));
  EXPECT_EQ(file.headerLength(), 0);
  EXPECT_EQ(file.bodyLength(), 0);
  const auto header = unversionedHeader(300, 12);
  ASSERT_TRUE(file.load(writeGame("b.mgx", header, {})));
  EXPECT_EQ(file.headerBytes(), header);
  EXPECT_TRUE(file.bodyBytes().empty());
  EXPECT_EQ(file.lastError(), LoadError::kNone);
}

TEST_F(GameFileTest, HeaderInflatingPastTheCapAnswersFalse) {
  const std::vector<uint8_t> huge(static_cast<std::size_t>(RecordedGameFile::kMaxHeaderLength) + 1,
                                  0);
  const auto compressed = fixtures::rawDeflate(huge, 9);
  ASSERT_LT(compressed.size(), 200000u) << "the stream itself is small";
  const std::string path =
      writeRaw("a.mgx", fixtures::containerBytes(Layout::kMgx, compressed, {}));
  for (const auto& t : kTargets) {
    SCOPED_TRACE(t.name);
    EXPECT_FALSE(file.load(path, t.target));
    EXPECT_EQ(file.lastError(), LoadError::kHeaderTooLarge);
    EXPECT_EQ(folder.listing(), "a.mgx");
  }
}

// The temporary file: created new beside the game, never an existing one.
TEST_F(GameFileTest, ExistingTmp1IsLeftAsItWasAndLoadSucceeds) {
  const auto header = unversionedHeader(4000, 13);
  const std::string path = writeGame("a.mgx", header, {});
  const std::vector<uint8_t> precious = {'k', 'e', 'e', 'p', 0, 1, 2};
  ASSERT_TRUE(fixtures::writeFile(path + ".tmp1", precious));
  ASSERT_TRUE(file.load(path));
  EXPECT_EQ(file.headerBytes(), header);
  EXPECT_EQ(fixtures::readFile(path + ".tmp1"), precious);
  EXPECT_EQ(folder.listing(), "a.mgx a.mgx.tmp1");
}

// Where no temporary file can be made beside the game, the header is inflated
// in memory; taken names are left as they were and nothing new stays behind.
TEST_F(GameFileTest, GameLoadsWhereNoTemporaryFileCanBeMade) {
  const struct {
    const char* refusal;
    int taken;
    bool longestName;
  } cases[] = {{"fifteen names taken: the sixteenth is made and removed", 15, false},
               {"all sixteen names taken", 16, false},
               {"the longest name the folder takes: no suffix fits", 0, true}};
  uint32_t seed = 20;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refusal);
    const auto header = unversionedHeader(4000, ++seed);
    const auto body = patternBytes(30, ++seed);
    std::string path;
    if (c.longestName) {
      for (std::size_t length = 255; length > 4 && path.empty(); --length) {
        const std::string candidate = folder.file(std::string(length - 4, 'n') + ".mgx");
        if (fixtures::writeRecording(candidate, header, body)) path = candidate;
      }
      ASSERT_FALSE(path.empty());
    } else {
      path = writeGame(std::to_string(c.taken) + ".mgx", header, body);
    }
    for (int i = 1; i <= c.taken; ++i) {
      ASSERT_TRUE(
          fixtures::writeFile(path + ".tmp" + std::to_string(i), {static_cast<uint8_t>(i)}));
    }
    const std::string before = folder.listing();
    RecordedGameFile game;
    EXPECT_TRUE(game.load(path)) << describe(game.lastError());
    EXPECT_EQ(game.headerBytes(), header);
    EXPECT_EQ(game.bodyBytes(), body);
    for (int i = 1; i <= c.taken; ++i) {
      EXPECT_EQ(fixtures::readFile(path + ".tmp" + std::to_string(i)),
                std::vector<uint8_t>{static_cast<uint8_t>(i)});
    }
    EXPECT_EQ(folder.listing(), before);
  }
}

// Not a refusal for root, who writes anyway: then the test skips.
TEST_F(GameFileTest, ReadOnlyFolderLoadsInMemory) {
  const auto header = unversionedHeader(4000, 16);
  const std::string path = writeGame("a.mgx", header, {});
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec, ec);
  ASSERT_FALSE(ec) << ec.message();
  if (fixtures::writeFile(folder.file("probe"), {1})) {
    fs::remove(folder.file("probe"), ec);
    GTEST_SKIP() << "this user can write into a read-only folder (root, or a file system "
                    "without folder permissions)";
  }
  ASSERT_TRUE(file.load(path)) << describe(file.lastError());
  EXPECT_EQ(file.headerBytes(), header);
  fs::permissions(folder.path(), fs::perms::owner_all, ec);
  EXPECT_EQ(folder.listing(), "a.mgx");
}

#ifndef _WIN32
// A temporary file that fills up midway hands the header over to memory. The
// process's file size limit stands for a full disk: it holds for root too.
TEST_F(GameFileTest, TemporaryFileFullMidwayLoadsInMemory) {
  const auto header = unversionedHeader(300001, 17);
  const std::string path = writeGame("a.mgx", header, {});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 65536;  // half a chunk: the first write stops short
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool loaded = file.load(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);
  ASSERT_TRUE(loaded) << describe(file.lastError());
  EXPECT_EQ(file.headerBytes(), header);
  EXPECT_EQ(folder.listing(), "a.mgx");
}
#endif

}  // namespace
}  // namespace morvane
