#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <regex>
#include <thread>

#include <spdlog/logger.h>

#include "EmulatedHost.h"
#include "EmulatedServerFixture.h"
#include "GameAllocator.h"
#include "LogLibrary.h"
#include "ModuleLoader.h"
#include "PluginInfo.h"

namespace {

namespace fs = std::filesystem;

class LifecycleTest : public EmulatedServerTest {};

// A log line ends as the platform's lines do.
#ifdef _WIN32
#define LINE_END R"(\r\n)"
#else
#define LINE_END R"(\n)"
#endif
const std::regex kPluginLine(
    R"(\d\d/\d\d/\d\d \d\d:\d\d \[Tallyrook\]\[error\] Exception: Can't parse configuration)" LINE_END);
const std::regex kHostLine(
    R"(\[\d{4}\.\d\d\.\d\d-\d\d\.\d\d\.\d\d\] \[ArkApi\] \[info\] the host goes on)" LINE_END);

// The calls the plugin made to the host's hook manager since the record was last taken.
std::vector<std::string> HookManagerCalls() {
  std::vector<std::string> calls;
  for (auto& call : GetEmulatedHost().TakeCallRecord()) {
    if (call.rfind("IHooks::", 0) == 0) calls.push_back(std::move(call));
  }
  return calls;
}

#ifndef _WIN32
// The threads of this process now.
std::size_t Threads() {
  const auto tasks = std::filesystem::directory_iterator("/proc/self/task");
  return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}
#endif

TEST_F(LifecycleTest, ThirtyReloadsFollowTheNewestConfigAndLeaveNothingBehind) {
  Server& server = Start();
  EmulatedController& player = server.game().Player(5, FTEXT("Ada"), false);
#ifndef _WIN32
  std::size_t threads = 0;  // after the first cycle, which starts what runtimes start lazily
#endif
  for (int cycle = 0; cycle < 30; ++cycle) {
    // Two groups, so that every report starts routing tasks; the fallback's tag changes.
    const std::string tag = "cycle-" + std::to_string(cycle);
    const std::string channel = R"({"ChannelTag": ")" + tag + R"(", "BotName": "b"})";
    WriteConfig(
        R"({"ChannelGroups": [{"Identifier": "A", "Chat": {"ChannelTag": "a", "BotName": "b",
      "Commands": ["/a"]}, "Console": )" +
        channel + R"(, "Rcon": )" + channel + R"(},
      {"Identifier": "Default", "Chat": )" +
        channel + R"(, "Console": )" + channel + R"(, "Rcon": )" + channel + "}]}");
    const std::size_t blocks = GameAllocator::LiveBlocks();
    ASSERT_FALSE(ModuleLoader::IsLoaded("Tallyrook")) << cycle;
    ASSERT_TRUE(server.LoadPlugin()) << cycle;
    EXPECT_TRUE(ModuleLoader::IsLoaded("Tallyrook")) << cycle;  // mapped anew, entry point run
    server.game().SendChat(player, FTEXT("/tp"));
    const auto deliveries = server.relay()->TakeDeliveries();
    ASSERT_EQ(deliveries.size(), 1u) << cycle;
    EXPECT_EQ(deliveries[0].packet.ChannelTag, tag);
    server.FreePlugin();
    // Really freed: no reference (a pool callback, a held handle) keeps the module mapped.
    EXPECT_FALSE(ModuleLoader::IsLoaded("Tallyrook")) << cycle;
    EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{}) << cycle;
    EXPECT_EQ(GameAllocator::LiveBlocks(), blocks) << cycle;
    EXPECT_EQ(server.game().TakeViolations(), std::vector<std::string>{}) << cycle;
#ifndef _WIN32
    // Routing tasks run on threads of their own here, joined before a report is sent. (On
    // Windows they are the system pool's, which would hold the module while one runs.)
    if (cycle == 0) threads = Threads();
    EXPECT_EQ(Threads(), threads) << cycle;
#endif
  }
}

