// Controls of the sibling-plugin stand-ins, reached through the one C function each module
// exports for the emulated server (kRelayControl, kPermissionsControl).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "EmulatedHost.h"
#include "GameTypes.h"
#include "Skyparley.h"

// One queued report as the relay plugin would deliver it.
struct Delivery {
  Skyparley::DiscordPacket packet;
  std::string webhook_body;  // the JSON body posted to Discord's webhook
  // Why Discord would refuse or mis-render the body; empty when it would post it as sent.
  std::string failure;
  bool Delivered() const { return failure.empty(); }
};

class RelayStandIn {
 public:
  // Back to a freshly loaded module's state: a module held by a plugin outlives a server.
  virtual void Reset() = 0;
  // The text MakeTimeString returns; empty for the local time as "YYYY-MM-DD HH:MM:SS".
  virtual void SetClock(std::string text) = 0;
  // Makes the named operation ("MakeTimeString", "EscapeString", "QueuePacket") throw; empty
  // for none.
  virtual void FailOperation(std::string name) = 0;
  virtual std::vector<Delivery> TakeDeliveries() = 0;
  // With false, a queued packet is only copied and counted, as the least a relay must do: for
  // measuring the reporting plugin rather than the stand-in's own checks.
  virtual void KeepDeliveries(bool keep) = 0;
  virtual std::uint64_t QueuedPackets() = 0;

 protected:
  ~RelayStandIn() = default;
};

class PermissionsStandIn {
 public:
  // Back to a freshly loaded module's state: a module held by a plugin outlives a server.
  virtual void Reset() = 0;
  virtual void SetGroups(uint64 steam_id, std::vector<std::basic_string<FChar>> groups) = 0;
  // Makes the named operation ("GetPlayerGroups", "GetSteamIdFromController", "GetSteamName")
  // throw; empty for none.
  virtual void FailOperation(std::string name) = 0;

 protected:
  ~PermissionsStandIn() = default;
};

// Enters a stand-in's operation: records the call ("Skyparley::QueuePacket") in the host's
// record, and throws when the operation was set to fail.
inline void EnterCall(std::string_view call, const std::string& failing) {
  GetEmulatedHost().RecordCall(call);
  if (!failing.empty() && call.substr(call.rfind(':') + 1) == failing) {
    throw std::runtime_error(std::string(call) + " failed");
  }
}

inline constexpr const char* kRelayControl = "EmulatedSkyparley";
inline constexpr const char* kPermissionsControl = "EmulatedPermissions";
using RelayControlFunction = RelayStandIn* (*)();
using PermissionsControlFunction = PermissionsStandIn* (*)();
