// What the devserver replays: the players file and the session of commands, both read whole
// before anything runs, so that a bad line stops the replay before it starts.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Platform.h"

namespace devserver {

// A text as the game holds it: any UTF-16, lone surrogates too.
using GameText = std::basic_string<FChar>;

// A bad input line; its text starts with "FILE:LINE: ".
class InputError : public std::runtime_error {
 public:
  InputError(const std::string& file, std::size_t line, const std::string& message)
      : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}
};

struct PlayerRecord {
  GameText name;
  std::vector<GameText> groups;
  bool admin = false;
};

using Players = std::map<std::uint64_t, PlayerRecord>;

// A command as the game receives it, or an action of the host's plugin manager between commands.
enum class EventKind { Chat, Console, Rcon, Host };

enum class HostVerb { Load, Unload, Reload };

// The module the host loads and frees, as the admin applies a config change.
inline constexpr const char* kPluginModule = "Tallyrook";

// What the host's plugin manager does: load, unload or reload a module by its name; for the
// plugin, possibly with the text of a new config.json, written before the next load.
struct HostAction {
  HostVerb verb = HostVerb::Load;
  std::string module;
  std::optional<std::string> config;
};

struct SessionEvent {
  EventKind kind = EventKind::Chat;
  GameText text;             // the command
  HostAction host;           // for the host
  std::uint64_t player = 0;  // chat and console
  std::int32_t mode = 0;     // chat
  bool flag = false;         // console
  std::int32_t type = 2;     // RCON packet type
};

// Both files are JSON whose strings may also escape a lone surrogate ("\ud800"), which JSON
// itself refuses, so that any text the game can hand the plugin can be replayed.
// A JSON object keyed by Steam ID in decimal: {"name": ..., "groups": [...], "admin": ...}.
Players ReadPlayers(const std::string& path);
// JSON Lines, one event an object; blank lines and lines starting with # are skipped.
std::vector<SessionEvent> ReadSession(std::istream& in, const std::string& name);

const char* KindName(EventKind kind);

}  // namespace devserver
