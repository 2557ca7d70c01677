// The devserver run as an admin runs it: a separate process, its exit status and its output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "ConfigCheck.h"
#include "Configuration.h"
#include "EmulatedServerFixture.h"
#include "ModuleLoader.h"
#include "Replay.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class DevserverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = UniqueTestFolder();
    // The in-process replays make players of their own: each test starts from a new game.
    Game::Instance().ForgetPlayers();
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path File(const std::string& name, const std::string& content) {
    const fs::path path = directory_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // Runs the devserver with `arguments` (quoted by the caller) and `input` on standard input.
  Outcome Devserver(const std::string& arguments, const std::string& input = "") {
    const fs::path in = File("stdin.txt", input);
    const fs::path out = directory_ / "stdout.txt";
    const fs::path err = directory_ / "stderr.txt";
    const std::string program = (fs::path(ModuleLoader::ProgramDirectory()) /
#ifdef _WIN32
                                 "tallyrook-devserver.exe"
#else
                                 "tallyrook-devserver"
#endif
                                 )
                                    .string();
    const std::string command = "\"" + program + "\" " + arguments + " < \"" + in.string() +
                                "\" > \"" + out.string() + "\" 2> \"" + err.string() + "\"";
#ifdef _WIN32
    // cmd.exe drops the first and the last quote of the line it is given.
    const int status = std::system(("\"" + command + "\"").c_str());
#else
    int status = std::system(command.c_str());
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {status, Read(out), Read(err)};
  }

  // check and explain run in this process, as a library.
  static Outcome Check(const fs::path& config, bool strict = false) {
    std::ostringstream out;
    const int status = devserver::CheckConfig(config.string(), strict, out);
    return {status, out.str(), ""};
  }
  static Outcome Explain(const fs::path& config, const std::string& kind,
                         const std::string& command, const devserver::ExplainedSender& sender) {
    std::ostringstream out;
    const int status = devserver::ExplainCommand(config.string(), kind, command, sender, out);
    return {status, out.str(), ""};
  }
  // Replays one session line through the plugin in the emulated server of this process.
  Outcome ReplayLine(const fs::path& config, const devserver::Players& players,
                     const std::string& line) {
    const fs::path server = directory_ / "server";
    fs::remove_all(server);
    fs::create_directories(server.string() +
                           fs::path(Tallyrook::kConfigPath).parent_path().string());
    fs::copy_file(config, server.string() + Tallyrook::kConfigPath);
    devserver::ReplayOptions options;
    options.server_directory = server.string();
    options.players = players;
    options.clock = "T";
    options.format = devserver::OutputFormat::JsonLines;
    std::istringstream session(line);
    std::ostringstream out;
    std::ostringstream err;
    const int status =
        devserver::Replay(options, devserver::ReadSession(session, "line"), out, err);
    return {status, out.str(), err.str()};
  }

  static fs::path ExamplePath(const char* name) {
    return fs::path(TALLYROOK_SOURCE_DIR) / "examples" / name;
  }
  static std::string Example(const char* name) {
    return "\"" + ExamplePath(name).string() + "\"";
  }

  fs::path directory_;
};

TEST_F(DevserverTest, TheExampleSessionsGiveExactlyTheExpectedPackets) {
  for (const auto& [session, golden] :
       {std::pair{"session.jsonl", "example-session.jsonl"},
        std::pair{"attacks.jsonl", "attacks.jsonl"}, std::pair{"siblings.jsonl", "siblings.jsonl"},
        std::pair{"reload.jsonl", "reload.jsonl"}}) {
    const Outcome run =
        Devserver("--config " + Example("config.json") + " --players " + Example("players.json") +
                  " --clock \"2026-12-09 20:15:00\" --format jsonl " + Example(session));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, Read(fs::path(TALLYROOK_SOURCE_DIR) / "tests" / "golden" / golden))
        << session;
  }
}

