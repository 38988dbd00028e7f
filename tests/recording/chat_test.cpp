// Chat messages from the header (lobby) and the body (in-game), and filterChat.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording/de_chat.h"
#include "recording/de_lobby_chat.h"
#include "recording/header_stages.h"
#include "recording_writer/recording_writer.h"
#include "support/bare_header.h"
#include "support/parse_recording.h"

namespace morvane {
namespace {

using fixtures::BodyBuilder;
using fixtures::ByteWriter;
using fixtures::HeaderBuilder;
using fixtures::ParsedRecording;
using namespace std::string_literals;

class ChatTest : public ::testing::Test {
 protected:
  ChatTest() {
    fixtures::headerThroughPlayerList(h);
    h.scenarioList({});
    h.teamBytes({1, 1, 1, 1, 1, 1, 1, 1});
  }

  ParsedRecording parse(bool padHeader = true) {
    if (padHeader) h.zeros(40);
    ParsedRecording parsed = fixtures::parseRecording(h.bytes(), body.bytes());
    EXPECT_TRUE(parsed.loaded);
    return parsed;
  }

  HeaderBuilder h;
  BodyBuilder body;
};

// Each row: lobby messages in file order, with `gap` zero bytes between two,
// and the lobby chat they give.
TEST_F(ChatTest, LobbyMessagesGiveTheirLines) {
  const struct {
    const char* why;
    std::vector<std::string> messages;
    int gap;
    std::string chat;
  } cases[] = {
      {"length nine gives its five letters", {"@#1hello\0"s}, 0, "hello\r\n"},
      {"file order", {"@#1first", "@#8second"}, 10, "first\r\nsecond\r\n"},
      {"marker alone, an empty line", {"@#1"}, 0, "\r\n"},
      {"ends at its first NUL", {"@#2abcde\0fgh"s}, 0, "abcde\r\n"},
      {"system lines dropped",
       {"@#1--x--", "@#1--", "@#1--begins", "@#1ends--", "@#1-"},
       0,
       "--begins\r\nends--\r\n-\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    HeaderBuilder one;
    one.raw(h.bytes());
    for (std::size_t i = 0; i < c.messages.size(); ++i) {
      if (i > 0) one.zeros(c.gap);
      one.lobbyMessage(c.messages[i]);
    }
    one.zeros(40);
    const ParsedRecording parsed = fixtures::parseRecording(one.bytes());
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.entry.lobbyChat, c.chat);
    EXPECT_EQ(parsed.entry.gameChat, "");
  }
}

TEST_F(ChatTest, DigitsNineAndZeroAreNoMarkerForEitherScan) {
  h.lobbyMessage("@#9nine");
  h.lobbyMessage("@#0zero");
  body.chat("@#9nine");
  body.chat("@#0zero");
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.lobbyChat, "");
  EXPECT_EQ(parsed.entry.gameChat, "");
}

TEST_F(ChatTest, MarkerInsideAMessageIsTestedToo) {
  ByteWriter inner;
  inner.text("@#1hi");
  inner.i32(5);
  inner.text("@#2yo");
  h.lobbyMessage(std::string(inner.bytes().begin(), inner.bytes().end()));
  // The outer copy runs into the inner length field and stops at its NULs.
  EXPECT_EQ(parse().entry.lobbyChat, "hi\x05\r\nyo\r\n");
}

TEST_F(ChatTest, MessageInTheLastBytesOfTheHeaderIsCollected) {
  h.lobbyMessage("@#4");
  EXPECT_EQ(parse(false).entry.lobbyChat, "\r\n");
}

TEST_F(ChatTest, OverlongLobbyMessageStaysWithin255Bytes) {
  std::string text = "@#1";
  for (int i = 0; i < 297; ++i) text += static_cast<char>('a' + i % 26);
  h.lobbyMessage(text);
  const std::string chat = parse().entry.lobbyChat;
  // Cut to 255 bytes, marker included.
  EXPECT_EQ(chat, text.substr(3, 252) + "\r\n");
}

TEST_F(ChatTest, MessageLengthPastTheHeaderStaysInside) {
  // A negative length is skipped; one past the end is cut at the end.
  const struct {
    int32_t length;
    const char* chat;
  } cases[] = {{-1, ""}, {-0x7FFFFFFF - 1, ""}, {200, "tail\r\n"}, {0x7FFFFFFF, "tail\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    HeaderBuilder one;
    one.raw(h.bytes());
    one.lobbyMessage("@#1tail", c.length);
    const ParsedRecording parsed = fixtures::parseRecording(one.bytes());
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.entry.lobbyChat, c.chat);
  }
}

TEST_F(ChatTest, BodyMessageAfterFourAndMinusOneIsCollected) {
  body.zeros(50);
  body.chat("@#1hello\0"s);
  body.zeros(50);
  body.chat("@#5again");
  body.zeros(3);
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.gameChat, "hello\r\nagain\r\n");
  EXPECT_EQ(parsed.entry.lobbyChat, "");
}

