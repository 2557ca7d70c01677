// The steps every detour shares before the game's own function runs.
#pragma once

#include "Configuration.h"
#include "Decision.h"
#include "FString.h"
#include "ReportText.h"
#include "Skyparley.h"

namespace Tallyrook {

// Reports `command` when the decision says so: `compose(decision, shown_command, queue)` gathers
// what it still needs, fills the report and hands it to `queue`, which queues it with the relay
// plugin with the channel's tag and bot name. Whatever `compose` gathered is released after it
// returns, so after the packet is queued.
template <typename Compose>
void RelayCommand(const FString& command, CommandKind kind, const CommandSender& sender,
                  Compose compose) {
  if (!InstalledCommandLists || !InstalledChannelGroups) return;
  const CommandDecision decision = Decide(InstalledConfiguration(), kind, command, sender);
  if (!decision.Reported()) return;
  const ReportValue redacted = decision.redact_entry != kNoEntry
                                   ? WithArgumentsHidden(command.View(), decision.name_end)
                                   : ReportValue();
  const FStringView shown_command = redacted.empty() ? command.View() : FStringView(redacted);
  compose(decision, shown_command, [&decision](std::string content) {
    Skyparley::QueuePacket(
        {decision.channel->ChannelTag, decision.channel->BotName, std::move(content)});
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
