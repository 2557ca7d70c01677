#include <gtest/gtest.h>

#include "EmulatedHost.h"
#include "GameAllocator.h"
#include "RelayTestSupport.h"
#include "Skyparley.h"

namespace {

using namespace relay_test;

const std::string kCarolId = "76561198000000003";
const std::string kFence = Repeat(kTick, 3);   // a fence as it shows inside a value
const std::string kFFFD = "\xEF\xBF\xBD";      // U+FFFD
const std::string kEllipsis = "\xE2\x80\xA6";  // U+2026

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
      {kBob, "/say \"hi\" \\",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say \\\"hi\\\" \\\\")},
      {kBob, "/say caf\xC3\xA9",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say caf\xC3\xA9")},
      {kBob, "/tp ``` @everyone <@&123> **x** ```",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId,
                                  "/tp " + kFence + " @everyone <@&123> **x** " + kFence)},
      {kBob, "/say `", "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say " + kTick)},
      {kBob, "/say ```````",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say " + Repeat(kTick, 7))},
      // Line breaks and other controls show as control pictures, so no line can be added.
      {kBob, "/say a\nSteamID: 1\r\tb",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId,
                                  "/say a\xE2\x90\x8ASteamID: 1\xE2\x90\x8D\xE2\x90\x89"
                                  "b")},
      {kBob, std::string("/say \0\x1B[2J\x7F", 11),
       "chat|Tally|" +
           ChatReport("Players", "Bob", kBobId, "/say \xE2\x90\x80\xE2\x90\x9B[2J\xE2\x90\xA1")},
      // C1 controls, line and paragraph separators and direction controls are replaced.
      {kBob, "/say \xC2\x85\xE2\x80\xA8\xE2\x80\xA9\xE2\x80\xAE\xE2\x81\xA6\xE2\x80\x8F\xD8\x9Cz",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say " + Repeat(kFFFD, 7) + "z")},
      {kBob,
       "/say \xC2\x80\xC2\x9F\xE2\x80\x8E\xE2\x80\xAA\xE2\x81\xA9",  // U+0080 U+009F ... U+2069
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say " + Repeat(kFFFD, 5))},
      // A single special unit inside the blocks of plain ASCII, and after them.
      {kBob,
       "/say 0123456789a\x7F"
       "bcdefghijklmn",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId,
                                  "/say 0123456789a\xE2\x90\xA1"
                                  "bcdefghijklmn")},
      {kBob, "/say 0123456789abcdefghijklmnopq\x1F",
       "chat|Tally|" +
           ChatReport("Players", "Bob", kBobId, "/say 0123456789abcdefghijklmnopq\xE2\x90\x9F")},
      {kBob,
       "/say 0123456789a`"
       "bcdefgh",
       "chat|Tally|" +
           ChatReport("Players", "Bob", kBobId, "/say 0123456789a" + kTick + "bcdefgh")},
      {kBob,
       "/say 0123456789a\xE2\x81\xA9"
       "bcdefghijklmn",
       "chat|Tally|" +
           ChatReport("Players", "Bob", kBobId, "/say 0123456789a" + kFFFD + "bcdefghijklmn")},
      {kBob, "/say 0123456789abcdef\x7F",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/say 0123456789abcdef\xE2\x90\xA1")},
      // Over Discord's limit: cut between two surrogate pairs, never inside one.
      {kBob, "/" + Repeat("\xF0\x9F\x98\x80", 1000),
       "chat|Tally|" +
           ChatReport("Players", "Bob", kBobId,
                      "/" + Repeat("\xF0\x9F\x98\x80", 923) + kEllipsis + " [77 more characters]")},
      {kBob, "/pw hunter2",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw [arguments hidden]")},
      {kBob, "/PW ```x",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/PW [arguments hidden]")},
      {kBob, "/pw", "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw")},
      {kBob, "/pw   ", "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw   ")},
      {kBob, "/pw \t", "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw \xE2\x90\x89")},
      {kBob, "/login hunter2", ""},  // blacklisted, and redacted too: the blacklist wins
      {kBob, std::string("/login\0 hunter2", 15), ""},  // a NUL ends the word, as in C
      // Any white space ends the word: a tab, a no-break, ideographic or em space, a NUL.
      {kBob, "/login\thunter2", ""},
      {kBob, "/login\xC2\xA0hunter2", ""},
      {kBob, "/pw\thunter2",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw [arguments hidden]")},
      {kBob, "/pw\xE3\x80\x80hunter2",
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw [arguments hidden]")},
      {kBob, std::string("/pw\0hunter2", 11),
       "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/pw [arguments hidden]")},
      {kBob,
       "/kick\xE2\x80\x83"
       "bob",
       "admin-chat|Rook|" + ChatReport("Players", "Bob", kBobId,
                                       "/kick\xE2\x80\x83"
                                       "bob")},
      // Prefixes are for console and RCON: "/cheat" is one, yet chat knows "/cheat /kick" by
      // its first word.
      {kBob, "/cheat /kick", "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/cheat /kick")},
      {kBob, "cheat /kick", ""},  // no prefix for chat: conversation
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
      {kAlice, "EnableCheats pass", ""},  // blacklisted (and redacted), administrator or not
      {kBob, "fly", ""},                  // ignored for players
      {kBob, "fly 3", ""},
      {kAlice, "fly 3",
       "console|Tally|" +
           ConsoleReport("Admins, Players", "Alice", kAliceId, "fly [arguments hidden]")},
      {kBob, "   SetPassword   a b",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "   SetPassword [arguments hidden]")},
      {kBob, "summon ```\n",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "summon " + kFence + "\xE2\x90\x8A")},
      {kBob, Repeat("x", 2000),
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        Repeat("x", 1817) + kEllipsis + " [183 more characters]")},
      {kAlice, "fly",
       "console|Tally|" + ConsoleReport("Admins, Players", "Alice", kAliceId,
                                        "fly")},  // an administrator, all logged
      // Any white space ends the word, so the password stays hidden.
      {kAlice, "EnableCheats\thunter2", ""},
      {kAlice, "EnableCheats\xE3\x80\x80hunter2", ""},
      {kBob, "SetPassword\thunter2",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "SetPassword [arguments hidden]")},
      {kBob, "SetPassword\xC2\xA0hunter2",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "SetPassword [arguments hidden]")},
      {kBob, "SetPassword\xE2\x80\x83hunter2",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "SetPassword [arguments hidden]")},
      {kBob, std::string("SetPassword\0hunter2", 19),
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "SetPassword [arguments hidden]")},
      {kAlice, "giveitem\t12",
       "admin-console|Rook|" + ConsoleReport("Admins, Players", "Alice", kAliceId,
                                             "giveitem\xE2\x90\x89"
                                             "12")},
      // Behind a command prefix the next word is the command.
      {kAlice, "admincheat GiveItem 121 1 0 0",
       "admin-console|Rook|" +
           ConsoleReport("Admins, Players", "Alice", kAliceId, "admincheat GiveItem 121 1 0 0")},
      {kAlice, "cheat EnableCheats hunter2", ""},
      {kBob, "cheat fly", ""},
      {kAlice, "Cheat  fly 3",
       "console|Tally|" +
           ConsoleReport("Admins, Players", "Alice", kAliceId, "Cheat  fly [arguments hidden]")},
      {kBob, "admincheat SetPassword secret",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId,
                                        "admincheat SetPassword [arguments hidden]")},
      {kBob, "cheat",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId, "cheat")},
      {kBob, "cheater fly",
       "console|Tally|" + ConsoleReport("Players", "Not a staff member", kBobId, "cheater fly")},
  };
  for (const Case& c : cases) EXPECT_EQ(Console(c.player, c.command), c.shown) << c.command;
}