TEST_F(LifecycleTest, ASuccessfulLoadAnswersTrueWritesNothingAndUnloadRemovesTheHooks) {
  WriteConfig("{}");
  ASSERT_TRUE(LoadPlugin());
  EXPECT_EQ(PluginLines(), std::vector<std::string>{});
  // Without a PluginInfo.json the host names the plugin by its folder, with its defaults.
  EXPECT_EQ(HostMessages(),
            std::vector<std::string>{"[info] Loaded plugin Tallyrook V1 (No description)"});
  EXPECT_EQ(
      GetEmulatedHost().HookedFunctions(),
      (std::vector<std::string>{Game::kChatFunction, Game::kConsoleFunction, Game::kRconFunction}));
  GetEmulatedHost().TakeCallRecord();
  server_->FreePlugin();
  EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{});
  EXPECT_EQ(GetEmulatedHost().TakeCallRecord(),
            (std::vector<std::string>{std::string("IHooks::DisableHook ") + Game::kChatFunction,
                                      std::string("IHooks::DisableHook ") + Game::kConsoleFunction,
                                      std::string("IHooks::DisableHook ") + Game::kRconFunction}));
}

TEST_F(LifecycleTest, AFailedLoadWritesOneFlushedLineInThePluginsPatternAndInstallsNothing) {
  // No config.json at all.
  std::string error;
  ASSERT_FALSE(Start().LoadPlugin(&error));
  EXPECT_NE(error.find("Tallyrook"), std::string::npos) << error;
#ifdef _WIN32
  // The loader's own answer to an entry point that returned FALSE.
  EXPECT_NE(error.find("error 1114"), std::string::npos) << error;
#endif
  const auto lines = PluginLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(lines[0], kPluginLine)) << lines[0];
  EXPECT_EQ(log_->FlushedLines(), 2u);  // the plugin's line, then the host's warning
  EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{});
  // The detach that follows the failure removes nothing.
  for (const auto& call : GetEmulatedHost().TakeCallRecord()) {
    EXPECT_EQ(call.find("IHooks::"), std::string::npos) << call;
  }
}

TEST_F(LifecycleTest, TheHostKeepsItsOwnFormatAndLogsSafelyAfterThePluginIsFreed) {
  ASSERT_FALSE(LoadPlugin());  // writes the plugin's line, then frees the plugin
  GetEmulatedHost().Log().info("the host goes on");
  // Another plugin logs through the very sinks the freed plugin was handed. With spdlog 1.x
  // their formatter must be the sinks' own, never one made by the freed plugin's code; with
  // 0.x the other plugin's logger formats, in spdlog's own default pattern.
  spdlog::logger("Other", GetLogSinks().begin(), GetLogSinks().end())
      .info("another plugin goes on");
  auto lines = LogLines();
  ASSERT_EQ(lines.size(), 4u);
  lines.erase(lines.begin() + 1);  // the host's warning of the failed load
  EXPECT_TRUE(std::regex_match(lines[0], kPluginLine)) << lines[0];
  EXPECT_TRUE(std::regex_match(lines[1], kHostLine)) << lines[1];
#if TALLYROOK_SINKS_FORMAT
  const std::regex other(
      R"(\d\d/\d\d/\d\d \d\d:\d\d \[Other\]\[info\] another plugin goes on)" LINE_END);
#else
  const std::regex other(
      R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\] \[Other\] \[info\] another plugin goes on)" LINE_END);
#endif
  EXPECT_TRUE(std::regex_match(lines[2], other)) << lines[2];
}

TEST_F(LifecycleTest, OnlyTheSinksTheHostHadWhenTheLogWasMadeAndThatAdmitErrorsGetTheLine) {
  auto strict = std::make_shared<CapturedLog>();
  GetEmulatedHost().AddLogOutput(strict, spdlog::level::critical);
  auto late = std::make_shared<CapturedLog>();
  // The plugin asks for the server directory after making its log and before it fails.
  GetEmulatedHost().OnCurrentDirRequested([&] { GetEmulatedHost().AddPluginSink(late); });
  ASSERT_FALSE(LoadPlugin());
  EXPECT_EQ(PluginLines().size(), 1u);
  EXPECT_EQ(strict->Lines(), std::vector<std::string>{});
  EXPECT_EQ(late->Lines(), std::vector<std::string>{});
}