TEST_F(DevserverTest, TheTextFormatShowsTheReportAsDiscordWould) {
  const fs::path config = File("config.json", R"({"ChannelGroups":[{"Identifier":"Default",
    "Chat":{"ChannelTag":"cmds","BotName":"Rook"},"Console":{"ChannelTag":"c","BotName":"b"},
    "Rcon":{"ChannelTag":"r","BotName":"b"}}]})");
  const Outcome run = Devserver("--config \"" + config.string() + "\" --clock T",
                                "{\"chat\": \"/say \\\"hi\\\"\", \"player\": 5}\n"
                                "{\"chat\": \"hello\\u001b[2J\\u0085\\n\", \"player\": \"5\"}\n"
                                // an escape within six characters of the line's end
                                "{\"rcon\": \"a\\n\"}\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "> chat from (5): /say \"hi\"\n"
            "  #cmds as Rook\n"
            "  ```Chat Command Received\n"
            "  Date / Time: T\n"
            "  Ranks: \n"
            "  Steam Name: \n"
            "  SteamID: 5\n"
            "  Command: /say \"hi\"```\n"
            "\n"
            "> chat from (5): hello\xE2\x90\x9B[2J\xEF\xBF\xBD\xE2\x90\x8A\n"
            "  (not reported)\n"
            "\n"
            "> rcon (type 2): a\xE2\x90\x8A\n"
            "  #r as b\n"
            "  ```RCON Command Received\n"
            "  Date / Time: T\n"
            "  Command: a\xE2\x90\x8A```\n"
            "\n");
}

TEST_F(DevserverTest, BadUsageAndBadInputStopBeforeAnythingIsReplayed) {
  const std::string config = "--config " + Example("config.json");
  const fs::path players = File("players.json",
                                "{\n  \"1\": {\"name\": \"A\"},\n"
                                "  \"2\": {\"name\": 7}\n}\n");
  const fs::path broken = File("broken.json", R"({"ChannelGroups": 5})");
  struct Case {
    std::string arguments;
    std::string input;
    int status;
    std::string error;
  };
  const Case cases[] = {
      {config + " --bogus", "", 2, "unknown option --bogus"},
      {config + " --server-dir x", "", 2, "give exactly one of --config and --server-dir"},
      {"", "", 2, "give exactly one of --config and --server-dir"},
      {config + " --format xml", "", 2, "unknown format xml"},
      {config, "{\"rcon\": \"SaveWorld\"}\nnot json\n", 2, "<stdin>:2: "},
      {config, "# fine\n\n{\"chat\": \"/a\", \"rcon\": \"b\", \"player\": 1}\n", 2,
       "<stdin>:3: give exactly one of \"chat\", \"console\", \"rcon\", \"host\""},
      {config, "{\"console\": \"fly\", \"player\": \"Ada\"}\n", 2,
       "<stdin>:1: \"player\" must be a Steam ID in decimal"},
      {config, "{\"console\": \"fly\", \"player\": -3}\n", 2,
       "<stdin>:1: \"player\" must be a Steam ID in decimal"},
      {config, "{\"console\": \"fly\"}\n", 2, "<stdin>:1: a console event needs \"player\""},
      {config, "{\"rcon\": \"x\", \"typo\": 1}\n", 2, "<stdin>:1: unknown key \"typo\""},
      {config, "{\"host\": \"unload Tally\"}\n", 2,
       "<stdin>:1: \"host\" must be \"load\", \"unload\" or \"reload\", a space and "
       "\"Skyparley\", \"Permissions\" or \"Tallyrook\""},
      {config, "{\"host\": \"load Skyparley\", \"player\": 1}\n", 2,
       "<stdin>:1: a \"host\" event takes no other key but \"config\""},
      {config, "{\"host\": \"load Skyparley\", \"config\": {}}\n", 2,
       "<stdin>:1: \"config\" belongs to a \"host\" event of Tallyrook"},
      {"--server-dir x", "{\"host\": \"reload Tallyrook\", \"config\": {}}\n", 2,
       "a session that gives a new config.json needs --config: it would overwrite x's own"},
      // A reload that fails shows the plugin's line; the session goes on, and ends in 3.
      {config + " --format jsonl",
       "{\"host\": \"reload Tallyrook\", \"config\": \"{\"}\n{\"rcon\": \"SaveWorld\"}\n", 3,
       "[Tallyrook][error] Exception: Can't parse configuration"},
      {config + " --players \"" + players.string() + "\"", "", 2,
       players.string() + ":3: player 2: \"name\" must be a string"},
      {"--config \"" + broken.string() + "\"", "{\"rcon\": \"SaveWorld\"}\n", 3,
       "[Tallyrook][error] Exception: Can't initialize manager"},
      {"--config \"" + (directory_ / "missing.json").string() + "\"", "", 2, "no such config file"},
  };
  for (const Case& c : cases) {
    const Outcome run = Devserver(c.arguments, c.input);
    EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << c.arguments << "\n" << run.err;
    EXPECT_EQ(run.out, "") << c.arguments;
  }
}

