// The three detours on the game's command functions, and the slots through which they call the
// game's own functions.
#pragma once

#include "GameTypes.h"

namespace Tallyrook {

extern ChatMessageFunction ChatMessageOriginal;
extern ConsoleCommandFunction ConsoleCommandOriginal;
extern RconPacketFunction RconPacketOriginal;

void ChatMessageDetour(AShooterPlayerController* controller, FString* message, std::int32_t mode);
FString* ConsoleCommandDetour(APlayerController* controller, FString* result, FString* command,
                              bool write_to_log);
void RconPacketDetour(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace Tallyrook
