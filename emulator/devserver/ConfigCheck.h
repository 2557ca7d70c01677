// `tallyrook-devserver check` and `explain`: what a config.json does, read by the plugin's own
// builders, matching and routing.
#pragma once

#include <ostream>
#include <string>

namespace devserver {

// Prints a summary and warnings when the plugin would load the file (exit status 0, or 1 with
// `strict` when there are warnings), or each error with its place when it would not (1).
int CheckConfig(const std::string& path, bool strict, std::ostream& out);

// Prints, step by step, what the plugin decides for one command of `kind` ("chat", "console" or
// "rcon"), sent by an administrator or not, ending in one line that says where the report goes
// or why there is none. Exit status 0, or 1 when the plugin would not load the file.
int ExplainCommand(const std::string& path, const std::string& kind, const std::string& command,
                   bool admin, std::ostream& out);

}  // namespace devserver