TEST_F(DevserverTest, CheckSummarisesAConfigThePluginWouldLoad) {
  const Outcome run = Check(ExamplePath("config.json"));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("the plugin would load.\nChannel groups, in routing order:\n"
                         "  1. \"Moderation\"\n"
                         "       chat    #mod-log as Tallyrook, 3 commands\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  BlacklistConsoleCommands  0 entries\n"), std::string::npos);
  EXPECT_NE(run.out.find("  RedactConsoleCommands     1 entry\n"
                         "  RedactRconCommands        0 entries\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  RedactRconCommands        0 entries\n"
                         "Command prefixes, before a console or RCON command's name: "
                         "\"admincheat\" \"cheat\"\n"
                         "Fallback for commands no group lists: group 4 \"Default\"\n"
                         "No warnings.\n"),
            std::string::npos)
      << run.out;
}

TEST_F(DevserverTest, CheckNamesEachErrorThatStopsTheLoad) {
  struct Case {
    std::string config;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"{\"a\": // no\n}",
       {"syntax error", "The plugin would not load: Can't parse configuration"}},
      {"", {"unexpected end of input", "Can't parse configuration"}},
      {"[]", {"top level: expected an object, found an array", "Can't initialize manager"}},
      {R"({"ChannelGroups":[{"Identifier":"A"},{"Identifier":"B","Chat":{"ChannelTag":"t","BotName":null}},
          {"Identifier":"C","Chat":{"ChannelTag":"t"}}], "BlacklistChatCommands":["/x",{}]})",
       {"ChannelGroups[0].Chat: missing (an object with ChannelTag and BotName is required)",
        "ChannelGroups[1].Chat.BotName: expected a string, found null",
        "ChannelGroups[2].Chat.BotName: missing (a string is required)",
        "BlacklistChatCommands[1]: expected a string, found an object",
        "The plugin would not load: Can't initialize manager"}},
      {R"({"ChannelGroups":[{"Identifier":"A","Chat":{"ChannelTag":"t","BotName":"b"},
          "Console":{"ChannelTag":"t","BotName":"b"},"Rcon":"r"}, null]})",
       {"ChannelGroups[0].Rcon: expected an object with ChannelTag and BotName, found a string",
        "ChannelGroups[1].Identifier: missing (a string is required)"}},
      {R"({"ChannelGroups":"Default"})",
       {"ChannelGroups: expected a list of group objects, found a string"}},
      {R"({"RedactRconCommands":{"a":"SaveWorld","b":7}})",
       {"RedactRconCommands.b: expected a string, found a number", "Can't initialize manager"}},
      {std::string("\xFF\xFE{\0}\0", 6),
       {"saved as UTF-16 (it starts with a UTF-16 byte-order mark): save it as UTF-8",
        "Can't parse configuration"}},
      {"{\"a\":\n\"caf\xE9\"}", {": line 2: not UTF-8 text: save the file as UTF-8"}},
      // Overlong forms, a surrogate and a code point above U+10FFFF are not UTF-8 either.
      {"{\"a\":\n\n\"\xC0\xAF\"}", {": line 3: not UTF-8 text"}},
      {"{\"a\":\"\xC1\xBF\"}", {": line 1: not UTF-8 text"}},
      {"{\"a\":\"\xE0\x80\xAF\"}", {": line 1: not UTF-8 text"}},
      {"{\"a\":\"\xED\xA0\x80\"}", {": line 1: not UTF-8 text"}},
      {"{\"a\":\"\xF4\x90\x80\x80\"}", {": line 1: not UTF-8 text"}},
  };
  for (const Case& c : cases) {
    const fs::path config = File("config.json", c.config);
    const Outcome run = Check(config);
    EXPECT_EQ(run.status, 1) << c.config;
    EXPECT_EQ(run.out.find("type must be"), std::string::npos) << run.out;  // plain words only
    for (const auto& line : c.lines) {
      EXPECT_NE(run.out.find(line), std::string::npos) << c.config << "\n" << run.out;
    }
  }
}

