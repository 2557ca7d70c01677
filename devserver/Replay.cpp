#include "Replay.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <optional>

#include "Configuration.h"
#include "EmulatedHost.h"
#include "FString.h"
#include "GameAllocator.h"
#include "ModuleLoader.h"
#include "Server.h"

namespace devserver {

namespace {

// `text` fit for a terminal: control characters shown as their control pictures (C1 controls
// as U+FFFD), a line break kept only with `keep_line_breaks`.
std::string Visible(const std::string& text, bool keep_line_breaks) {
  std::string visible;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (byte == '\n' && keep_line_breaks) {
      visible += "\n  ";
    } else if (byte < 0x20 || byte == 0x7F) {
      const auto picture = static_cast<FChar>(byte == 0x7F ? 0x2421 : 0x2400 + byte);
      visible += ToUtf8(FStringView(&picture, 1));
    } else if (c1) {
      visible += "\xEF\xBF\xBD";
      ++i;
    } else {
      visible += text[i];
    }
  }
  return visible;
}

std::string Describe(const SessionEvent& event, const Players& players) {
  std::string who;  // a host action names nobody
  if (event.kind == EventKind::Rcon) {
    who = " (type " + std::to_string(event.type) + ")";
  } else if (event.kind != EventKind::Host) {
    const auto found = players.find(event.player);
    const std::string name = found != players.end() ? ToUtf8(found->second.name) : "";
    who = " from " + (name.empty() ? "" : name + " ") + "(" + std::to_string(event.player) + ")";
  }
  static const char* const kVerbs[] = {"load ", "unload ", "reload "};
  const std::string what = event.kind == EventKind::Host
                               ? kVerbs[static_cast<int>(event.host.verb)] + event.host.module +
                                     (event.host.config ? " with a new config.json" : "")
                               : ToUtf8(event.text);
  return std::string("> ") + KindName(event.kind) + Visible(who + ": " + what, false);
}

// The content as Discord shows it: the webhook body's JSON escapes decoded, and why Discord
// would not show it so.
std::string Shown(const Delivery& delivery) {
  const auto body = nlohmann::json::parse(delivery.webhook_body, nullptr, false);
  const bool decoded =
      body.is_object() && body.contains("content") && body.at("content").is_string();
  std::string shown =
      Visible(decoded ? body.at("content").get<std::string>() : delivery.packet.Content, true);
  if (!delivery.Delivered()) shown += "\n  (not delivered: " + delivery.failure + ")";
  return shown;
}

// `note`: what became of a host action, when it failed.
void Show(const SessionEvent& event, const std::vector<Delivery>& deliveries,
          const std::string& note, const ReplayOptions& options, std::ostream& out) {
  if (options.format == OutputFormat::JsonLines) {
    for (const Delivery& delivery : deliveries) {
      nlohmann::ordered_json line;
      line["ChannelTag"] = delivery.packet.ChannelTag;
      line["BotName"] = delivery.packet.BotName;
      line["Content"] = delivery.packet.Content;
      out << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    }
    return;
  }
  out << Describe(event, options.players) << "\n";
  if (deliveries.empty() && event.kind != EventKind::Host) out << "  (not reported)\n";
  if (!note.empty()) out << "  (" << note << ")\n";
  for (const Delivery& delivery : deliveries) {
    out << "  #" << delivery.packet.ChannelTag << " as " << delivery.packet.BotName << "\n  "
        << Shown(delivery) << "\n";
  }
  out << "\n";
}

// What the stand-ins know of this replay; given again after the host loads a sibling anew.
void SetUpSiblings(Server& server, const ReplayOptions& options) {
  if (RelayStandIn* relay = server.relay()) relay->SetClock(options.clock);
  if (PermissionsStandIn* permissions = server.permissions()) {
    for (const auto& [steam_id, player] : options.players) {
      permissions->SetGroups(steam_id, player.groups);
    }
  }
}

// Loads the plugin as the host would, first writing the config.json given; false, with the
// reason on `err` (the plugin's own log line is already there), when the load failed.
bool LoadPlugin(Server& server, const std::optional<std::string>& config,
                const ReplayOptions& options, std::ostream& err) {
  if (config) {
    std::ofstream file(options.server_directory + Tallyrook::kConfigPath,
                       std::ios::binary | std::ios::trunc);
    file << *config;
    if (!file.flush()) throw std::runtime_error("cannot write the new config.json");
  }
  std::string error;
  if (server.LoadPlugin(&error)) return true;
  err << "tallyrook-devserver: the plugin did not load: " << error << "\n";
  return false;
}

// Frees the plugin; a module still mapped afterwards, or a hook left, is a broken invariant.
void FreePlugin(Server& server, std::vector<std::string>& problems) {
  server.FreePlugin();
  if (ModuleLoader::IsLoaded(kPluginModule)) problems.push_back("the plugin stayed loaded");
  for (const std::string& hooked : GetEmulatedHost().HookedFunctions()) {
    problems.push_back("a hook stayed on " + hooked + " after the plugin was freed");
  }
}

// Carries out a host action; false when it was to load the plugin and the load failed.
bool Act(Server& server, const HostAction& action, const ReplayOptions& options,
         std::vector<std::string>& problems, std::ostream& err) {
  const bool plugin = action.module == kPluginModule;
  if (action.verb != HostVerb::Load) {
    plugin ? FreePlugin(server, problems) : server.UnloadSibling(action.module);
  }
  if (action.verb == HostVerb::Unload) return true;
  if (plugin) return LoadPlugin(server, action.config, options, err);
  server.LoadSibling(action.module);
  SetUpSiblings(server, options);
  return true;
}

void Send(Server& server, const SessionEvent& event) {
  Game& game = server.game();
  const FString text{FStringView(event.text)};
  switch (event.kind) {
    case EventKind::Chat:
      game.SendChat(game.Player(event.player), text.View(), event.mode);
      break;
    case EventKind::Console:
      game.ConsoleCommand(game.Player(event.player), text.View(), event.flag);
      break;
    case EventKind::Rcon:
      game.ReceiveRconPacket(event.type, text.View());
      break;
    case EventKind::Host:
      break;  // see Act
  }
}

}  // namespace

