#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "EmulatedHost.h"
#include "EmulatedServerFixture.h"

namespace {

class LifecycleTest : public EmulatedServerTest {};

const std::regex kPluginLine(
    R"(\d\d/\d\d/\d\d \d\d:\d\d \[Tallyrook\]\[error\] Exception: Can't parse configuration\r?\n)");
const std::regex kHostLine(
    R"(\[\d{4}\.\d\d\.\d\d-\d\d\.\d\d\.\d\d\] \[ArkApi\] \[info\] the host goes on\r?\n)");

TEST_F(LifecycleTest, ASuccessfulLoadAnswersTrueWritesNothingAndUnloadRemovesTheHooks) {
  WriteConfig("{}");
  ASSERT_TRUE(LoadPlugin());
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
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
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(lines[0], kPluginLine)) << lines[0];
  EXPECT_EQ(log_->FlushedLines(), 1u);
  EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{});
  // The detach that follows the failure removes nothing.
  for (const auto& call : GetEmulatedHost().TakeCallRecord()) {
    EXPECT_EQ(call.find("IHooks::"), std::string::npos) << call;
  }
}

TEST_F(LifecycleTest, TheHostKeepsItsOwnFormatAndLogsSafelyAfterThePluginIsFreed) {
  ASSERT_FALSE(LoadPlugin());  // writes the plugin's line, then frees the plugin
  GetEmulatedHost().Log().info("the host goes on");
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[0], kPluginLine)) << lines[0];
  EXPECT_TRUE(std::regex_match(lines[1], kHostLine)) << lines[1];
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

TEST_F(LifecycleTest, AHookInstallationThatFailsPartWayLeavesNoHookBehind) {
  WriteConfig("{}");
  for (int nth = 1; nth <= 3; ++nth) {
    GetEmulatedHost().FailSetHook(nth);
    EXPECT_FALSE(LoadPlugin()) << nth;
    EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{}) << nth;
  }
  const auto lines = PluginLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[2].find("[error] Exception: std::bad_alloc"), std::string::npos) << lines[2];
  ASSERT_TRUE(LoadPlugin());  // and the next load installs all three
  EXPECT_EQ(GetEmulatedHost().HookedFunctions().size(), 3u);
}

#ifdef _WIN32
TEST_F(LifecycleTest, ThreadsStartingAndEndingChangeNothingOnWindows) {
  // The loader tells the plugin of each thread that starts and ends.
  WriteConfig("{}");
  ASSERT_TRUE(LoadPlugin());
  const auto hooks = GetEmulatedHost().HookedFunctions();
  for (int i = 0; i < 4; ++i) std::thread([] {}).join();
  EXPECT_EQ(GetEmulatedHost().HookedFunctions(), hooks);
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
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
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
}
#endif

}  // namespace