TEST_F(DevserverTest, CheckWarnsWhereAConfigWillSurpriseItsAuthor) {
  const std::string channel = R"({"ChannelTag":"t","BotName":"b"})";
  const auto group = [&](const std::string& identifier, const std::string& chat_commands) {
    return R"({"Identifier":")" + identifier +
           R"(","Chat":{"ChannelTag":"t","BotName":"b","Commands":)" + chat_commands +
           R"(},"Console":)" + channel + R"(,"Rcon":)" + channel + "}";
  };
  struct Case {
    std::string config;
    std::string warning;
  };
  const Case cases[] = {
      {"{\"ChannelGroups\":[" + group("default", "[]") + "]}",
       "warning: no group is named exactly \"Default\": commands that no group lists are not "
       "reported"},
      {"{\"ChannelGroups\":[" + group(" default", "[]") + "]}",
       "warning: ChannelGroups[0].Identifier (line 1): \" default\" is not the fallback: only a "
       "group named exactly \"Default\" is"},
      {"{\"ChannelGroups\":[" + group("Default", "[]") + "," + group("Default", "[]") + "]}",
       "warning: ChannelGroups[1] (line 1): the name \"Default\" is taken by ChannelGroups[0], "
       "which is the fallback"},
      {"{\"ChannelGroups\":[" + group("Default", R"(["/kick bob"])") + "]}",
       "warning: ChannelGroups[0].Chat.Commands[0] (line 1): \"/kick bob\" holds a space and "
       "never matches"},
      {R"({"IgnoreChatCommands":["/a",""]})",
       "warning: IgnoreChatCommands[1] (line 1): an empty entry never matches a command"},
      {"{\"ChannelGroups\":[" + group("Default", R"(["/LOGIN"])") +
           R"(],"BlacklistChatCommands":["/login"]})",
       "warning: ChannelGroups[0].Chat.Commands[0] (line 1): \"/LOGIN\" is blacklisted for chat "
       "commands by BlacklistChatCommands[0], so it is never reported"},
      {R"({"StaffGroups":["Admins",3]})", "warning: StaffGroups[1] (line 1): not a string"},
      {R"({"IgnoreRconCommands":["ListPlayers"]})",
       "warning: LogEverything is absent: ignored console and RCON commands are never reported"},
      {R"({"IgnoreConsoleCommands":["fly"],"LogEverything":"true"})",
       "warning: LogEverything is not true or false"},
      {R"({"RedactConsoleCommands":["EnableCheatz"]})",
       "warning: the console command EnableCheats is neither blacklisted nor redacted, so its "
       "argument is reported: its argument is the server's admin password"},
      {R"({"RedactChatCommands":["/pw x"]})",
       "warning: RedactChatCommands[0] (line 1): \"/pw x\" holds a space and never matches"},
      // Keys the plugin never reads, with the one most likely meant.
      {"{\n\"BlacklistChatCommand\": [\"/login\"]}",
       "warning: BlacklistChatCommand (line 2): unknown key \"BlacklistChatCommand\", which the "
       "plugin ignores; did you mean \"BlacklistChatCommands\"?"},
      {R"({"blacklistRconCommands": []})", "did you mean \"BlacklistRconCommands\"?"},
      {R"({"LogEverthing": true})", "did you mean \"LogEverything\"?"},
      {R"({"StaffGroup": []})", "did you mean \"StaffGroups\"?"},
      {R"({"StafGrup": []})", "unknown key \"StafGrup\", which the plugin ignores\n"},  // 3 edits
      {R"({"Whatever": []})", "unknown key \"Whatever\", which the plugin ignores\n"},
      {R"({"ChannelGroups":[{"Identifier":"Default","Chat":{"ChannelTag":"t","BotName":"b","Command":["/a"]},
         "Console":{"ChannelTag":"t","BotName":"b","commands":[]},"Rcon":{"ChannelTag":"t","BotName":"b"},"Rocn":{}}]})",
       "warning: ChannelGroups[0].Chat.Command (line 1): unknown key \"Command\", which the "
       "plugin ignores; did you mean \"Commands\"?"},
      {R"({"ChannelGroups":[{"Identifier":"Default","Chat":{"ChannelTag":"t","BotName":"b"},
         "Console":{"ChannelTag":"t","BotName":"b","commands":[]},"Rcon":{"ChannelTag":"t","BotName":"b"}}]})",
       "warning: ChannelGroups[0].Console.commands (line 2): unknown key"},
      {R"({"ChannelGroups":[{"Identifier":"Default","Chat":{"ChannelTag":"t","BotName":"b"},
         "Console":{"ChannelTag":"t","BotName":"b"},"Rcon":{"ChannelTag":"t","BotName":"b"},"Rocn":{}}]})",
       "warning: ChannelGroups[0].Rocn (line 2): unknown key \"Rocn\", which the plugin ignores; "
       "did you mean \"Rcon\"?"},
      // Two edits from both Chat and Rcon: the first the plugin reads wins.
      {R"({"ChannelGroups":[{"Identifier":"Default","Chat":{"ChannelTag":"t","BotName":"b"},
         "Console":{"ChannelTag":"t","BotName":"b"},"Rcon":{"ChannelTag":"t","BotName":"b"},"Chon":{}}]})",
       "unknown key \"Chon\", which the plugin ignores; did you mean \"Chat\"?"},
      // Chat entries without their slash, and entries that hold what never matches.
      {R"({"BlacklistChatCommands":["login"]})",
       "warning: BlacklistChatCommands[0] (line 1): \"login\" does not start with \"/\", so it "
       "never matches a chat command"},
      {"{\"ChannelGroups\":[" + group("Default", R"(["kick"])") + "]}",
       "ChannelGroups[0].Chat.Commands[0] (line 1): \"kick\" does not start with \"/\""},
      {R"({"RedactChatCommands":["/kick,/ban"]})",
       "\"/kick,/ban\" holds a comma: list each command as an entry of its own"},
      {R"({"IgnoreConsoleCommands":["fly\tx"]})", "\"fly\tx\" holds a tab and never matches"},
      {R"({"IgnoreConsoleCommands":["fly\u3000x"]})",
       "holds white space (U+3000) and never matches: white space separates words"},
      {R"({"IgnoreConsoleCommands":["\u00a0fly"]})",
       "has white space (U+00A0) before or after it and never matches"},
      // Command prefixes.
      {R"({"CommandPrefixes":["cheat"],"BlacklistRconCommands":["Cheat"]})",
       "warning: BlacklistRconCommands[0] (line 1): \"Cheat\" is a command prefix "
       "(CommandPrefixes[0]), so it matches only the prefix typed alone"},
      {R"({"CommandPrefixes":["cheat"],"ChannelGroups":[{"Identifier":"Default","Chat":{"ChannelTag":"t","BotName":"b"},
         "Console":{"ChannelTag":"t","BotName":"b","Commands":["cheat"]},"Rcon":{"ChannelTag":"t","BotName":"b"}}]})",
       "warning: ChannelGroups[0].Console.Commands[0] (line 2): \"cheat\" is a command prefix"},
      {R"({"CommandPrefixes":["admincheat","enablecheats"],"RedactConsoleCommands":["EnableCheats"]})",
       "warning: CommandPrefixes[1] (line 1): \"enablecheats\" is not a prefix: the word after it "
       "is the server's admin password"},
      {R"({"IgnoreRconCommands":["ListPlayers "]})",
       "\"ListPlayers \" has a space before or after it and never matches"},
      // Text the plugin never reads, and keys given twice.
      {"{\"StaffGroups\":[]}}\n{\"BlacklistChatCommands\":[\"/login\"]}",
       "warning: text after the first JSON value is ignored by the plugin: everything from line 1"},
      {"{}\n\n  \"BlacklistChatCommands\": [\"/login\"]",
       "ignored by the plugin: everything from line 3"},
      {"{\"IgnoreChatCommands\": [\"/a\"],\n\"IgnoreChatCommands\": [\"/b\"]}",
       "warning: top level (line 1): the key \"IgnoreChatCommands\" is given twice (lines 1 and "
       "2); the plugin uses the value from line 2"},
      // Entries that never take effect.
      {R"({"IgnoreChatCommands":["/x"],"BlacklistChatCommands":["/a","/X"]})",
       "warning: IgnoreChatCommands[0] (line 1): \"/x\" is also blacklisted by "
       "BlacklistChatCommands[1], so this ignore entry has no effect"},
      {"{\"IgnoreChatCommands\":[\"/help\"],\"ChannelGroups\":[" +
           group("Default", R"(["/HELP"])") + "]}",
       "warning: IgnoreChatCommands[0] (line 1): \"/help\" is also listed in "
       "ChannelGroups[0].Chat.Commands[0], but ignored chat commands are never reported"},
      {"{\"ChannelGroups\":[" + group("A", R"(["/tp","/kick"])") + "," +
           group("Default", R"(["/KICK"])") + "]}",
       "warning: ChannelGroups[1].Chat.Commands[0] (line 1): \"/KICK\" is taken first by "
       "ChannelGroups[0].Chat.Commands[1], so this entry never routes a command"},
  };
  for (const Case& c : cases) {
    const fs::path config = File("config.json", c.config);
    const Outcome run = Check(config);
    EXPECT_EQ(run.status, 0) << c.config << run.out;
    EXPECT_NE(run.out.find(c.warning), std::string::npos) << c.config << "\n" << run.out;
    // --strict turns any warning into a failure, for scripts that gate a config change.
    EXPECT_EQ(Check(config, true).status, 1) << c.config;
  }
  EXPECT_EQ(Check(ExamplePath("config.json"), true).status, 0);
}

