// The permissions plugin as the emulated server's stand-in: groups by Steam ID, in the order they
// were given, and the two player details the host's utilities take from this module.
#include <map>
#include <mutex>
#include <stdexcept>

#include "ArkApi.h"
#include "EmulatedHost.h"
#include "GameObjects.h"
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

  TArray<FString> GroupsOf(uint64 steam_id) {
    TArray<FString> groups;
    const std::lock_guard lock(mutex_);
    const auto found = groups_.find(steam_id);
    if (found == groups_.end()) return groups;
    for (const auto& group : found->second) groups.Add(FString(FStringView(group)));
    return groups;
  }

 private:
  std::mutex mutex_;
  std::map<uint64, std::vector<std::basic_string<FChar>>> groups_;
  std::string failing_;
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
  return ThePlugin().GroupsOf(steam_id);
}

uint64 IApiUtils::GetSteamIdFromController(AController* controller) {
  ThePlugin().Enter("IApiUtils::GetSteamIdFromController");
  return ControllerOf(controller).steam_id;
}

FString IApiUtils::GetSteamName(AController* controller) {
  ThePlugin().Enter("IApiUtils::GetSteamName");
  return FString(FStringView(ControllerOf(controller).steam_name));
}

extern "C" SIBLING_API PermissionsStandIn* EmulatedPermissions() {
  return &ThePlugin();
}