TEST_F(LifecycleTest, ALogThatCannotBeMadeFailsTheLoadWithoutAnExceptionLeavingTheEntryPoint) {
#if !TALLYROOK_SINKS_FORMAT
  GTEST_SKIP() << "spdlog 0.x makes a log without calling any of its sinks";
#endif
  WriteConfig("{}");
  GetEmulatedHost().AddFailingPluginSink();
  std::string error;
  EXPECT_FALSE(Start().LoadPlugin(&error));
  EXPECT_NE(error.find("Tallyrook"), std::string::npos) << error;
  EXPECT_EQ(PluginLines(), std::vector<std::string>{});
  EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{});
}

TEST_F(LifecycleTest, AHookInstallationThatFailsPartWayLeavesNoHookBehind) {
  WriteConfig("{}");
  const char* const functions[] = {Game::kChatFunction, Game::kConsoleFunction,
                                   Game::kRconFunction};
  for (const bool after_installing : {false, true}) {
    for (int nth = 1; nth <= 3; ++nth) {
      GetEmulatedHost().FailSetHook(nth, after_installing);
      GetEmulatedHost().TakeCallRecord();
      EXPECT_FALSE(LoadPlugin()) << nth;
      EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{}) << nth;
      // Each hook attempted is removed once, the one that threw included; the unload step of
      // the failed load removes nothing more.
      std::vector<std::string> expected;
      for (int i = 0; i < nth; ++i)
        expected.push_back(std::string("IHooks::SetHook ") + functions[i]);
      for (int i = 0; i < nth; ++i) {
        expected.push_back(std::string("IHooks::DisableHook ") + functions[i]);
      }
      EXPECT_EQ(HookManagerCalls(), expected) << nth << (after_installing ? " after" : " before");
    }
  }
  const auto lines = PluginLines();
  ASSERT_EQ(lines.size(), 6u);
  // The C++ runtime names the exception: libstdc++ "std::bad_alloc", MSVC's "bad allocation".
  EXPECT_NE(lines[5].find(std::string("[error] Exception: ") + std::bad_alloc().what()),
            std::string::npos)
      << lines[5];
  ASSERT_TRUE(LoadPlugin());  // and the next load installs all three
  EXPECT_EQ(GetEmulatedHost().HookedFunctions().size(), 3u);
}

TEST_F(LifecycleTest, TheHostReadsPluginInfoJsonBeforeItLoadsThePluginAndNamesMissingDependencies) {
  struct Case {
    const char* plugin_info;  // null: no file
    bool loads;
    std::vector<std::string> host_messages;  // a message ending in "..." is a prefix
  };
  const Case cases[] = {
      {nullptr, true, {"[info] Loaded plugin Tallyrook V1 (No description)"}},
      {R"({"FullName": "Tally", "Description": "d", "Version": 2.5, "Dependencies": ["Permissions"]})",
       true,
       {"[info] Loaded plugin Tally V2.5 (d)"}},
      // A value of the wrong type keeps the host's default; a dependency not loaded is named.
      {R"({"FullName": 7, "Dependencies": ["NoSuchPlugin", "Permissions"]})",
       true,
       {"[info] Loaded plugin Tallyrook V1 (No description)",
        "[error] Plugin NoSuchPlugin is  missing! Tallyrook might not work correctly"}},
      {R"({"Version": 0.1,)",
       false,
       {"[warning] Failed to load plugin - Tallyrook: PluginInfo.json: ..."}},
      {R"({"MinApiVersion": 99})",
       false,
       {"[warning] Failed to load plugin - Tallyrook: Tallyrook requires newer API version!"}},
  };
  WriteConfig("{}");
  const fs::path info_path = ConfigPath().parent_path() / "PluginInfo.json";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plugin_info ? c.plugin_info : "no PluginInfo.json");
    fs::remove(info_path);
    if (c.plugin_info != nullptr) std::ofstream(info_path, std::ios::binary) << c.plugin_info;
    server_.reset();  // each case is the host's start
    const std::size_t plugin_lines = PluginLines().size();
    const auto earlier = static_cast<std::ptrdiff_t>(HostMessages().size());
    EXPECT_EQ(LoadPlugin(), c.loads);
    const auto all = HostMessages();
    const std::vector<std::string> messages(all.begin() + earlier, all.end());
    ASSERT_EQ(messages.size(), c.host_messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
      const std::string& expected = c.host_messages[i];
      const bool prefix =
          expected.size() > 3 && expected.compare(expected.size() - 3, 3, "...") == 0;
      if (prefix) {
        EXPECT_EQ(messages[i].rfind(expected.substr(0, expected.size() - 3), 0), 0u) << messages[i];
      } else {
        EXPECT_EQ(messages[i], expected);
      }
    }
    // A plugin the host does not load never runs: nothing of it in the log, no hook.
    if (!c.loads) {
      EXPECT_EQ(PluginLines().size(), plugin_lines);
      EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{});
    }
    server_->FreePlugin();
  }
}