TEST_F(DevserverTest, ExplainGivesTheDecisionThatAReplayOfTheSameCommandShows) {
  const std::string example = Read(ExamplePath("config.json"));
  const auto variant = [&](const std::string& from, const std::string& to) {
    std::string text = example;
    text.replace(text.find(from), from.size(), to);
    return File("config-" + std::to_string(std::hash<std::string>()(to)) + ".json", text);
  };
  const std::string log = "\"LogEverything\": true";
  const std::string staff = "\"StaffGroups\": [\"Admins\", \"Moderators\"]";
  std::map<std::string, fs::path> configs = {
      {"example", File("config-example.json", example)},
      {"log false", variant(log, "\"LogEverything\": false")},
      {"log absent", variant(log, "\"Unread\": true")},
      {"log null", variant(log, "\"LogEverything\": null")},
      {"log string", variant(log, "\"LogEverything\": \"true\"")},
      {"no Default", variant("\"Identifier\": \"Default\"", "\"Identifier\": \"Fallback\"")},
      {"console blacklist",
       variant("\"BlacklistConsoleCommands\": []", "\"BlacklistConsoleCommands\": [\"Summon\"]")},
      {"staff number first", variant(staff, "\"StaffGroups\": [7, \"Admins\"]")},
      {"staff number after", variant(staff, "\"StaffGroups\": [\"Admins\", 7]")},
      {"staff null", variant(staff, "\"StaffGroups\": null")},
      {"staff string", variant(staff, "\"StaffGroups\": \"Admins\"")},
      {"staff object", variant(staff, "\"StaffGroups\": {\"a\": \"Admins\", \"b\": {}}")},
      {"only Default, staff 7",
       File("config-7.json", R"({"ChannelGroups": [{"Identifier": "Default",
         "Chat": {"ChannelTag": "k", "BotName": "b"}, "Console": {"ChannelTag": "k", "BotName": "b"},
         "Rcon": {"ChannelTag": "k", "BotName": "b"}}], "StaffGroups": [7]})")},
  };
  // Player n is an administrator when n is 2 or 4, and in the group Admins when n is 3 or 4.
  devserver::Players players;
  for (std::uint64_t n = 1; n <= 4; ++n) {
    players[n].name = Utf16("P" + std::to_string(n));
    if (n >= 3) players[n].groups.emplace_back(FTEXT("Admins"));
    players[n].admin = n % 2 == 0;
  }
  struct Case {
    std::string config;
    const char* kind;
    std::string command;
    bool admin;
    bool in_admins;  // --groups Admins
    std::string step;
    std::string outcome;  // empty: whatever the replay shows
  };
  std::vector<Case> cases = {
      {"example", "chat", "/login pw", false, false,
       "blacklisted by BlacklistChatCommands[0] (\"/login\")", "-> not reported"},
      {"example", "chat", "hello", false, false, "plain chat, not a command", "-> not reported"},
      {"example", "chat", "/help", true, false, "ignored by IgnoreChatCommands[0] (\"/help\")",
       "-> not reported: ignored"},
      {"example", "console", "fly", false, false, "ignored by IgnoreConsoleCommands[0] (\"fly\")",
       "-> not reported: the player is not an administrator"},
      {"example", "console", "fly", true, false, "LogEverything is true: reported all the same",
       "-> reported to #commands as Tallyrook"},
      {"log false", "console", "fly", true, false, "", "-> not reported: LogEverything is false"},
      {"log absent", "console", "fly", true, false, "", "-> not reported: LogEverything is absent"},
      {"log string", "console", "fly", true, false, "",
       "-> not reported: LogEverything is not true or false"},
      {"example", "rcon", "ListPlayers", false, false, "ignored by IgnoreRconCommands[0]",
       "-> reported to #rcon as Tallyrook"},
      {"log false", "rcon", "ListPlayers", false, false, "",
       "-> not reported: LogEverything is false"},
      {"log absent", "rcon", "ListPlayers", false, false, "",
       "-> not reported: LogEverything is absent"},
      {"console blacklist", "console", "summon rex", true, false,
       "blacklisted by BlacklistConsoleCommands[0] (\"Summon\")", "-> not reported"},
      {"example", "rcon", "Broadcast hi", false, false,
       "blacklisted by BlacklistRconCommands[0] (\"Broadcast\")", "-> not reported"},
      {"example", "chat", "/ban bob", false, false,
       "routed to group \"Moderation\" by ChannelGroups[0].Chat.Commands[1] (\"/ban\")",
       "-> reported to #mod-log as Tallyrook"},
      {"example", "console", "giveitem 1", false, false,
       "routed to group \"Economy\" by ChannelGroups[1].Console.Commands[0] (\"GiveItem\")",
       "-> reported to #economy as Ledger"},
      {"example", "rcon", "SaveWorld", false, false,
       "routed to group \"World\" by ChannelGroups[2].Rcon.Commands[0] (\"SaveWorld\")",
       "-> reported to #world as Warden"},
      {"example", "chat", "/tp home", false, false,
       "no group lists \"/tp\": the \"Default\" group's channel",
       "-> reported to #commands as Tallyrook"},
      {"no Default", "chat", "/tp home", false, false,
       "no group lists \"/tp\", and no group is named \"Default\"", "-> not reported"},
      {"no Default", "console", "spawn", true, false, "", "-> not reported"},
      {"no Default", "rcon", "restart", false, false, "", "-> not reported"},
      {"example", "console", "EnableCheats pw", true, false,
       "redacted by RedactConsoleCommands[0] (\"EnableCheats\")",
       "-> reported to #commands as Tallyrook"},
      {"example", "console", "admincheat GiveItemNum 1 1 0 0", true, false,
       "the command's name is \"GiveItemNum\", the word after the prefix CommandPrefixes[0] "
       "(\"admincheat\")",
       "-> reported to #economy as Ledger"},
      {"example", "console", "cheat  fly", false, false, "ignored by IgnoreConsoleCommands[0]",
       "-> not reported: the player is not an administrator"},
      {"example", "console", "cheat", false, false,
       "the prefix CommandPrefixes[1] (\"cheat\") with nothing after it is the command's own name",
       "-> reported to #commands as Tallyrook"},
      {"example", "rcon", "cheat SaveWorld", false, false,
       "routed to group \"World\" by ChannelGroups[2].Rcon.Commands[0]",
       "-> reported to #world as Warden"},
      {"example", "chat", "cheat /ban", false, false, "plain chat", "-> not reported"},
      {"example", "console", "EnableCheats\thunter2", true, false,
       "redacted by RedactConsoleCommands[0]", "-> reported to #commands as Tallyrook"},
      {"example", "console", "spawn", false, true,
       "a staff member by StaffGroups[0] (\"Admins\"): the report shows the Steam name",
       "-> reported to #commands as Tallyrook"},
      {"example", "console", "spawn", false, false,
       "no group of the player is on StaffGroups: the report shows \"Not a staff member\"",
       "-> reported to #commands as Tallyrook"},
      {"only Default, staff 7", "console", "summon rex", false, false,
       "the staff rule reaches StaffGroups[0] (7), which is not a string",
       "-> not reported: StaffGroups[0] is not a string"},
      {"staff number after", "console", "spawn", false, false, "",
       "-> not reported: StaffGroups[1] is not a string"},
      {"staff number after", "console", "spawn", false, true, "a staff member by StaffGroups[0]",
       "-> reported to #commands as Tallyrook"},
      {"staff object", "console", "spawn", false, false, "",
       "-> not reported: StaffGroups.b is not a string"},
  };
  // Every way StaffGroups and LogEverything can be written, for every kind of sender.
  for (const char* config :
       {"example", "log false", "log absent", "log null", "log string", "staff number first",
        "staff number after", "staff null", "staff string", "staff object"}) {
    for (const auto& [kind, command] : {std::pair{"console", "spawn"}, std::pair{"console", "fly"},
                                        std::pair{"rcon", "ListPlayers"}}) {
      for (const bool admin : {false, true}) {
        for (const bool in_admins : {false, true}) {
          cases.push_back({config, kind, command, admin, in_admins, "", ""});
        }
      }
    }
  }
  for (const Case& c : cases) {
    const std::string what = c.config + ", " + c.kind + " " + c.command +
                             (c.admin ? " --admin" : "") + (c.in_admins ? " --groups Admins" : "");
    const fs::path& config = configs.at(c.config);
    devserver::ExplainedSender sender{c.admin, {}};
    if (c.in_admins) sender.groups.push_back("Admins");
    const Outcome explained = Explain(config, c.kind, c.command, sender);
    EXPECT_EQ(explained.status, 0) << what;
    EXPECT_NE(explained.out.find(c.step), std::string::npos) << what << "\n" << explained.out;
    const std::string outcome = explained.out.substr(explained.out.rfind("-> "));
    if (!c.outcome.empty()) {
      EXPECT_EQ(outcome, c.outcome + "\n") << what;
    }
    // The same command through the plugin in the emulated server.
    const int player = 1 + (c.admin ? 1 : 0) + (c.in_admins ? 2 : 0);
    nlohmann::json event = {{c.kind, c.command}};
    if (std::string(c.kind) != "rcon") event["player"] = player;
    const Outcome replayed = ReplayLine(config, players, event.dump() + "\n");
    EXPECT_EQ(replayed.status, 0) << what << replayed.err;
    const bool reported = outcome.rfind("-> reported to #", 0) == 0;
    EXPECT_EQ(!replayed.out.empty(), reported) << what << "\n" << explained.out << replayed.out;
    if (!reported || replayed.out.empty()) continue;
    const auto packet = nlohmann::json::parse(replayed.out);
    EXPECT_EQ(outcome, "-> reported to #" + packet.at("ChannelTag").get<std::string>() + " as " +
                           packet.at("BotName").get<std::string>() + "\n")
        << what;
    if (std::string(c.kind) == "console") {
      const bool named = explained.out.find("a staff member by") != std::string::npos;
      const std::string content = packet.at("Content").get<std::string>();
      EXPECT_NE(content.find(named ? "Steam Name: P" + std::to_string(player)
                                   : "Steam Name: Not a staff member"),
                std::string::npos)
          << what << "\n"
          << content;
    }
  }
  std::ostringstream broken;
  EXPECT_EQ(
      devserver::ExplainCommand(File("broken.json", "[]").string(), "chat", "/tp", {}, broken), 1);
  EXPECT_NE(broken.str().find("The plugin would not load"), std::string::npos) << broken.str();
}

}  // namespace