TEST_F(ChatTest, BodyMessageNeedsBothPrefixValues) {
  body.chatAfter(4, 0, "@#1zero");
  body.chatAfter(5, -1, "@#1five");
  body.chatAfter(-1, 4, "@#1swapped");
  body.zeros(8);
  EXPECT_EQ(parse().entry.gameChat, "");
}

TEST_F(ChatTest, LobbyMessageInTheBodyWithoutPrefixIsIgnored) {
  body.zeros(30);
  appendChatMessage(body, "@#1lobby-like");
  body.zeros(30);
  EXPECT_EQ(parse().entry.gameChat, "");
}

TEST_F(ChatTest, SixteenByteBodyHoldsOneMessage) {
  body.chat("@#1x");
  ASSERT_EQ(body.size(), 16);
  EXPECT_EQ(parse().entry.gameChat, "x\r\n");
}

TEST_F(ChatTest, BodyShorterThanSixteenBytesHasNoChat) {
  body.chat("@#1");
  ASSERT_EQ(body.size(), 15);
  EXPECT_EQ(parse().entry.gameChat, "");
}

TEST_F(ChatTest, BodyMessageRunningPastTheEndStaysInside) {
  const struct {
    int32_t length;
    const char* chat;
  } cases[] = {{60, "end\r\n"}, {256, "end\r\n"}, {-5, ""}, {0x7FFFFFFF, "end\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    BodyBuilder one;
    one.zeros(20);
    one.chat("@#1end", c.length);
    const ParsedRecording parsed = fixtures::parseRecording(h.bytes(), one.bytes());
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.entry.gameChat, c.chat);
  }
}

TEST_F(ChatTest, ChatIsReplacedOnEveryParse) {
  GameEntry start;
  start.lobbyChat = "old lobby";
  start.gameChat = "old game";
  h.zeros(40);
  const ParsedRecording parsed = fixtures::parseRecording(h.bytes(), {}, start);
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.lobbyChat, "");
  EXPECT_EQ(parsed.entry.gameChat, "");
}

// The Definitive Edition's lobby chat is looked for below the map seed. In
// a crafted section every fourth byte can open a reading (the population
// limit, the reveal setting and the count all 60, each length 60): one of
// them ends at the seed, but the others cannot all be followed, so none is
// settled.
TEST(DefinitiveLobbyChatTest, ReadingsPastTheWorkBudgetSettleNone) {
  DefinitiveLayout layout;
  layout.lobbyAfterPopulation = 12;
  DefinitiveBlock block;
  block.settings.populationLimit = 60;
  block.settings.revealMap = 60;
  block.settings.lockTeams = false;
  ByteWriter header;
  for (int i = 0; i < 4096; ++i) header.u32(60);
  header.u32(0x618DDD8F);  // map seed
  header.zeros(layout.lobbyTail);
  EXPECT_FALSE(findDefinitiveLobbyChat(ByteSpan(header.bytes().data(), header.bytes().size()),
                                       layout, block));
}

