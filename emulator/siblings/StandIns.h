// Controls of the sibling-plugin stand-ins, reached through the one C function each module
// exports for the emulated server (kRelayControl, kPermissionsControl).
#pragma once

#include <string>
#include <vector>

#include "GameTypes.h"
#include "Skyparley.h"

// One queued report as the relay plugin would deliver it.
struct Delivery {
  Skyparley::DiscordPacket packet;
  std::string webhook_body;  // the JSON body posted to Discord's webhook
  bool delivered = false;    // false when the body is not valid JSON
};

class RelayStandIn {
 public:
  // The text MakeTimeString returns; empty for the local time as "YYYY-MM-DD HH:MM:SS".
  virtual void SetClock(std::string text) = 0;
  // Makes the named operation ("MakeTimeString", "EscapeString", "QueuePacket") throw; empty
  // for none.
  virtual void FailOperation(std::string name) = 0;
  virtual std::vector<Delivery> TakeDeliveries() = 0;

 protected:
  ~RelayStandIn() = default;
};

class PermissionsStandIn {
 public:
  virtual void SetGroups(uint64 steam_id, std::vector<std::basic_string<FChar>> groups) = 0;
  // Makes the named operation ("GetPlayerGroups", "GetSteamIdFromController", "GetSteamName")
  // throw; empty for none.
  virtual void FailOperation(std::string name) = 0;

 protected:
  ~PermissionsStandIn() = default;
};

inline constexpr const char* kRelayControl = "EmulatedSkyparley";
inline constexpr const char* kPermissionsControl = "EmulatedPermissions";
using RelayControlFunction = RelayStandIn* (*)();
using PermissionsControlFunction = PermissionsStandIn* (*)();
