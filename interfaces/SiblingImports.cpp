// The plugin's import stubs for its sibling plugins. Each operation is bound at its first call by
// its exported (Itanium C++ ABI) name, as a delayed import would be, and the address is cached;
// the module is held from its first binding on, so that a cached address never outlives it.
// A missing module or function throws at that call; the plugin loads without either sibling.
#include <atomic>

#include "ArkApi.h"
#include "Permissions.h"
#include "Skyparley.h"

namespace {

// A sibling module, held from the first call of any of its functions on.
class SiblingModule {
 public:
  explicit constexpr SiblingModule(const char* name) : name_(name) {}

  void* Function(const char* symbol) {
    void* handle = handle_.load(std::memory_order_acquire);
    if (handle == nullptr) {
      handle = Platform::HoldLoadedModule(name_);
      void* held = nullptr;
      // Should another thread have held the module first, its hold serves; holding twice keeps
      // the module no longer than holding once.
      if (!handle_.compare_exchange_strong(held, handle, std::memory_order_acq_rel)) handle = held;
    }
    return Platform::FindModuleFunction(handle, name_, symbol);
  }

 private:
  const char* name_;
  std::atomic<void*> handle_{nullptr};
};

template <typename Function>
class LazyImport {
 public:
  constexpr LazyImport(SiblingModule& module, const char* symbol)
      : module_(module), symbol_(symbol) {}

  Function Get() {
    Function function = address_.load(std::memory_order_acquire);
    if (function == nullptr) {
      function = reinterpret_cast<Function>(module_.Function(symbol_));
      address_.store(function, std::memory_order_release);
    }
    return function;
  }

 private:
  SiblingModule& module_;
  const char* symbol_;
  std::atomic<Function> address_{nullptr};
};

SiblingModule skyparley("Skyparley");
SiblingModule permissions("Permissions");

LazyImport<std::string (*)()> make_time_string(skyparley, "_ZN9Skyparley14MakeTimeStringB5cxx11Ev");
LazyImport<void (*)(std::string&)> escape_string(
    skyparley, "_ZN9Skyparley12EscapeStringERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
LazyImport<void (*)(const Skyparley::DiscordPacket&)> queue_packet(
    skyparley, "_ZN9Skyparley11QueuePacketERKNS_13DiscordPacketE");
LazyImport<TArray<FString> (*)(uint64)> get_player_groups(permissions,
                                                          "_ZN11Permissions15GetPlayerGroupsEy");
LazyImport<uint64 (*)(AController*)> get_steam_id(
    permissions, "_ZN9IApiUtils24GetSteamIdFromControllerEP11AController");
LazyImport<FString (*)(AController*)> get_steam_name(permissions,
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
