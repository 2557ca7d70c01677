#include "Configuration.h"

#include <fstream>

#include "ArkApi.h"

namespace Tallyrook {

// Constructed in this order and destroyed in the reverse one.
Json ConfigDocument;
std::unique_ptr<ChannelGroupList> InstalledChannelGroups;
std::unique_ptr<CommandLists> InstalledCommandLists;

Json ParseConfiguration(std::istream& text) {
  Json document;
  text >> document;  // reads the first value only
  return document;
}

Json ParseConfigurationFile(const std::string& path) {
  // Read-only: the plugin never writes its configuration, and a read-only file must load.
  std::ifstream file(path, std::ios::in | std::ios::binary);
  if (!file.is_open()) throw std::runtime_error("cannot open " + path);
  return ParseConfiguration(file);
}

bool LoadConfiguration() {
  try {
    ConfigDocument = ParseConfigurationFile(ArkApi::Tools::GetCurrentDir() + kConfigPath);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool InitializeManager() {
  try {
    InstalledChannelGroups = BuildChannelGroupList(ConfigDocument);
    InstalledCommandLists = std::make_unique<CommandLists>(BuildCommandLists(ConfigDocument));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

ConfigurationView InstalledConfiguration() noexcept {
  return {ConfigDocument, *InstalledChannelGroups, *InstalledCommandLists};
}

}  // namespace Tallyrook