TEST_F(RelayTest, RconCommandsAreReportedWithTheirTimeAndTextButNeverAPassword) {
  Load(Config());
  struct Case {
    std::string body;
    std::int32_t type;
    std::string shown;
    std::string clock = kClock;
  };
  const Case cases[] = {
      {"saveworld", 2, "admin-rcon|Rook|" + RconReport("saveworld")},
      {"kickplayer 7", 2, "rcon|Tally|" + RconReport("kickplayer 7")},
      {"kickplayer 7", 0, "rcon|Tally|" + RconReport("kickplayer 7")},  // any other type alike
      {"kickplayer 7", -1, "rcon|Tally|" + RconReport("kickplayer 7")},
      {"", 2, "rcon|Tally|" + RconReport("")},
      {"listplayers", 2, "rcon|Tally|" + RconReport("listplayers")},  // ignored, all logged
      {"saveworld now", 2, "admin-rcon|Rook|" + RconReport("saveworld [arguments hidden]")},
      {"```", 2, "rcon|Tally|" + RconReport(kFence)},
      {"kick `\n```", 2, "rcon|Tally|" + RconReport("kick " + kTick + "\xE2\x90\x8A" + kFence)},
      {Repeat("a", 65536), 2,
       "rcon|Tally|" + RconReport(Repeat("a", 1905) + kEllipsis + " [63631 more characters]")},
      {"broadcast \"x\"", 2, ""},
      {"admincheat Broadcast hi", 2, ""},
      {"cheat SaveWorld now", 2,
       "admin-rcon|Rook|" + RconReport("cheat SaveWorld [arguments hidden]")},
      {"cheat ListPlayers", 2, "rcon|Tally|" + RconReport("cheat ListPlayers")},
      {"SaveWorld\tnow", 2, "admin-rcon|Rook|" + RconReport("SaveWorld [arguments hidden]")},
      // The report fits in 2,000 units exactly; one more and the command is cut. The marker
      // counts the characters not shown: each backtick is one, its added space none.
      {Repeat("a", 1929), 2, "rcon|Tally|" + RconReport(Repeat("a", 1929))},
      {Repeat("a", 1930), 2, "rcon|Tally|" + RconReport(Repeat("a", 1930))},
      {Repeat("a", 1931), 2,
       "rcon|Tally|" + RconReport(Repeat("a", 1906) + kEllipsis + " [25 more characters]")},
      {Repeat("a", 1931), 2, "rcon|Tally|" + RconReport(Repeat("a", 1931), kWideClock), kWideClock},
      {Repeat("`", 3000), 2,
       "rcon|Tally|" + RconReport(Repeat(kTick, 953) + kEllipsis + " [2047 more characters]")},
      {Repeat("`", 1000) + Repeat("a", 1000), 2,
       "rcon|Tally|" + RconReport(Repeat(kTick, 953) + kEllipsis + " [1047 more characters]")},
      {"hunter2", 3, ""},  // an authentication request carries the password
      {"saveworld", 3, ""},
  };
  for (const Case& c : cases) {
    server_->relay()->SetClock(c.clock);
    EXPECT_EQ(Rcon(c.body, c.type), c.shown) << c.body.substr(0, 40);
  }
}

