#include "EmulatedServerFixture.h"

#include <fstream>
#include <random>
#include <regex>

#include "EmulatedHost.h"
#include "GameAllocator.h"

namespace fs = std::filesystem;

fs::path UniqueTestFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      std::string("tallyrook-") + test->test_suite_name() + "-" + test->name() + "-";
  std::random_device random;
  for (;;) {
    const fs::path folder = fs::temp_directory_path() / (name + std::to_string(random()));
    if (fs::create_directories(folder)) return folder;  // false: it was there already
  }
}

void GameMemoryTest::SetUp() {
  // Each test starts from a new game, whatever players an earlier test of the process made.
  Game::Instance().ForgetPlayers();
  GameAllocator::TakeMisuse();
  live_blocks_at_start_ = GameAllocator::LiveBlocks();
}

void GameMemoryTest::TearDown() {
  EXPECT_EQ(GameAllocator::LiveBlocks(), live_blocks_at_start_) << "game memory left behind";
  EXPECT_EQ(GameAllocator::TakeMisuse(), std::vector<std::string>{});
}

void EmulatedServerTest::SetUp() {
  GameMemoryTest::SetUp();
  directory_ = UniqueTestFolder();
  fs::create_directories(ConfigPath().parent_path());
  EmulatedHost& host = GetEmulatedHost();
  host.RemoveLogOutputs();
  log_ = std::make_shared<CapturedLog>();
  host.AddLogOutput(log_);
  host.TakeCallRecord();
}

void EmulatedServerTest::TearDown() {
  if (server_) {
    server_->FreePlugin();
    EXPECT_EQ(server_->game().TakeViolations(), std::vector<std::string>{});
    server_.reset();
  }
  GameMemoryTest::TearDown();
  EmulatedHost& host = GetEmulatedHost();
  host.OnCurrentDirRequested(nullptr);
  host.RemoveLogOutputs();
  host.AddLogOutput(std::make_shared<StandardErrorOutput>(), spdlog::level::info);
  std::error_code ignored;
  fs::permissions(ConfigPath(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(directory_, ignored);
}

fs::path EmulatedServerTest::ConfigPath() const {
  return directory_ / "ArkApi" / "Plugins" / "Tallyrook" / "config.json";
}

void EmulatedServerTest::WriteConfig(const std::string& text) {
  std::ofstream file(ConfigPath(), std::ios::binary | std::ios::trunc);
  file << text;
}

Server& EmulatedServerTest::Start(bool with_relay, bool with_permissions) {
  if (!server_) server_.emplace(ServerOptions{directory_.string(), with_relay, with_permissions});
  return *server_;
}

bool EmulatedServerTest::LoadPlugin() {
  return Start().LoadPlugin();
}

void EmulatedServerTest::LoadWith(const std::string& config) {
  WriteConfig(config);
  ASSERT_TRUE(LoadPlugin()) << "the plugin did not load";
}

std::vector<std::string> EmulatedServerTest::PluginLines() const {
  std::vector<std::string> lines;
  for (const auto& line : log_->Lines()) {
    if (line.find("[Tallyrook]") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> EmulatedServerTest::HostMessages() const {
  static const std::regex host_line(R"(\[[^\]]*\] \[ArkApi\] (\[\w+\] [^\r\n]*)\r?\n)");
  std::vector<std::string> messages;
  std::smatch match;
  for (const auto& line : log_->Lines()) {
    if (std::regex_match(line, match, host_line)) messages.push_back(match[1]);
  }
  return messages;
}
