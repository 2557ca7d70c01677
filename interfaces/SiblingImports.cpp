// The plugin's import stubs for its sibling plugins. Each operation is bound at its first call by
// its exported (Itanium C++ ABI) name, as a delayed import would be, and the address is cached.
// A missing module or function throws at that call; the plugin loads without either sibling.
#include <atomic>

#include "ArkApi.h"
#include "Permissions.h"
#include "Skyparley.h"

namespace {

template <typename Function>
class LazyImport {
 public:
  constexpr LazyImport(const char* module, const char* symbol) : module_(module), symbol_(symbol) {}

  Function Get() {
    Function function = address_.load(std::memory_order_acquire);
    if (function == nullptr) {
      function = reinterpret_cast<Function>(Platform::FindSiblingFunction(module_, symbol_));
      address_.store(function, std::memory_order_release);
    }
    return function;
  }

 private:
  const char* module_;
  const char* symbol_;
  std::atomic<Function> address_{nullptr};
};

LazyImport<std::string (*)()> make_time_string("Skyparley",
                                               "_ZN9Skyparley14MakeTimeStringB5cxx11Ev");
LazyImport<void (*)(std::string&)> escape_string(
    "Skyparley",
    "_ZN9Skyparley12EscapeStringERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
LazyImport<void (*)(const Skyparley::DiscordPacket&)> queue_packet(
    "Skyparley", "_ZN9Skyparley11QueuePacketERKNS_13DiscordPacketE");
LazyImport<TArray<FString> (*)(uint64)> get_player_groups("Permissions",
                                                          "_ZN11Permissions15GetPlayerGroupsEy");
LazyImport<uint64 (*)(AController*)> get_steam_id(
    "Permissions", "_ZN9IApiUtils24GetSteamIdFromControllerEP11AController");
LazyImport<FString (*)(AController*)> get_steam_name("Permissions",
                                                     "_ZN9IApiUtils12GetSteamNameEP11AController");

}  // namespace

std::string Skyparley::MakeTimeString() {
  return make_time_string.Get()();
}
void Skyparley::EscapeString(std::string& text) {
  escape_string.Get()(text);
}
void Skyparley::QueuePacket(const DiscordPacket& packet) {
  queue_packet.Get()(packet);
}

TArray<FString> Permissions::GetPlayerGroups(uint64 steam_id) {
  return get_player_groups.Get()(steam_id);
}

uint64 IApiUtils::GetSteamIdFromController(AController* controller) {
  return get_steam_id.Get()(controller);
}

FString IApiUtils::GetSteamName(AController* controller) {
  return get_steam_name.Get()(controller);
}
