// Arbitrary game text, lone surrogates included, sent through the loaded plugin as a chat, a
// console and an RCON command: each must be reported once, as valid UTF-8 in a body that parses,
// with exactly the text a plain reference conversion gives.
#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "GameAllocator.h"
#include "Server.h"

namespace {

using Text = std::basic_string<FChar>;

// UTF-8 by another road: each unit written as a JSON \u escape (a lone surrogate as U+FFFD) and
// decoded by the JSON library.
std::string ReferenceUtf8(const Text& text) {
  std::string escaped = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned unit = text[i];
    const auto is_low = [](unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; };
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    char code[16];
    if (high && i + 1 < text.size() && is_low(text[i + 1])) {
      std::snprintf(code, sizeof code, "\\u%04x\\u%04x", unit, static_cast<unsigned>(text[++i]));
    } else {
      std::snprintf(code, sizeof code, "\\u%04x", high || is_low(unit) ? 0xFFFDu : unit);
    }
    escaped += code;
  }
  return nlohmann::json::parse(escaped + "\"").get<std::string>();
}

// The content as the relay plugin delivers it, JSON escapes decoded.
std::string Delivered(Server& server) {
  const auto deliveries = server.relay()->TakeDeliveries();
  if (deliveries.size() != 1 || !deliveries[0].delivered) std::abort();
  return nlohmann::json::parse(deliveries[0].webhook_body).at("content").get<std::string>();
}

Server& TheServer() {
  static Server* server = [] {
    const auto directory = std::filesystem::temp_directory_path() / "tallyrook-report-fuzzer";
    const auto config = directory / "ArkApi" / "Plugins" / "Tallyrook" / "config.json";
    std::filesystem::create_directories(config.parent_path());
    std::ofstream(config) << R"({"ChannelGroups": [{"Identifier": "Default",
      "Chat": {"ChannelTag": "c", "BotName": "b"}, "Console": {"ChannelTag": "c", "BotName": "b"},
      "Rcon": {"ChannelTag": "c", "BotName": "b"}}]})";
    auto* created = new Server(ServerOptions{directory.string()});
    if (!created->LoadPlugin()) std::abort();
    created->relay()->SetClock("T");
    return created;
  }();
  return *server;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Server& server = TheServer();
  Game& game = server.game();
  Text text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<FChar>(data[i] | (data[i + 1] << 8));
  }
  const std::size_t live = GameAllocator::LiveBlocks();
  EmulatedController& player = game.Player(42, FTEXT("P"));

  const std::string utf8 = ReferenceUtf8(text);
  game.SendChat(player, FTEXT("/") + text);
  const std::string chat = Delivered(server);
  if (chat !=
      "```Chat Command Received\nDate / Time: T\nRanks: \nSteam Name: P\nSteamID: 42\n"
      "Command: /" +
          utf8 + "```") {
    std::abort();
  }
  game.ConsoleCommand(player, text);
  if (Delivered(server).find("\nCommand: " + utf8 + "```") == std::string::npos) std::abort();
  game.ReceiveRconPacket(2, text);
  if (Delivered(server) != "```RCON Command Received\nDate / Time: T\nCommand: " + utf8 + "```") {
    std::abort();
  }
  if (!game.TakeViolations().empty() || GameAllocator::LiveBlocks() != live) std::abort();
  return 0;
}
