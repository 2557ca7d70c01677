#include "Replay.h"

#include <nlohmann/json.hpp>

#include "FString.h"
#include "GameAllocator.h"
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
  const std::string what =
      event.kind == EventKind::Host
          ? std::string(event.host.verb == HostVerb::Load ? "load " : "unload ") + event.host.module
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

void Show(const SessionEvent& event, const std::vector<Delivery>& deliveries,
          const ReplayOptions& options, std::ostream& out) {
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

void Send(Server& server, const SessionEvent& event, const ReplayOptions& options) {
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
      if (event.host.verb == HostVerb::Unload) {
        server.UnloadSibling(event.host.module);
      } else {
        server.LoadSibling(event.host.module);
        SetUpSiblings(server, options);
      }
      break;
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
  {
    Server server(ServerOptions{options.server_directory});
    SetUpSiblings(server, options);
    std::string error;
    if (!server.LoadPlugin(&error)) {
      err << "tallyrook-devserver: the plugin did not load: " << error << "\n";
      return kPluginDidNotLoad;
    }
    for (const SessionEvent& event : events) {
      Send(server, event, options);
      // Without the relay plugin nothing can be delivered; with it freed but held by the
      // plugin, what was queued is still there.
      const auto deliveries =
          server.relay() != nullptr ? server.relay()->TakeDeliveries() : std::vector<Delivery>{};
      Show(event, deliveries, options, out);
      for (const Delivery& delivery : deliveries) {
        if (!delivery.Delivered()) {
          problems.push_back("not delivered: " + delivery.failure + ": " +
                             Visible(delivery.webhook_body, false));
        }
      }
      for (auto& violation : game.TakeViolations()) problems.push_back(std::move(violation));
    }
    server.FreePlugin();
  }
  const std::size_t live_after = GameAllocator::LiveBlocks();
  if (live_after != live_before) {
    problems.push_back(std::to_string(live_after - live_before) +
                       " game memory blocks still live after the plugin was freed");
  }
  for (auto& misuse : GameAllocator::TakeMisuse()) problems.push_back("game allocator: " + misuse);
  for (const auto& problem : problems)
    err << "tallyrook-devserver: invariant broken: " << problem << "\n";
  return problems.empty() ? kReplayed : kInvariantBroken;
}

}  // namespace devserver
