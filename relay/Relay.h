// The steps every detour shares before the game's own function runs.
#pragma once

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "Configuration.h"
#include "FString.h"
#include "Skyparley.h"

namespace Tallyrook {

// What sets one kind of command apart in the shared steps.
struct RelayKind {
  CommandKind kind;
  CommandList CommandLists::*blacklist;
  CommandList CommandLists::*ignored;
};

// The channel of the first group that lists the command for its kind, else the "Default"
// group's channel for the kind; empty when neither exists.
inline ChannelDataRef RouteWithFallback(const FString& command, CommandKind kind) {
  ChannelDataRef channel = InstalledChannelGroups->Route(command, kind);
  return channel ? channel : InstalledChannelGroups->FindByIdentifier("Default", kind);
}

// Reports `command` unless it is blacklisted, or ignored without `report_ignored()`, or finds no
// channel: `compose()` gathers the details and fills the report, which is queued with the relay
// plugin with the channel's tag and bot name.
template <typename ReportIgnored, typename Compose>
void RelayCommand(const FString& command, const RelayKind& row, ReportIgnored report_ignored,
                  Compose compose) {
  if (!InstalledCommandLists || !InstalledChannelGroups) return;
  const CommandLists& lists = *InstalledCommandLists;
  if (IsListed(command, lists.*row.blacklist)) return;
  if (IsListed(command, lists.*row.ignored) && !report_ignored()) return;
  const ChannelDataRef channel = RouteWithFallback(command, row.kind);
  if (!channel) return;
  Skyparley::QueuePacket({channel->ChannelTag, channel->BotName, compose()});
}

// Runs a detour's reporting work so that no exception can reach the game: a command whose
// report fails is simply not reported.
template <typename Work>
void ReportSafely(Work work) noexcept {
  try {
    work();
  } catch (...) {
  }
}

}  // namespace Tallyrook
