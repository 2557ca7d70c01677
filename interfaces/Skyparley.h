// The relay plugin that delivers reports to Discord (Skyparley.dll).
#pragma once

#include <string>

#include "ApiExport.h"

namespace Skyparley {

// One report as the relay plugin takes it; both plugins declare it alike.
struct DiscordPacket {
  std::string ChannelTag;
  std::string BotName;
  std::string Content;
};

// The report's date and time.
SIBLING_API std::string MakeTimeString();
// Rewrites `text` in place so that it can stand inside what the relay plugin delivers.
SIBLING_API void EscapeString(std::string& text);
// Queues one report; the packet is copied, and the call says nothing of its delivery.
SIBLING_API void QueuePacket(const DiscordPacket& packet);

}  // namespace Skyparley