// Each Definitive Edition message as the game shows it, built from its
// fields; the game's markup never reaches a line. Players 1 and 3 are a
// team, player 2 has none, player 4 is on another.
TEST(DefinitiveChatLineTest, MessagesReadAsTheGameShowsThem) {
  ChatSpeakers speakers;
  speakers.names = {"", "Ann", "Bo", "Cy", "Di", "", "", "", ""};
  speakers.teams = {0, 2, 1, 2, 3, 0, 0, 0, 0};
  const struct {
    const char* message;
    const char* line;
  } cases[] = {
      {R"({"player":1,"channel":0,"message":"gl hf","tauntNumber":-1,)"
       R"("messageAGP":"@#12  <platform_icon_world>  Ann: gl hf","destinationMap":1020})",
       "@#1Ann: gl hf"},
      // Receivers: the sender's team mates alone, or others.
      {R"({"player":1,"channel":0,"message":"221","messageAGP":"@#12 Ann: 221","destinationMap":20})",
       "@#1<Team>Ann: 221"},
      {R"({"player":1,"channel":0,"message":"psst","messageAGP":"@#12 Ann: psst","destinationMap":8})",
       "@#1<Private>Ann: psst"},
      {R"({"player":2,"channel":0,"message":"hm","messageAGP":"@#2 Bo: hm","destinationMap":16})",
       "@#2<Private>Bo: hm"},
      {R"({"player":1,"channel":1,"message":"hi","messageAGP":"@#12 Ann: hi","destinationMap":20})",
       "@#1Ann: hi"},
      // A taunt as the game prints it: its number, then what it says if stated.
      {R"j({"player":3,"channel":0,"message":"333: ( It's cool )","tauntNumber":333,)j"
       R"j("messageAGP":"@#34 Cy: 333: ( It's cool )","destinationMap":1020})j",
       "@#3Cy: 333: ( It's cool )"},
      {R"({"player":3,"channel":0,"message":"","tauntNumber":14,)"
       R"("messageAGP":"@#34 Cy: 14","destinationMap":1020})",
       "@#3Cy: 14"},
      // Notices: a tag names the player; some patches put the colour digit first.
      {R"({"player":2,"channel":0,"message":"<player_id,2,0> advanced to the Feudal Age.",)"
       R"("tauntNumber":-1,"messageAGP":"@#2<player_id,2,0> advanced to the Feudal Age."})",
       "@#2Bo advanced to the Feudal Age."},
      {R"({"player":4,"channel":0,"message":"5 Di advanced to the Castle Age.",)"
       R"("messageAGP":"@#45 Di advanced to the Castle Age."})",
       "@#4Di advanced to the Castle Age."},
      // Escapes undone, a line break made a space.
      {R"({"player":1,"message":"\u00e9t\u00e9\nfin \"ok\"","messageAGP":"@#1 Ann: x",)"
       R"("destinationMap":1020})",
       "@#1Ann: \xC3\xA9t\xC3\xA9 fin \"ok\""},
      // Not shown to the recording's player, or not a message of the edition's.
      {R"({"player":1,"channel":0,"message":"gg","messageAGP":"","destinationMap":41})", ""},
      {R"({"player":9,"message":"x","messageAGP":"@#9x"})", ""},
      {R"({"player":"1","message":"x","messageAGP":"@#1x"})", ""},
      {R"({"player":1,"message":"x","messageAGP":"@#1x")", ""},
      {R"({"player":1,"message":"x","messageAGP":"@#1\xFFx"})", ""},
      // A sender the header does not name: the game's own line, its markup gone.
      {R"({"player":5,"message":"yo","messageAGP":"@#56  <platform_icon_xbox>  Ed: yo"})",
       "@#5Ed: yo"},
      // Lines stored as shown: the colour digit and the markup go, a channel tag stays.
      {"@#18  <platform_icon_world>  [\xF0\x9F\xA5\x95]Ann: hfhf", "@#1[\xF0\x9F\xA5\x95]Ann: hfhf"},
      {"@#2<All>3 Bo: \"gg\"", "@#2<All>Bo: \"gg\""},
      {"@#1DS advanced <3 <b", "@#1DS advanced <3 <b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(definitiveChatLine(c.message, speakers), c.line) << c.message;
  }
}

TEST(FilterChatTest, KeepsOnlyMarkerLinesWithDigitsZeroToEight) {
  EXPECT_EQ(filterChat("@#0first\r\n@#9second\r\nthird\r\n"), "first\r\n");
  EXPECT_EQ(filterChat("@#8a\r\n@#/b\r\n@#:c\r\n@#\xB1"
                       "d\r\n"),
            "a\r\n");
}

TEST(FilterChatTest, DropsLinesThatBeginAndEndWithTwoDashes) {
  EXPECT_EQ(filterChat("@#1--x--\r\n@#1--\r\n@#1---\r\n"), "");
  EXPECT_EQ(filterChat("@#1--x\r\n@#1x--\r\n@#1-\r\n"), "--x\r\nx--\r\n-\r\n");
}

TEST(FilterChatTest, MarkerAloneIsAnEmptyLine) { EXPECT_EQ(filterChat("@#3\r\n"), "\r\n"); }

TEST(FilterChatTest, ShortAndEmptyLinesAreDropped) {
  EXPECT_EQ(filterChat("\r\n@#\r\n@\r\n"), "");
  EXPECT_EQ(filterChat(""), "");
}

TEST(FilterChatTest, KeepsBytesAboveAsciiAsTheyAre) {
  EXPECT_EQ(filterChat("@#2\x82\xA0\x83\x41 ok\r\n"), "\x82\xA0\x83\x41 ok\r\n");
}

TEST(FilterChatTest, TextWithoutFinalLineBreakStaysInside) {
  EXPECT_EQ(filterChat("@#1abc"), "abc\r\n");
}

}  // namespace
}  // namespace morvane
