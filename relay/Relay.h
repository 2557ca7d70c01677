// The steps every detour shares before the game's own function runs.
#pragma once

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "Configuration.h"
#include "FString.h"
#include "ReportText.h"
#include "Skyparley.h"

namespace Tallyrook {

// What sets one kind of command apart in the shared steps.
struct RelayKind {
  CommandKind kind;
  CommandList CommandLists::*blacklist;
  CommandList CommandLists::*ignored;
  CommandList CommandLists::*redacted;
};

// The channel of the first group that lists the command for its kind, else the "Default"
// group's channel for the kind; empty when neither exists.
inline ChannelDataRef RouteWithFallback(const FString& command, CommandKind kind) {
  ChannelDataRef channel = InstalledChannelGroups->Route(command, kind);
  return channel ? channel : InstalledChannelGroups->FindByIdentifier("Default", kind);
}

// Reports `command` unless it is blacklisted, or ignored without `report_ignored()`, or finds no
// channel: `compose(shown_command, queue)` gathers the details, fills the report and hands it to
// `queue`, which queues it with the relay plugin with the channel's tag and bot name. Whatever
// `compose` gathered is released after it returns, so after the packet is queued.
template <typename ReportIgnored, typename Compose>
void RelayCommand(const FString& command, const RelayKind& row, ReportIgnored report_ignored,
                  Compose compose) {
  if (!InstalledCommandLists || !InstalledChannelGroups) return;
  const CommandLists& lists = *InstalledCommandLists;
  if (IsListed(command, lists.*row.blacklist)) return;
  if (IsListed(command, lists.*row.ignored) && !report_ignored()) return;
  const ChannelDataRef channel = RouteWithFallback(command, row.kind);
  if (!channel) return;
  const ReportValue redacted =
      IsListed(command, lists.*row.redacted) ? WithArgumentsHidden(command.View()) : ReportValue();
  const FStringView shown_command = redacted.empty() ? command.View() : FStringView(redacted);
  compose(shown_command, [&channel](std::string content) {
    Skyparley::QueuePacket({channel->ChannelTag, channel->BotName, std::move(content)});
  });
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
