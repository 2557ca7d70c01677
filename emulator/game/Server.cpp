#include "Server.h"

#include <stdexcept>

#include "EmulatedHost.h"
#include "ModuleLoader.h"

namespace {

void* LoadSibling(const std::string& module) {
  std::string error;
  void* handle = ModuleLoader::Load(module, error);
  if (handle == nullptr) throw std::runtime_error("cannot load " + module + ": " + error);
  return handle;
}

template <typename Control>
Control ControlOf(void* module, const char* symbol) {
  const auto control = reinterpret_cast<Control>(ModuleLoader::Find(module, symbol));
  if (control == nullptr) throw std::runtime_error(std::string("no ") + symbol + " in a sibling");
  return control;
}

}  // namespace

Server::Server(ServerOptions options) : game_(Game::Instance()) {
  GetEmulatedHost().SetCurrentDir(options.directory);
  if (options.with_relay) {
    relay_module_ = LoadSibling("Skyparley");
    relay_ = ControlOf<RelayControlFunction>(relay_module_, kRelayControl)();
  }
  if (options.with_permissions) {
    permissions_module_ = LoadSibling("Permissions");
    permissions_ =
        ControlOf<PermissionsControlFunction>(permissions_module_, kPermissionsControl)();
  }
}

Server::~Server() {
  FreePlugin();
  ModuleLoader::Free(permissions_module_);
  ModuleLoader::Free(relay_module_);
}

bool Server::LoadPlugin(std::string* error) {
  if (plugin_ != nullptr) return true;
  std::string reason;
  plugin_ = ModuleLoader::Load("Tallyrook", reason);
  if (plugin_ == nullptr && error != nullptr) *error = reason;
  return plugin_ != nullptr;
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
