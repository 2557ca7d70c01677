// The plugin's configuration as the load sequence installs it: the document read from
// config.json, and the channel groups and command lists built from it. All of it is written
// before the hooks are installed and only read afterwards.
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "Decision.h"
#include "FString.h"
#include "JsonPlace.h"

namespace Tallyrook {

extern Json ConfigDocument;
extern std::unique_ptr<ChannelGroupList> InstalledChannelGroups;
extern std::unique_ptr<CommandLists> InstalledCommandLists;

// Where the plugin reads its configuration below the server's directory.
inline constexpr const char* kConfigPath = "/ArkApi/Plugins/Tallyrook/config.json";

// Parses the first JSON value of the stream, ignoring what follows it; a leading UTF-8
// byte-order mark is skipped. Throws the JSON library's error when it does not parse.
Json ParseConfiguration(std::istream& text);
// The same for a file; throws std::runtime_error when the file does not open.
Json ParseConfigurationFile(const std::string& path);

// Reads config.json into ConfigDocument; false when it does not open or parse.
bool LoadConfiguration();
// Builds and installs the channel groups, then the command lists; false on any error.
bool InitializeManager();
// The installed configuration as the decision reads it; only while both are installed.
ConfigurationView InstalledConfiguration() noexcept;

}  // namespace Tallyrook