TEST_F(RelayTest, IgnoredCommandsStayUnreportedUnlessEverythingIsLogged) {
  // LogEverything false, absent or not a boolean: an ignored command is not reported.
  for (const char* extra : {R"("LogEverything": false)", "", R"("LogEverything": "yes")"}) {
    Load(Config(extra));
    EXPECT_EQ(Console(kAlice, "fly"), "") << extra;
    EXPECT_EQ(Rcon("ListPlayers"), "") << extra;
    // The rest is still reported.
    EXPECT_EQ(Console(kAlice, "summon"),
              "console|Tally|" + ConsoleReport("Admins, Players", "Alice", kAliceId, "summon"))
        << extra;
    EXPECT_EQ(Rcon("saveworld"), "admin-rcon|Rook|" + RconReport("saveworld")) << extra;
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

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> joined;
  for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

TEST_F(RelayTest, OutsideCallsComeInOrderAndTheReportIsQueuedBeforeTheGameRuns) {
  Load(Config());
  Player(kAlice);
  GameAllocator::RecordFrees(true);
  GetEmulatedHost().TakeCallRecord();
  const std::vector<std::string> gather = {
      "Skyparley::MakeTimeString", "ArkApi::GetApiUtils",     "IApiUtils::GetSteamIdFromController",
      "ArkApi::GetApiUtils",       "IApiUtils::GetSteamName", "Permissions::GetPlayerGroups"};
  const std::vector<std::string> queue = {"Skyparley::EscapeString", "Skyparley::EscapeString",
                                          "Skyparley::EscapeString", "Skyparley::QueuePacket"};
  // The player's name, two groups with their array, and the joined groups: freed only once the
  // packet is queued. The game then frees its own text, and the test its copy.
  const std::vector<std::string> player_freed(5, "FMemory.Free");
  const std::vector<std::string> staff_entry_freed(1, "FMemory.Free");
  const std::vector<std::string> game_freed(2, "FMemory.Free");
  const std::vector<std::string> admin_bit = {"GetBitField APlayerController.bIsAdmin"};
  struct Case {
    const char* what;
    std::function<void()> send;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"chat", [&] { Chat(kAlice, "/kick"); },
       Joined({gather, queue, player_freed, {"game chat"}, game_freed})},
      {"console", [&] { Console(kAlice, "giveitem"); },
       Joined({gather, staff_entry_freed, queue, player_freed, {"game console"}, game_freed})},
      {"ignored console", [&] { Console(kAlice, "fly"); },
       Joined({admin_bit,
               gather,
               staff_entry_freed,
               queue,
               player_freed,
               {"game console"},
               game_freed})},
      {"rcon", [&] { Rcon("saveworld"); },
       Joined({{"Skyparley::MakeTimeString", "Skyparley::EscapeString", "Skyparley::QueuePacket",
                "game rcon"},
               game_freed})},
      {"blacklisted chat", [&] { Chat(kAlice, "/login"); }, Joined({{"game chat"}, game_freed})},
      {"blacklisted console", [&] { Console(kAlice, "enablecheats"); },
       Joined({{"game console"}, game_freed})},
      {"blacklisted rcon", [&] { Rcon("broadcast"); }, Joined({{"game rcon"}, game_freed})},
      {"password", [&] { Rcon("pw", 3); }, Joined({{"game rcon"}, game_freed})},
  };
  for (const Case& c : cases) {
    c.send();
    EXPECT_EQ(GetEmulatedHost().TakeCallRecord(), c.calls) << c.what;
  }
  GameAllocator::RecordFrees(false);
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

TEST_F(RelayTest, NamesAndGroupsStayInertAndInsideTheLimit) {
  Load(Config());
  struct Case {
    uint64 player;
    std::string name;
    std::vector<std::string> groups;
    std::string ranks;
    std::string shown_name;
    std::string command = "/tp";
    std::string shown_command = "/tp";
    std::string clock = kClock;
  };
  // A command that makes the report from player `id`, named "N" without groups, exactly
  // `length` units, whatever the digits of the ID; cut to fit, when over, as Shorten cuts it.
  const std::size_t clock_units = std::string(kClock).size();  // ASCII: one unit a byte
  const auto sized = [](uint64 id, std::size_t length, std::size_t time_units) {
    const std::size_t used = 82 + time_units + 1 + std::to_string(id).size();  // template, name
    return "/" + Repeat("a", length - used - 1);
  };
  const auto cut = [&](uint64 id) {
    const std::size_t room = 2000 - (82 + clock_units + 1 + std::to_string(id).size());
    return "/" + Repeat("a", room - 25) + kEllipsis + " [25 more characters]";
  };
  std::vector<Case> cases = {
      {91,
       "\"Bob\" \\\n<@everyone>",
       {"A\"dmins", "", "x\\y"},
       "A\\\"dmins, , x\\\\y",
       "\\\"Bob\\\" \\\\\xE2\x90\x8A<@everyone>"},
      {92,
       "```@here```",
       {"`", "Admins"},
       kTick + std::string(", Admins"),
       kFence + "@here" + kFence},
      {93,
       "Eve\xE2\x80\xAE",
       {Repeat("g", 3000)},
       Repeat("g", 1866) + kEllipsis + " [1134 more characters]",
       "Eve" + kFFFD},
      {94, Repeat("n", 5000), {}, "", Repeat("n", 1870) + kEllipsis + " [3130 more characters]"},
      // The command is cut first, then the groups, and the name last.
      {95,
       Repeat("n", 3000),
       {Repeat("g", 3000)},
       kEllipsis + " [3000 more characters]",
       Repeat("n", 1846) + kEllipsis + " [1154 more characters]"},
  };
  // Steam IDs of every digit count that ends a power of ten: 1, 2, 10, 19 and 20 digits.
  for (const uint64 id : {uint64{1}, uint64{10}, uint64{1000000000}, uint64{1000000000000000000},
                          uint64{10000000000000000000ull}}) {
    cases.push_back(
        {id, "N", {}, "", "N", sized(id, 2000, clock_units), sized(id, 2000, clock_units)});
    cases.push_back({id, "N", {}, "", "N", sized(id, 2001, clock_units), cut(id)});
  }
  // The time counts in UTF-16 units, as Discord counts, not in its UTF-8 bytes.
  cases.push_back({1, "N", {}, "", "N", sized(1, 2000, 18), sized(1, 2000, 18), kWideClock});
  for (const Case& c : cases) {
    server_->relay()->SetClock(c.clock);
    std::vector<std::basic_string<FChar>> groups;
    for (const auto& group : c.groups) groups.emplace_back(FString::FromUtf8(group).View());
    server_->permissions()->SetGroups(c.player, groups);
    server_->game().Player(c.player, FString::FromUtf8(c.name).View());
    EXPECT_EQ(Chat(c.player, c.command),
              "chat|Tally|" + ChatReport(c.ranks, c.shown_name, std::to_string(c.player),
                                         c.shown_command, c.clock))
        << c.player << " " << c.command.size();
  }
}

// The stand-in refuses, as Discord would refuse or mis-render, what a report must never be.
TEST_F(RelayTest, TheRelayStandInRefusesWhatDiscordWould) {
  Load(Config());
  // Bound by the plugin's own stub, by the name this build's compiler gives it.
  const auto queue = &Skyparley::QueuePacket;
  const std::string one_block = "the content is not exactly one code block";
  const std::pair<std::string, std::string> cases[] = {
      {"```a\\nb```", ""},
      {"``````", ""},
      {"```" + Repeat("\xC3\xA9", 1994) + "```", ""},
      {"```" + Repeat("\xC3\xA9", 1995) + "```",
       "the content is 2001 characters, over Discord's 2000"},
      {"```" + Repeat("\xF0\x9F\x98\x80", 998) + "```",
       "the content is 2002 characters, over Discord's 2000"},
      {"```a``` @everyone ```b```", one_block},
      {"```a````", one_block},
      {"x```a```", one_block},
      {"```a", one_block},
      {"```\"```", "the webhook body is not valid JSON"},
      {"```\n```", "the webhook body is not valid JSON"},
  };
  for (const auto& [content, failure] : cases) {
    queue({"tag", "bot", content});
    const auto deliveries = server_->relay()->TakeDeliveries();
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].failure, failure) << content;
  }
}

}  // namespace
