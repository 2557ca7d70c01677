// What the host reads of a plugin's PluginInfo.json before it loads the plugin, with the host's
// defaults for what the file leaves out.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct PluginInfo {
  std::string full_name;
  std::string description = "No description";
  float version = 1.0f;
  float min_api_version = 0.0f;
  std::vector<std::string> dependencies;
};

// The API version the emulated host reports to plugins that ask for a minimum.
inline constexpr float kHostApiVersion = 3.5f;

// Reads `folder`/PluginInfo.json when there is one; a value of the wrong type keeps its default,
// as with the host. Throws std::runtime_error when the file is not valid JSON: the host parses it
// outside its handling of the values, and that plugin's load fails.
PluginInfo ReadPluginInfo(const std::filesystem::path& folder);