int Replay(const ReplayOptions& options, const std::vector<SessionEvent>& events, std::ostream& out,
           std::ostream& err) {
  Game& game = Game::Instance();
  for (const auto& [steam_id, player] : options.players) {
    game.Player(steam_id, player.name, player.admin);
  }
  const std::size_t live_before = GameAllocator::LiveBlocks();
  std::vector<std::string> problems;
  bool load_failed = false;
  {
    Server server(ServerOptions{options.server_directory});
    SetUpSiblings(server, options);
    if (!LoadPlugin(server, std::nullopt, options, err)) return kPluginDidNotLoad;
    for (const SessionEvent& event : events) {
      std::string note;
      if (event.kind != EventKind::Host) {
        Send(server, event);
      } else if (!Act(server, event.host, options, problems, err)) {
        note = "the plugin did not load: the session goes on without it";
        load_failed = true;
      }
      // Without the relay plugin nothing can be delivered; with it freed but held by the
      // plugin, what was queued is still there.
      const auto deliveries =
          server.relay() != nullptr ? server.relay()->TakeDeliveries() : std::vector<Delivery>{};
      Show(event, deliveries, note, options, out);
      for (const Delivery& delivery : deliveries) {
        if (!delivery.Delivered()) {
          problems.push_back("not delivered: " + delivery.failure + ": " +
                             Visible(delivery.webhook_body, false));
        }
      }
      for (auto& violation : game.TakeViolations()) problems.push_back(std::move(violation));
    }
    FreePlugin(server, problems);
  }
  const std::size_t live_after = GameAllocator::LiveBlocks();
  if (live_after != live_before) {
    problems.push_back(std::to_string(live_after - live_before) +
                       " game memory blocks still live after the plugin was freed");
  }
  for (auto& misuse : GameAllocator::TakeMisuse()) problems.push_back("game allocator: " + misuse);
  for (const auto& problem : problems)
    err << "tallyrook-devserver: invariant broken: " << problem << "\n";
  if (!problems.empty()) return kInvariantBroken;
  return load_failed ? kPluginDidNotLoad : kReplayed;
}

}  // namespace devserver
