#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "EmulatedHost.h"
#include "RelayTestSupport.h"

namespace {

using namespace relay_test;

const std::string kAliceId = "76561198000000001";
const std::string kBobId = "76561198000000002";
const std::string kCarolId = "76561198000000003";

TEST_F(RelayTest, ChatCommandsAreReportedToTheirChannelWithThePlayersDetails) {
  Load(Config());
  struct Case {
    uint64 player;
    std::string message;
    std::string shown;
  };
  const Case cases[] = {
      {kAlice, "/kick bob",
       "admin-chat|Rook|" + ChatReport("Admins, Players", "Alice", kAliceId, "/kick bob")},
      {kBob, "/BAN   bob", "admin-chat|Rook|" + ChatReport("Players", "Bob", kBobId, "/BAN   bob")},
      {kBob, "/tp home", "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/tp home")},
      {kCarol, "/tp", "chat|Tally|" + ChatReport("", "Carol", kCarolId, "/tp")},
      {kMax, "/kick",
       "admin-chat|Rook|" + ChatReport("Admins", "Max", "18446744073709551615", "/kick")},
      {kBob, "/say {} {0} {:x}",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say {} {0} {:x}")},
      {kBob, "/say \"hi\" \\ \t",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say \\\"hi\\\" \\\\ \\t")},
      {kBob, "/say caf\xC3\xA9",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say caf\xC3\xA9")},
      {kBob, "/login hunter2", ""},  // blacklisted
      {kBob, "/LOGIN", ""},
      {kAlice, "/help", ""},      // ignored
      {kBob, "hello /kick", ""},  // conversation, not a command
      {kBob, " /kick", ""},       // the slash must come first
      {kBob, "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Chat(c.player, c.message), c.shown) << c.message;
}

TEST_F(RelayTest, ConsoleCommandsNameOnlyStaffMembers) {
  Load(Config());
  struct Case {
    uint64 player;
    std::string command;
    std::string shown;
  };
  const Case cases[] = {
      {kAlice, "giveitem 12 1",
       "admin-console|Rook|" +
           ConsoleReport("Admins, Players", "Alice", kAliceId, "giveitem 12 1")},
      {kBob, "GIVEITEM",
       "admin-console|Rook|" + ConsoleReport("Players", "Not a staff member", kBobId, "GIVEITEM")},
      {kCarol, "summon Rex",
       "console|Tally|" + ConsoleReport("", "Not a staff member", kCarolId, "summon Rex")},
      {kAlice, "EnableCheats pass", ""},  // blacklisted, administrator or not
      {kBob, "fly", ""},                  // ignored for players
      {kAlice, "fly",
       "console|Tally|" + ConsoleReport("Admins, Players", "Alice", kAliceId,
                                        "fly")},  // an administrator, all logged
  };
  for (const Case& c : cases) EXPECT_EQ(Console(c.player, c.command), c.shown) << c.command;
}

TEST_F(RelayTest, RconCommandsAreReportedWithTheirTimeAndTextButNeverAPassword) {
  Load(Config());
  struct Case {
    std::string body;
    std::int32_t type;
    std::string shown;
  };
  const Case cases[] = {
      {"saveworld", 2, "admin-rcon|Rook|" + RconReport("saveworld")},
      {"kickplayer 7", 2, "rcon|Tally|" + RconReport("kickplayer 7")},
      {"kickplayer 7", 0, "rcon|Tally|" + RconReport("kickplayer 7")},  // any other type alike
      {"kickplayer 7", -1, "rcon|Tally|" + RconReport("kickplayer 7")},
      {"", 2, "rcon|Tally|" + RconReport("")},
      {"listplayers", 2, "rcon|Tally|" + RconReport("listplayers")},  // ignored, all logged
      {"broadcast \"x\"", 2, ""},
      {"hunter2", 3, ""},  // an authentication request carries the password
      {"saveworld", 3, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Rcon(c.body, c.type), c.shown) << c.body;
}

TEST_F(RelayTest, IgnoredCommandsStayUnreportedUnlessEverythingIsLogged) {
  // LogEverything false, absent or not a boolean: an ignored command is not reported.
  for (const char* extra : {R"("LogEverything": false)", "", R"("LogEverything": "yes")"}) {
    Load(Config(extra));
    EXPECT_EQ(Console(kAlice, "fly"), "") << extra;
    EXPECT_EQ(Rcon("ListPlayers"), "") << extra;
    EXPECT_NE(Console(kAlice, "summon"), "") << extra;  // the rest is still reported
    EXPECT_NE(Rcon("saveworld"), "") << extra;
    server_.reset();
  }
}

TEST_F(RelayTest, WithoutADefaultGroupAnUnlistedCommandIsNotReported) {
  Load(R"({"ChannelGroups": [{"Identifier": "default",
    "Chat": {"ChannelTag": "c", "BotName": "b", "Commands": ["/kick"]},
    "Console": {"ChannelTag": "c", "BotName": "b"}, "Rcon": {"ChannelTag": "c", "BotName": "b"}}]})");
  EXPECT_EQ(Chat(kBob, "/tp"), "");
  EXPECT_EQ(Console(kBob, "summon"), "");
  EXPECT_EQ(Rcon("saveworld"), "");
  EXPECT_EQ(Chat(kBob, "/kick x"), "c|b|" + ChatReport("Players", "Bob", kBobId, "/kick x"));
}

TEST_F(RelayTest, OutsideCallsComeInOrderAndTheReportIsQueuedBeforeTheGameRuns) {
  Load(Config());
  Player(kAlice);
  GetEmulatedHost().TakeCallRecord();
  const std::vector<std::string> player_report = {
      "Skyparley::MakeTimeString", "ArkApi::GetApiUtils",     "IApiUtils::GetSteamIdFromController",
      "ArkApi::GetApiUtils",       "IApiUtils::GetSteamName", "Permissions::GetPlayerGroups",
      "Skyparley::EscapeString",   "Skyparley::EscapeString", "Skyparley::EscapeString",
      "Skyparley::QueuePacket"};
  struct Case {
    const char* what;
    std::function<void()> send;
    std::vector<std::string> calls;
  };
  auto with = [](std::vector<std::string> calls, std::vector<std::string> more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
  };
  const Case cases[] = {
      {"chat", [&] { Chat(kAlice, "/kick"); }, with(player_report, {"game chat"})},
      {"console", [&] { Console(kAlice, "giveitem"); }, with(player_report, {"game console"})},
      {"ignored console", [&] { Console(kAlice, "fly"); },
       with({"ArkApi::GetBitField APlayerController.bIsAdmin"},
            with(player_report, {"game console"}))},
      {"rcon",
       [&] { Rcon("saveworld"); },
       {"Skyparley::MakeTimeString", "Skyparley::EscapeString", "Skyparley::QueuePacket",
        "game rcon"}},
      {"blacklisted chat", [&] { Chat(kAlice, "/login"); }, {"game chat"}},
      {"blacklisted console", [&] { Console(kAlice, "enablecheats"); }, {"game console"}},
      {"blacklisted rcon", [&] { Rcon("broadcast"); }, {"game rcon"}},
      {"password", [&] { Rcon("pw", 3); }, {"game rcon"}},
  };
  for (const Case& c : cases) {
    c.send();
    EXPECT_EQ(GetEmulatedHost().TakeCallRecord(), c.calls) << c.what;
  }
}

TEST_F(RelayTest, GameTextBecomesTheSameUtf8OnEveryPlatform) {
  Load(Config());
  const std::basic_string<FChar> message = {
      '/',    's',    'a', 'y',   ' ', 'c', 'a', 'f', 0xE9, ' ',  // a letter outside ASCII
      0xD800, ' ',                                                // a lone surrogate
      0xD83D, 0xDE00, ' ', 0x4E2D};                               // a pair, and a CJK letter
  server_->game().SendChat(Player(kBob), message);
  EXPECT_EQ(
      Shown(server_->relay()->TakeDeliveries()),
      "chat|Tally|" + ChatReport("Players", "Bob", kBobId,
                                 "/say caf\xC3\xA9 \xEF\xBF\xBD \xF0\x9F\x98\x80 \xE4\xB8\xAD"));
}

TEST_F(RelayTest, PlayerChosenTextCannotBreakTheDeliveredBody) {
  Load(Config());
  server_->game().Player(91, FTEXT("\"Bob\" \\\n<@everyone>"), false);
  server_->permissions()->SetGroups(91, {FTEXT("A\"dmins"), FTEXT(""), FTEXT("x\\y")});
  server_->game().SendChat(server_->game().Player(91), FTEXT("/tp \"home\""));
  const auto deliveries = server_->relay()->TakeDeliveries();
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_TRUE(deliveries[0].delivered) << deliveries[0].webhook_body;
  const auto body = nlohmann::json::parse(deliveries[0].webhook_body);
  EXPECT_EQ(body["content"].get<std::string>(),
            "```Chat Command Received\nDate / Time: 2021-06-14 18:03:00\nRanks: A\"dmins, , x\\y"
            "\nSteam Name: \"Bob\" \\\n<@everyone>\nSteamID: 91\nCommand: /tp \"home\"```");
  EXPECT_EQ(body["username"], "Tally");
  EXPECT_EQ(body["allowed_mentions"], nlohmann::json::parse(R"({"parse":[]})"));
}

}  // namespace
