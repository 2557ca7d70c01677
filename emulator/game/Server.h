// The emulated game server as a whole: the game, the host it registered with, the sibling
// plugins the host loaded, and the Tallyrook plugin loaded and freed as the host would.
#pragma once

#include <memory>
#include <string>

#include "Game.h"
#include "StandIns.h"

struct ServerOptions {
  std::string directory;  // what the host reports as the server's directory
  bool with_relay = true;
  bool with_permissions = true;
};

class Server {
 public:
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Loads the plugin as the host's plugin manager does: reads PluginInfo.json from the plugin's
  // folder (ArkApi/Plugins/Tallyrook of the server's directory) when there is one, loads the
  // module, and logs the host's line for the outcome. The first load is the host's start: it
  // then names each dependency in PluginInfo.json that is not loaded. False, with the reason,
  // when the load failed.
  bool LoadPlugin(std::string* error = nullptr);
  // Frees the plugin if it is loaded: the game stops calling into it first, as a host must.
  void FreePlugin();
  bool PluginLoaded() const { return plugin_ != nullptr; }
  // Calls the loaded plugin's entry point with `reason`, as the loader does for thread
  // notifications; false when the entry point cannot be reached from outside (on Windows).
  bool NotifyPlugin(unsigned long reason, int& answer);

  // The host's plugin manager frees or loads a sibling module ("Skyparley" or "Permissions")
  // between commands, as on an unload or load command. A freed module is gone unless somebody
  // else holds it. Throws std::invalid_argument for another name, std::runtime_error when the
  // module cannot be loaded.
  void UnloadSibling(const std::string& name);
  void LoadSibling(const std::string& name);

  Game& game() { return game_; }
  // Null when that sibling is not loaded.
  RelayStandIn* relay() { return relay_.control; }
  PermissionsStandIn* permissions() { return permissions_.control; }

 private:
  template <typename Control>
  struct Sibling {
    const char* name;
    const char* control_symbol;
    void* module = nullptr;
    Control* control = nullptr;

    void Load();
    void Unload();
  };

  Game& game_;
  Sibling<RelayStandIn> relay_{"Skyparley", kRelayControl};
  Sibling<PermissionsStandIn> permissions_{"Permissions", kPermissionsControl};
  std::string directory_;
  void* plugin_ = nullptr;
  bool started_ = false;
};
