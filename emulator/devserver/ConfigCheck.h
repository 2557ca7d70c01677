// `tallyrook-devserver check`: what a config.json does, read by the plugin's own builders.
#pragma once

#include <ostream>
#include <string>

namespace devserver {

// Prints a summary and warnings when the plugin would load the file (exit status 0), or each
// error with its place when it would not (exit status 1).
int CheckConfig(const std::string& path, std::ostream& out);

}  // namespace devserver
