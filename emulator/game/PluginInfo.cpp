#include "PluginInfo.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <stdexcept>

namespace {

template <typename Value>
void ReadValue(const nlohmann::json& document, const char* key, Value& value) {
  try {
    if (document.is_object() && document.contains(key)) value = document.at(key).get<Value>();
  } catch (const nlohmann::json::exception&) {
    // the host's default stays
  }
}

}  // namespace

PluginInfo ReadPluginInfo(const std::filesystem::path& folder) {
  PluginInfo info;
  std::ifstream file(folder / "PluginInfo.json", std::ios::binary);
  if (!file) return info;
  nlohmann::json document;
  try {
    document = nlohmann::json::parse(file);
  } catch (const nlohmann::json::exception& error) {
    throw std::runtime_error(std::string("PluginInfo.json: ") + error.what());
  }
  ReadValue(document, "FullName", info.full_name);
  ReadValue(document, "Description", info.description);
  ReadValue(document, "Version", info.version);
  ReadValue(document, "MinApiVersion", info.min_api_version);
  ReadValue(document, "Dependencies", info.dependencies);
  return info;
}
