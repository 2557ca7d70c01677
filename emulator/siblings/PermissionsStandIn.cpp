// The permissions plugin as the emulated server's stand-in: groups by Steam ID, in the order they
// were given, and the two player details the host's utilities take from this module.
#include <atomic>
#include <map>
#include <mutex>
#include <stdexcept>

#include "ArkApi.h"
#include "EmulatedHost.h"
#include "FMemory.h"
#include "GameObjects.h"
#include "GameRecords.h"
#include "Permissions.h"
#include "StandIns.h"

namespace {

class PermissionsPlugin final : public PermissionsStandIn {
 public:
  void Reset() override {
    const std::lock_guard lock(mutex_);
    groups_.clear();
    failing_.clear();
  }
  void SetGroups(uint64 steam_id, std::vector<std::basic_string<FChar>> groups) override {
    const std::lock_guard lock(mutex_);
    groups_[steam_id] = std::move(groups);
  }
  void FailOperation(std::string name) override {
    const std::lock_guard lock(mutex_);
    failing_ = std::move(name);
  }

  void Enter(std::string_view call) {
    const std::lock_guard lock(mutex_);
    EnterCall(call, failing_);
  }

  // The player's groups as the game's array of texts, each text in the next shape the host
  // allows; no block at all for a player without groups.
  GameArray<GameText> GroupsOf(uint64 steam_id) {
    GameArray<GameText> groups;
    const std::lock_guard lock(mutex_);
    const auto found = groups_.find(steam_id);
    if (found == groups_.end() || found->second.empty()) return groups;
    const auto count = static_cast<std::int32_t>(found->second.size());
    groups.data = static_cast<GameText*>(
        FMemory::Malloc(sizeof(GameText) * static_cast<std::size_t>(count + 1)));
    groups.capacity = count + 1;  // one to spare, as the game's arrays grow
    try {
      for (const auto& group : found->second) groups.data[groups.count++] = NextText(group);
    } catch (...) {
      --groups.count;  // the text that failed was never made
      for (std::int32_t i = 0; i < groups.count; ++i) FreeGameText(groups.data[i]);
      FMemory::Free(groups.data);
      throw;
    }
    return groups;
  }

  GameText NextText(FStringView text) { return MakeGameText(text, ShapeFor(text, shapes_++)); }

 private:
  std::mutex mutex_;
  std::map<uint64, std::vector<std::basic_string<FChar>>> groups_;
  std::string failing_;
  std::atomic<std::uint64_t> shapes_{0};
};

PermissionsPlugin& ThePlugin() {
  static PermissionsPlugin plugin;
  return plugin;
}

const EmulatedController& ControllerOf(AController* controller) {
  if (controller == nullptr) throw std::invalid_argument("no controller");
  return *static_cast<const EmulatedController*>(controller);
}

}  // namespace

TArray<FString> Permissions::GetPlayerGroups(uint64 steam_id) {
  ThePlugin().Enter("Permissions::GetPlayerGroups");
  return HandOver<TArray<FString>>(ThePlugin().GroupsOf(steam_id));
}

uint64 ArkApi::IApiUtils::GetSteamIdFromController(AController* controller) {
  ThePlugin().Enter("IApiUtils::GetSteamIdFromController");
  return ControllerOf(controller).steam_id;
}

FString ArkApi::IApiUtils::GetSteamName(AController* controller) {
  ThePlugin().Enter("IApiUtils::GetSteamName");
  const std::basic_string<FChar>& name = ControllerOf(controller).steam_name;
  return HandOver<FString>(ThePlugin().NextText(name));
}

extern "C" SIBLING_API PermissionsStandIn* EmulatedPermissions() {
  return &ThePlugin();
}
