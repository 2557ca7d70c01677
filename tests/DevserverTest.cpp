// The devserver run as an admin runs it: a separate process, its exit status and its output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "ModuleLoader.h"

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
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ =
        fs::temp_directory_path() / (std::string("tallyrook-devserver-test-") + test->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
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

  static std::string Example(const char* name) {
    return "\"" + (fs::path(TALLYROOK_SOURCE_DIR) / "examples" / name).string() + "\"";
  }

  fs::path directory_;
};

TEST_F(DevserverTest, TheExampleSessionsGiveExactlyTheExpectedPackets) {
  for (const auto& [session, golden] : {std::pair{"session.jsonl", "example-session.jsonl"},
                                        std::pair{"attacks.jsonl", "attacks.jsonl"},
                                        std::pair{"siblings.jsonl", "siblings.jsonl"}}) {
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
                                "{\"chat\": \"hello\\u001b[2J\\u0085\\n\", \"player\": \"5\"}\n");
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
      {config, "{\"host\": \"unload Tallyrook\"}\n", 2,
       "<stdin>:1: \"host\" must be \"load\" or \"unload\", a space and \"Skyparley\" or "
       "\"Permissions\""},
      {config, "{\"host\": \"load Skyparley\", \"player\": 1}\n", 2,
       "<stdin>:1: a \"host\" event takes no other key"},
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
  const Outcome run = Devserver("check " + Example("config.json"));
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
  EXPECT_NE(run.out.find("Fallback for commands no group lists: group 4 \"Default\"\n"
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
      {"[]",
       {"top level: cannot use operator[] with a string argument with array",
        "Can't initialize manager"}},
      {R"({"ChannelGroups":[{"Identifier":"A"},{"Identifier":"B","Chat":{"ChannelTag":"t","BotName":null}}],
          "BlacklistChatCommands":["/x",{}]})",
       {"ChannelGroups[0].Chat.ChannelTag: type must be string, but is null",
        "ChannelGroups[1].Chat.BotName: type must be string, but is null",
        "BlacklistChatCommands[1]: type must be string, but is object",
        "The plugin would not load: Can't initialize manager"}},
      {R"({"RedactRconCommands":{"a":"SaveWorld","b":7}})",
       {"RedactRconCommands.b: type must be string, but is number", "Can't initialize manager"}},
  };
  for (const Case& c : cases) {
    const fs::path config = File("config.json", c.config);
    const Outcome run = Devserver("check \"" + config.string() + "\"");
    EXPECT_EQ(run.status, 1) << c.config;
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
       "reported (ChannelGroups[0] is named \"default\"; the name is case-sensitive)"},
      {"{\"ChannelGroups\":[" + group("Default", "[]") + "," + group("Default", "[]") + "]}",
       "warning: ChannelGroups[1]: the name \"Default\" is taken by ChannelGroups[0], which is "
       "the fallback"},
      {"{\"ChannelGroups\":[" + group("Default", R"(["/kick bob"])") + "]}",
       "warning: ChannelGroups[0].Chat.Commands[0]: \"/kick bob\" holds a space and never "
       "matches"},
      {R"({"IgnoreChatCommands":["/a",""]})",
       "warning: IgnoreChatCommands[1]: an empty entry never matches a command"},
      {"{\"ChannelGroups\":[" + group("Default", R"(["/LOGIN"])") +
           R"(],"BlacklistChatCommands":["/login"]})",
       "warning: ChannelGroups[0].Chat.Commands[0]: \"/LOGIN\" is blacklisted for chat commands, "
       "so it is never reported"},
      {R"({"StaffGroups":["Admins",3]})", "warning: StaffGroups[1]: not a string"},
      {R"({"IgnoreRconCommands":["ListPlayers"]})",
       "warning: LogEverything is absent: ignored console and RCON commands are never reported"},
      {R"({"IgnoreConsoleCommands":["fly"],"LogEverything":"true"})",
       "warning: LogEverything is not true or false"},
      {R"({"RedactConsoleCommands":["EnableCheatz"]})",
       "warning: the console command EnableCheats is neither blacklisted nor redacted, so its "
       "argument is reported: its argument is the server's admin password"},
      {R"({"RedactChatCommands":["/pw x"]})",
       "warning: RedactChatCommands[0]: \"/pw x\" holds a space and never matches"},
  };
  for (const Case& c : cases) {
    const fs::path config = File("config.json", c.config);
    const Outcome run = Devserver("check \"" + config.string() + "\"");
    EXPECT_EQ(run.status, 0) << c.config << run.out;
    EXPECT_NE(run.out.find(c.warning), std::string::npos) << c.config << "\n" << run.out;
  }
}

}  // namespace
