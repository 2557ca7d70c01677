// The plugin's import stubs for its sibling plugins. Each operation is bound at its first call by
// its exported name, as a delayed import would be, and the address is cached; the module is held
// from its first binding on, so that a cached address never outlives it. A missing module or
// function throws at that call; the plugin loads without either sibling.
//
// The exported name is the one the compiler gives the stub's own declaration. In MSVC's ABI,
// the real host's, the stub asks the compiler for it (__FUNCDNAME__), so that a build against the
// SDK's declarations binds what the SDK's siblings export. GNU compilers have no such name, so
// their Itanium names are written beside each stub, and every test that reports proves them.
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
  explicit constexpr LazyImport(SiblingModule& module) : module_(module) {}

  // `symbol` is the same at every call of one stub.
  Function Get(const char* symbol) {
    Function function = address_.load(std::memory_order_acquire);
    if (function == nullptr) {
      function = reinterpret_cast<Function>(module_.Function(symbol));
      address_.store(function, std::memory_order_release);
    }
    return function;
  }

 private:
  SiblingModule& module_;
  std::atomic<Function> address_{nullptr};
};

SiblingModule skyparley("Skyparley");
SiblingModule permissions("Permissions");

LazyImport<std::string (*)()> make_time_string(skyparley);
LazyImport<void (*)(std::string&)> escape_string(skyparley);
LazyImport<void (*)(const Skyparley::DiscordPacket&)> queue_packet(skyparley);
LazyImport<TArray<FString> (*)(uint64)> get_player_groups(permissions);
LazyImport<uint64 (*)(AController*)> get_steam_id(permissions);
LazyImport<FString (*)(AController*)> get_steam_name(permissions);

}  // namespace

#if defined(_MSC_VER)
#define EXPORTED_NAME(itanium_name) __FUNCDNAME__
#else
#define EXPORTED_NAME(itanium_name) itanium_name
#endif

std::string Skyparley::MakeTimeString() {
  return make_time_string.Get(EXPORTED_NAME("_ZN9Skyparley14MakeTimeStringB5cxx11Ev"))();
}
void Skyparley::EscapeString(std::string& text) {
  escape_string.Get(EXPORTED_NAME(
      "_ZN9Skyparley12EscapeStringERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"))(text);
}
void Skyparley::QueuePacket(const DiscordPacket& packet) {
  queue_packet.Get(EXPORTED_NAME("_ZN9Skyparley11QueuePacketERKNS_13DiscordPacketE"))(packet);
}

TArray<FString> Permissions::GetPlayerGroups(uint64 steam_id) {
  return get_player_groups.Get(EXPORTED_NAME("_ZN11Permissions15GetPlayerGroupsEy"))(steam_id);
}

uint64 ArkApi::IApiUtils::GetSteamIdFromController(AController* controller) {
  return get_steam_id.Get(
      EXPORTED_NAME("_ZN6ArkApi9IApiUtils24GetSteamIdFromControllerEP11AController"))(controller);
}

FString ArkApi::IApiUtils::GetSteamName(AController* controller) {
  return get_steam_name.Get(EXPORTED_NAME("_ZN6ArkApi9IApiUtils12GetSteamNameEP11AController"))(
      controller);
}
