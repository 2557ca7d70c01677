#include "BenchServer.h"

#include <fstream>
#include <string>
#include <vector>

#include "EmulatedHost.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCommandsPerChannel = 10;

}  // namespace

nlohmann::json Config(int groups) {
  nlohmann::json config;
  config["ChannelGroups"] = nlohmann::json::array();
  for (int g = 0; g < groups; ++g) {
    nlohmann::json group;
    group["Identifier"] = g == groups - 1 ? "Default" : "G" + std::to_string(g);
    for (const char* kind : {"Chat", "Console", "Rcon"}) {
      std::vector<std::string> commands;
      for (int c = 0; c < kCommandsPerChannel; ++c) {
        const bool routed = g == std::max(groups - 2, 0) && c == kCommandsPerChannel - 1;
        commands.push_back(routed ? "routed" : "g" + std::to_string(g) + "c" + std::to_string(c));
      }
      if (std::string(kind) == "Chat") {
        for (auto& command : commands) command = "/" + command;
      }
      group[kind] = {{"ChannelTag", "tag"}, {"BotName", "bot"}, {"Commands", commands}};
    }
    config["ChannelGroups"].push_back(group);
  }
  config["BlacklistChatCommands"] = {"/blocked"};
  config["BlacklistConsoleCommands"] = {"blocked"};
  config["BlacklistRconCommands"] = {"blocked"};
  config["StaffGroups"] = {"Admins"};
  return config;
}

LoadedServer::LoadedServer(int groups) {
  directory_ = fs::temp_directory_path() / ("tallyrook-bench-" + std::to_string(groups));
  const fs::path config = directory_ / "ArkApi" / "Plugins" / "Tallyrook" / "config.json";
  fs::create_directories(config.parent_path());
  std::ofstream(config) << Config(groups).dump();
  GetEmulatedHost().SetCallRecording(false);
  server_ = std::make_unique<Server>(ServerOptions{directory_.string()});
  server_->LoadPlugin();
  server_->relay()->KeepDeliveries(false);
  server_->relay()->SetClock("2026-12-09 20:15:00");
  server_->permissions()->SetGroups(7, {FTEXT("Admins"), FTEXT("Players")});
  player_ = &server_->game().Player(7, FTEXT("Ada"), true);
}

LoadedServer::~LoadedServer() {
  server_.reset();
  fs::remove_all(directory_);
}
