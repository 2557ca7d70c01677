#include "Server.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "EmulatedHost.h"
#include "ModuleLoader.h"
#include "PluginInfo.h"

namespace {

constexpr const char* kPlugin = "Tallyrook";

}  // namespace

template <typename Control>
void Server::Sibling<Control>::Load() {
  if (module != nullptr) return;
  std::string error;
  module = ModuleLoader::Load(name, error);
  if (module == nullptr)
    throw std::runtime_error("cannot load " + std::string(name) + ": " + error);
  using ControlFunction = Control* (*)();
  const auto function =
      reinterpret_cast<ControlFunction>(ModuleLoader::Find(module, control_symbol));
  if (function == nullptr)
    throw std::runtime_error(std::string("no ") + control_symbol + " in " + name);
  control = function();
}

template <typename Control>
void Server::Sibling<Control>::Unload() {
  ModuleLoader::Free(module);
  module = nullptr;
  if (!ModuleLoader::IsLoaded(name)) control = nullptr;
}

Server::Server(ServerOptions options) : game_(Game::Instance()), directory_(options.directory) {
  GetEmulatedHost().SetCurrentDir(options.directory);
  if (options.with_relay) {
    relay_.Load();
    relay_.control->Reset();
  }
  if (options.with_permissions) {
    permissions_.Load();
    permissions_.control->Reset();
  }
}

Server::~Server() {
  FreePlugin();
  permissions_.Unload();
  relay_.Unload();
}

void Server::UnloadSibling(const std::string& name) {
  if (name == relay_.name) return relay_.Unload();
  if (name == permissions_.name) return permissions_.Unload();
  throw std::invalid_argument("no sibling plugin " + name);
}

void Server::LoadSibling(const std::string& name) {
  if (name == relay_.name) return relay_.Load();
  if (name == permissions_.name) return permissions_.Load();
  throw std::invalid_argument("no sibling plugin " + name);
}

bool Server::LoadPlugin(std::string* error) {
  if (plugin_ != nullptr) return true;
  spdlog::logger& log = GetEmulatedHost().Log();
  const bool start = !std::exchange(started_, true);
  std::string reason;
  PluginInfo info;
  try {
    info = ReadPluginInfo(std::filesystem::path(directory_) / "ArkApi" / "Plugins" / kPlugin);
    if (info.min_api_version > kHostApiVersion)
      throw std::runtime_error(std::string(kPlugin) + " requires newer API version!");
    plugin_ = ModuleLoader::Load(kPlugin, reason);
  } catch (const std::exception& failure) {
    reason = failure.what();
  }
  if (plugin_ == nullptr) {
    log.warn("Failed to load plugin - {}: {}", kPlugin, reason);
    if (error != nullptr) *error = reason;
    return false;
  }
  log.info("Loaded plugin {} V{} ({})", info.full_name.empty() ? kPlugin : info.full_name,
           info.version, info.description);
  if (start) {
    for (const std::string& dependency : info.dependencies) {
      if (!ModuleLoader::IsLoaded(dependency))
        log.error("Plugin {} is  missing! {} might not work correctly", dependency, kPlugin);
    }
  }
  return true;
}

bool Server::NotifyPlugin(unsigned long reason, int& answer) {
  using EntryPoint = int (*)(void*, unsigned long, void*);
  const auto entry = reinterpret_cast<EntryPoint>(ModuleLoader::Find(plugin_, "DllMain"));
  if (plugin_ == nullptr || entry == nullptr) return false;
  answer = entry(plugin_, reason, nullptr);
  return true;
}

void Server::FreePlugin() {
  ModuleLoader::Free(plugin_);
  plugin_ = nullptr;
}
