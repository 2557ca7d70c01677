// Arbitrary game text, lone surrogates included, sent through the loaded plugin as a chat, a
// console and an RCON command, with an arbitrary Steam name and group: each must be reported once,
// as valid UTF-8 in a body that parses, as exactly one code block with its template's lines and
// within Discord's limit; plain short text must come through exactly as a reference conversion
// gives it.
#include <nlohmann/json.hpp>

#include <algorithm>
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

// The content as the relay plugin delivers it, JSON escapes decoded; the stand-in has already
// refused anything over Discord's limit or not one code block from first to last character.
std::string Delivered(Server& server, std::size_t lines) {
  const auto deliveries = server.relay()->TakeDeliveries();
  if (deliveries.size() != 1 || !deliveries[0].Delivered()) std::abort();
  const auto content =
      nlohmann::json::parse(deliveries[0].webhook_body).at("content").get<std::string>();
  if (static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) != lines - 1) {
    std::abort();
  }
  return content;
}

// Text that no report changes: printable ASCII without the backtick, well within the limit.
bool Plain(const Text& text) {
  return text.size() < 1000 && std::all_of(text.begin(), text.end(), [](FChar c) {
           return c >= 0x20 && c < 0x7F && c != FChar{'`'};
         });
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
  // The first unit says how much of the rest is the Steam name; a group takes the same text.
  const std::size_t name_length = text.empty() ? 0 : text[0] % (text.size());
  const Text name = text.substr(text.empty() ? 0 : 1, name_length);
  const std::size_t live = GameAllocator::LiveBlocks();
  EmulatedController& player = game.Player(42);
  player.steam_name = name;
  server.permissions()->SetGroups(42, {name});

  const std::string utf8 = ReferenceUtf8(text);
  const bool plain = Plain(text) && Plain(name);
  game.SendChat(player, FTEXT("/") + text);
  const std::string chat = Delivered(server, 6);
  if (plain && chat != "```Chat Command Received\nDate / Time: T\nRanks: " + ReferenceUtf8(name) +
                           "\nSteam Name: " + ReferenceUtf8(name) + "\nSteamID: 42\nCommand: /" +
                           utf8 + "```") {
    std::abort();
  }
  game.ConsoleCommand(player, text);
  const std::string console = Delivered(server, 6);
  if (plain && console.find("\nCommand: " + utf8 + "```") == std::string::npos) std::abort();
  game.ReceiveRconPacket(2, text);
  const std::string rcon = Delivered(server, 3);
  if (plain && rcon != "```RCON Command Received\nDate / Time: T\nCommand: " + utf8 + "```") {
    std::abort();
  }
  if (!game.TakeViolations().empty() || GameAllocator::LiveBlocks() != live) std::abort();
  return 0;
}
