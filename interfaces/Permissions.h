// The permissions plugin (Permissions.dll): each player's permission groups.
#pragma once

#include "ApiExport.h"
#include "FString.h"
#include "GameTypes.h"

namespace Permissions {

// The player's groups in the plugin's order; the caller owns the array and its texts.
SIBLING_API TArray<FString> GetPlayerGroups(uint64 steam_id);

}  // namespace Permissions
