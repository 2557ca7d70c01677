// What the plugin host (ArkApi, loaded as version.dll) gives plugins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ApiExport.h"
#include "GameTypes.h"

namespace spdlog::sinks {
class sink;
}

// Where a bit-field member of a game object lives, as the host fills it: all four fields, so a
// caller's slot for it must be the host's 32 bytes.
struct BitField {
  std::uintptr_t Word;        // address of the 32-bit word holding the member
  std::uint32_t BitPosition;  // then 4 bytes of padding
  std::uint64_t NumBits;
  std::uint64_t Length;  // how many bytes hold the member
};

static_assert(sizeof(BitField) == 32, "BitField is the host's four fields");
static_assert(offsetof(BitField, NumBits) == 16 && offsetof(BitField, Length) == 24,
              "BitField's fields where the host writes them");

// The member's value: the word shifted right by the position, masked to the bit count.
std::uint32_t ReadBitField(const BitField& field) noexcept;

namespace ArkApi {

// The host's hook manager, three virtual slots in this order: one the plugin never calls,
// DisableHook, SetHook. Hooking routes every call of the named game function to `detour`; the
// game's own function stays callable through the address stored in `*original`. The host owns
// the object, so it has no virtual destructor, which would take slots of its own.
class IHooks {
 public:
  virtual void Unused() = 0;  // slot 0
  virtual bool DisableHook(const std::string& function_name, void* detour) = 0;
  virtual bool SetHook(const std::string& function_name, void* detour, void** original) = 0;

 protected:
  IHooks() = default;
  IHooks(const IHooks&) = default;
  IHooks& operator=(const IHooks&) = default;
  ~IHooks() = default;
};

// Player details the host offers. Its operations come from the permissions plugin's module and are
// bound at their first call (SiblingImports.cpp); they use no state of the object.
class IApiUtils {
 public:
  SIBLING_API static uint64 GetSteamIdFromController(AController* controller);
  SIBLING_API static FString GetSteamName(AController* controller);
};

ARK_API IHooks& GetHooks();
ARK_API IApiUtils& GetApiUtils();

namespace Tools {
// The server's directory, without a trailing separator.
ARK_API std::string GetCurrentDir();
}  // namespace Tools

}  // namespace ArkApi

// These three the host exports from the global namespace.

// The callable address of a named game function, or null when the game has none of that name.
ARK_API void* GetAddress(const std::string& name);
ARK_API BitField GetBitField(const void* object, const std::string& member);
ARK_API std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks();
