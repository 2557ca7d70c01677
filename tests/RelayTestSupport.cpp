#include "RelayTestSupport.h"

namespace relay_test {

std::string Config(const std::string& extra) {
  return R"({
    "ChannelGroups": [
      {"Identifier": "Admins",
       "Chat": {"ChannelTag": "admin-chat", "BotName": "Rook", "Commands": ["/kick", "/ban"]},
       "Console": {"ChannelTag": "admin-console", "BotName": "Rook", "Commands": ["GiveItem"]},
       "Rcon": {"ChannelTag": "admin-rcon", "BotName": "Rook", "Commands": ["SaveWorld"]}},
      {"Identifier": "Default",
       "Chat": {"ChannelTag": "chat", "BotName": "Tally"},
       "Console": {"ChannelTag": "console", "BotName": "Tally"},
       "Rcon": {"ChannelTag": "rcon", "BotName": "Tally"}}
    ],
    "IgnoreChatCommands": ["/help"],
    "IgnoreConsoleCommands": ["fly"],
    "IgnoreRconCommands": ["ListPlayers"],
    "BlacklistChatCommands": ["/login"],
    "BlacklistConsoleCommands": ["EnableCheats"],
    "BlacklistRconCommands": ["Broadcast"],
    "RedactChatCommands": ["/pw", "/login"],
    "RedactConsoleCommands": ["EnableCheats", "fly", "SetPassword"],
    "RedactRconCommands": ["SaveWorld"],
    "CommandPrefixes": ["admincheat", "cheat", "/cheat"],
    "StaffGroups": ["admins"])" +
         std::string(extra.empty() ? "" : ",\n    " + extra) + "\n  }";
}

std::string Repeat(const std::string& text, std::size_t times) {
  std::string repeated;
  for (std::size_t i = 0; i < times; ++i) repeated += text;
  return repeated;
}

std::string ChatReport(const std::string& ranks, const std::string& name,
                       const std::string& steam_id, const std::string& command,
                       const std::string& clock) {
  return "```Chat Command Received\\nDate / Time: " + clock + "\\nRanks: " + ranks +
         "\\nSteam Name: " + name + "\\nSteamID: " + steam_id + "\\nCommand: " + command + "```";
}

std::string ConsoleReport(const std::string& ranks, const std::string& name,
                          const std::string& steam_id, const std::string& command) {
  return "```Console Command Received\\nDate / Time: " + std::string(kClock) +
         "\\nRanks: " + ranks + "\\nStaff Member Steam Name: " + name + "\\nSteamID: " + steam_id +
         "\\nCommand: " + command + "```";
}

std::string RconReport(const std::string& command, const std::string& clock) {
  return "```RCON Command Received\\nDate / Time: " + clock + "\\nCommand: " + command + "```";
}

std::string Shown(const std::vector<Delivery>& deliveries) {
  std::string shown;
  for (const Delivery& delivery : deliveries) {
    if (!shown.empty()) shown += "\n";
    shown +=
        delivery.packet.ChannelTag + "|" + delivery.packet.BotName + "|" + delivery.packet.Content;
    if (!delivery.Delivered()) shown += "|UNDELIVERABLE: " + delivery.failure;
  }
  return shown;
}

}  // namespace relay_test

using namespace relay_test;

void RelayTest::Load(const std::string& config, bool with_relay, bool with_permissions) {
  WriteConfig(config);
  Start(with_relay, with_permissions);
  ASSERT_TRUE(server_->LoadPlugin());
  if (RelayStandIn* relay = server_->relay()) relay->SetClock(kClock);
  if (PermissionsStandIn* permissions = server_->permissions()) {
    permissions->SetGroups(kAlice, {FTEXT("Admins"), FTEXT("Players")});
    permissions->SetGroups(kBob, {FTEXT("Players")});
    permissions->SetGroups(kMax, {FTEXT("Admins")});
  }
}

EmulatedController& RelayTest::Player(uint64 steam_id) {
  Game& game = server_->game();
  game.Player(kAlice, FTEXT("Alice"), true);
  game.Player(kBob, FTEXT("Bob"), false);
  game.Player(kCarol, FTEXT("Carol"), false);
  game.Player(kMax, FTEXT("Max"), false);
  return game.Player(steam_id);
}

std::string RelayTest::Chat(uint64 player, const std::string& message) {
  server_->game().SendChat(Player(player), FString::FromUtf8(message).View(), 5);
  return Outcome();
}

std::string RelayTest::Console(uint64 player, const std::string& command) {
  server_->game().ConsoleCommand(Player(player), FString::FromUtf8(command).View(), true);
  return Outcome();
}

std::string RelayTest::Rcon(const std::string& body, std::int32_t type) {
  server_->game().ReceiveRconPacket(type, FString::FromUtf8(body).View());
  return Outcome();
}

std::string RelayTest::Outcome() {
  EXPECT_EQ(server_->game().TakeViolations(), std::vector<std::string>{});
  return server_->relay() != nullptr ? Shown(server_->relay()->TakeDeliveries()) : "";
}
