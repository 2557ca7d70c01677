// The emulated game's objects, shared by the game and the permissions stand-in that reads them.
#pragma once

#include <cstdint>
#include <string>

#include "GameTypes.h"

struct EmulatedController final : AShooterPlayerController {
  std::uint32_t flags = 0;  // holds APlayerController.bIsAdmin at kAdminBit
  uint64 steam_id = 0;
  std::basic_string<FChar> steam_name;
};

inline constexpr std::uint32_t kAdminBit = 3;
