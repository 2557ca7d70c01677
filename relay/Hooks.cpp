#include "Hooks.h"

#include <cstddef>

#include "ArkApi.h"
#include "Detours.h"

// The hook manager is the host's object, laid out as the host describes it but not built by
// this module's compiler (the real host is another compiler's build), so a sanitizer's check of
// its dynamic type against this module's class cannot apply to calls through it.
#if defined(__GNUC__) || defined(__clang__)
#define TALLYROOK_CALLS_HOST_OBJECT __attribute__((no_sanitize("vptr")))
#else
#define TALLYROOK_CALLS_HOST_OBJECT
#endif

namespace Tallyrook {

namespace {

struct HookRow {
  const char* target;
  void* detour;
  void** original;
};

// Compiles only when the detour and the slot have the same function type.
template <typename Function>
HookRow Hook(const char* target, Function detour, Function* original) {
  return {target, reinterpret_cast<void*>(detour), reinterpret_cast<void**>(original)};
}

const HookRow kHookTable[] = {
    Hook<ChatMessageFunction>("AShooterPlayerController.ServerSendChatMessage_Implementation",
                              &ChatMessageDetour, &ChatMessageOriginal),
    Hook<ConsoleCommandFunction>("APlayerController.ConsoleCommand", &ConsoleCommandDetour,
                                 &ConsoleCommandOriginal),
    Hook<RconPacketFunction>("RCONClientConnection.ProcessRCONPacket", &RconPacketDetour,
                             &RconPacketOriginal),
};

TALLYROOK_CALLS_HOST_OBJECT void Disable(ArkApi::IHooks& hooks, const HookRow& row) noexcept {
  try {
    hooks.DisableHook(row.target, row.detour);
  } catch (...) {
    // Nothing more can be done for this hook; the others are still removed.
  }
}

}  // namespace

TALLYROOK_CALLS_HOST_OBJECT void InstallHooks() {
  ArkApi::IHooks& hooks = ArkApi::GetHooks();
  std::size_t attempted = 0;
  try {
    for (const HookRow& row : kHookTable) {
      ++attempted;  // a SetHook that throws may have installed its hook all the same
      hooks.SetHook(row.target, row.detour, row.original);
    }
  } catch (...) {
    for (std::size_t i = 0; i < attempted; ++i) Disable(hooks, kHookTable[i]);
    throw;
  }
}

void RemoveHooks() noexcept {
  ArkApi::IHooks& hooks = ArkApi::GetHooks();
  for (const HookRow& row : kHookTable) Disable(hooks, row);
}

}  // namespace Tallyrook