// The host returns its four-field description by value through the caller's slot. Called as the
// ABI passes that slot, the host must fill exactly the 32 bytes the plugin's BitField holds: a
// shorter declaration would give the host a slot it writes past.
TEST(HostLayoutTest, GetBitFieldFillsExactlyTheSlotThePluginDeclares) {
  using RawGetBitField =
      void* (*)(unsigned char* slot, const void* object, const std::string& member);
  const auto raw = reinterpret_cast<RawGetBitField>(reinterpret_cast<void (*)()>(&GetBitField));
  EmulatedController& player = Game::Instance().Player(0xB17F, FTEXT("Bits"), true);
  unsigned char slot[48];
  std::memset(slot, 0xCD, sizeof slot);
  raw(slot, &player, Game::kAdminField);
  std::size_t written = sizeof slot;
  while (written > 0 && slot[written - 1] == 0xCD) --written;
  EXPECT_EQ(written, sizeof(BitField));
  std::uint64_t word = 0, count = 0, length = 0;
  std::uint32_t position = 0;
  std::memcpy(&word, slot, 8);
  std::memcpy(&position, slot + 8, 4);
  std::memcpy(&count, slot + 16, 8);
  std::memcpy(&length, slot + 24, 8);
  EXPECT_EQ(word, reinterpret_cast<std::uintptr_t>(&player.flags));
  EXPECT_EQ(position, kAdminBit);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(length, sizeof player.flags);
  // And the plugin's declaration reads the same fields.
  const BitField field = GetBitField(&player, Game::kAdminField);
  EXPECT_EQ(field.Word, word);
  EXPECT_EQ(field.BitPosition, position);
  EXPECT_EQ(field.NumBits, count);
  EXPECT_EQ(field.Length, length);
  EXPECT_EQ(ReadBitField(field), 1u);
}

TEST(PluginInfoTest, TheShippedFileCarriesTheProjectsVersionAndNamesBothSiblings) {
  const PluginInfo info = ReadPluginInfo(fs::path(TALLYROOK_SOURCE_DIR) / "packaging");
  EXPECT_EQ(info.full_name, "Tallyrook");
  EXPECT_FLOAT_EQ(info.version, std::stof(TALLYROOK_VERSION));
  EXPECT_EQ(info.min_api_version, 0.0f);
  EXPECT_EQ(info.dependencies, (std::vector<std::string>{"Permissions", "Skyparley"}));
}

#ifdef _WIN32
TEST_F(LifecycleTest, ThreadsStartingAndEndingChangeNothingOnWindows) {
  // The loader tells the plugin of each thread that starts and ends.
  WriteConfig("{}");
  ASSERT_TRUE(LoadPlugin());
  const auto hooks = GetEmulatedHost().HookedFunctions();
  for (int i = 0; i < 4; ++i) std::thread([] {}).join();
  EXPECT_EQ(GetEmulatedHost().HookedFunctions(), hooks);
  EXPECT_EQ(PluginLines(), std::vector<std::string>{});
}
#else
TEST_F(LifecycleTest, ThreadNotificationsAndUnknownReasonsAnswerTrueAndChangeNothingOnLinux) {
  WriteConfig("{}");
  ASSERT_TRUE(LoadPlugin());
  const auto hooks = GetEmulatedHost().HookedFunctions();
  for (const unsigned long reason : {2ul, 3ul, 4ul, 99ul, 0xFFFFFFFFul}) {
    int answer = -1;
    ASSERT_TRUE(server_->NotifyPlugin(reason, answer));
    EXPECT_EQ(answer, 1) << reason;
    EXPECT_EQ(GetEmulatedHost().HookedFunctions(), hooks) << reason;
  }
  EXPECT_EQ(PluginLines(), std::vector<std::string>{});
}
#endif

}  // namespace
