// Replaying a session through the plugin loaded in the emulated server.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Session.h"

namespace devserver {

enum class OutputFormat { Text, JsonLines };

struct ReplayOptions {
  std::string server_directory;
  Players players;
  std::string clock;  // empty for the local time
  OutputFormat format = OutputFormat::Text;
};

// Exit statuses of a replay.
inline constexpr int kReplayed = 0;
inline constexpr int kPluginDidNotLoad = 3;
inline constexpr int kInvariantBroken = 4;

// Loads the plugin, sends each event through the game or has the host act on it, shows every
// report on `out`, frees the plugin and checks the game's invariants. Problems go to `err`. A
// host action whose load of the plugin fails leaves the session to go on without it, and the
// replay ends in kPluginDidNotLoad.
int Replay(const ReplayOptions& options, const std::vector<SessionEvent>& events, std::ostream& out,
           std::ostream& err);

}  // namespace devserver
