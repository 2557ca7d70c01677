// The game's objects as far as the plugin sees them. Controllers are opaque: the plugin only
// passes their addresses on and reads fields through the host's bit-field lookup.
#pragma once

#include <cstddef>
#include <cstdint>

#include "FString.h"

using uint64 = unsigned long long;  // The game's 64-bit integer, as the sibling plugins export it.

struct UObject {};
struct AController : UObject {};
struct APlayerController : AController {};
struct AShooterPlayerController : APlayerController {};
struct RCONClientConnection;
struct UWorld;

// One packet as the game reads it from an RCON connection.
struct RCONPacket {
  std::int32_t Length;  // byte 0
  std::int32_t Id;      // byte 4
  std::int32_t Type;    // byte 8: 3 asks to authenticate, and its body is the RCON password
  FString Body;         // byte 16
};

static_assert(offsetof(RCONPacket, Type) == 8, "RCON packet type at byte 8");
static_assert(offsetof(RCONPacket, Body) == 16, "RCON packet body at byte 16");

constexpr std::int32_t kRconAuthenticationRequest = 3;

// The game functions that the plugin hooks, by their exact signatures.
using ChatMessageFunction = void (*)(AShooterPlayerController* controller, FString* message,
                                     std::int32_t mode);
using ConsoleCommandFunction = FString* (*)(APlayerController* controller, FString* result,
                                            FString* command, bool write_to_log);
using RconPacketFunction = void (*)(RCONClientConnection* connection, RCONPacket* packet,
                                    UWorld* world);
