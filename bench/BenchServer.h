// A server with the plugin loaded on a configuration of a given number of channel groups, as
// the benchmarks drive it.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>

#include "Server.h"

// `groups` groups of ten commands per channel, the last named "Default"; the routed command
// ("routed", "/routed" for chat) is listed by the last group but one, so that every task before
// it is a miss.
nlohmann::json Config(int groups);

// A server with the plugin loaded on Config(groups); the relay stand-in only counts and copies
// what it is given, and player 7, "Ada", is an administrator in Admins and Players.
class LoadedServer {
 public:
  explicit LoadedServer(int groups);
  ~LoadedServer();
  LoadedServer(const LoadedServer&) = delete;
  LoadedServer& operator=(const LoadedServer&) = delete;
  Server& server() { return *server_; }
  EmulatedController& player() { return *player_; }

 private:
  std::filesystem::path directory_;
  std::unique_ptr<Server> server_;
  EmulatedController* player_ = nullptr;
};
