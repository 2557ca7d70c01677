// `tallyrook-devserver check` and `explain`: what a config.json does, read by the plugin's own
// builders and decided by the plugin's own decision. Neither needs the emulated game.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace devserver {

// Prints a summary and warnings when the plugin would load the file (exit status 0, or 1 with
// `strict` when there are warnings), or each error with its place when it would not (1).
int CheckConfig(const std::string& path, bool strict, std::ostream& out);

// Who sent the command `explain` is asked about.
struct ExplainedSender {
  bool admin = false;
  std::vector<std::string> groups;  // the player's permission groups
};

// Prints, step by step, what the plugin decides for one command of `kind` ("chat", "console" or
// "rcon"), ending in one line that says where the report goes or why there is none. Exit status
// 0, or 1 when the plugin would not load the file.
int ExplainCommand(const std::string& path, const std::string& kind, const std::string& command,
                   const ExplainedSender& sender, std::ostream& out);

}  // namespace devserver
