// A test that runs the plugin in the emulated server: a fresh server directory with the test's
// config.json, captured log lines, and, after the test, proof that the game saw no broken rule
// and got back every block of game memory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "JsonPlace.h"
#include "LogOutput.h"
#include "Server.h"

// A new folder for one test, unique to this run of the suite, so that two runs at once on one
// machine never share or remove each other's files.
std::filesystem::path UniqueTestFolder();

// The text of the ConfigError that `work` throws, or "no error".
template <typename Work>
std::string ConfigErrorOf(Work work) {
  try {
    work();
  } catch (const Tallyrook::ConfigError& error) {
    return error.what();
  }
  return "no error";
}

// A test of code that uses game memory: afterwards every block is back and none was misused.
class GameMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  std::size_t live_blocks_at_start_ = 0;
};

class EmulatedServerTest : public GameMemoryTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the plugin's config.json with exactly these bytes.
  void WriteConfig(const std::string& text);
  std::filesystem::path ConfigPath() const;
  // Starts the server with or without the sibling plugins.
  Server& Start(bool with_relay = true, bool with_permissions = true);
  // Starts the server if needed and loads the plugin; the result of the load.
  bool LoadPlugin();
  // Writes `config` and loads the plugin, which must succeed.
  void LoadWith(const std::string& config);

  std::vector<std::string> LogLines() const { return log_->Lines(); }
  // The log lines written by the plugin (those naming the Tallyrook logger).
  std::vector<std::string> PluginLines() const;
  // The host's own lines, each as "[level] message", without its time and line end.
  std::vector<std::string> HostMessages() const;

  std::filesystem::path directory_;
  std::shared_ptr<CapturedLog> log_;
  std::optional<Server> server_;
};
