// Arbitrary game text, lone surrogates included, sent through the loaded plugin as a chat, a
// console and an RCON command: each must be reported once, as valid UTF-8 in a body that parses,
// with exactly the text a plain reference conversion gives.
#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "GameAllocator.h"
#include "Server.h"

namespace {

using Text = std::basic_string<FChar>;

std::string ReferenceUtf8(const Text& text) {
  std::string out;
  const auto put = [&out](std::uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint32_t unit = text[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool next_low = i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (high && next_low) {
      put(0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00u));
    } else {
      put(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
  }
  return out;
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
