// Channel groups: for each kind of command, the Discord channel a group reports to and the
// commands it takes, and the routing of a command to the first group that takes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CommandLists.h"
#include "FString.h"
#include "JsonPlace.h"

namespace Tallyrook {

enum class CommandKind : std::int32_t { Chat = 0, Console = 1, Rcon = 2 };

// Where a report goes: handed to the relay plugin with every report sent through the channel.
class DiscordChannelData {
 public:
  DiscordChannelData(std::string channel_tag, std::string bot_name)
      : ChannelTag(std::move(channel_tag)), BotName(std::move(bot_name)) {}
  const std::string ChannelTag;
  const std::string BotName;
};

using ChannelDataRef = std::shared_ptr<const DiscordChannelData>;

struct CommandChannel {
  ChannelDataRef ChannelData;  // never empty
  CommandList Commands;

  bool HasCommand(const FString& command) const noexcept { return IsListed(command, Commands); }
};

class ChannelGroup {
 public:
  // The channel for `kind`; null for a kind outside Chat, Console and Rcon.
  const CommandChannel* ChannelFor(CommandKind kind) const noexcept;

  std::unique_ptr<CommandChannel> Chat;
  std::unique_ptr<CommandChannel> Console;
  std::unique_ptr<CommandChannel> Rcon;
  std::string Identifier;
};

class ChannelGroupList {
 public:
  // The channel of the first group, in order, whose channel for `kind` lists the command; empty
  // when none does. Each group is tested by a task of its own.
  ChannelDataRef Route(const FString& command, CommandKind kind) const;
  // The `kind` channel of the first group whose identifier equals `identifier` exactly.
  ChannelDataRef FindByIdentifier(const std::string& identifier, CommandKind kind) const;

  std::vector<std::unique_ptr<ChannelGroup>> Groups;
};

// Builds one group from an element of ChannelGroups, and all of them from the document. Both
// throw ConfigError for a missing or mistyped value.
std::unique_ptr<ChannelGroup> BuildChannelGroup(const JsonPlace& element);
std::unique_ptr<ChannelGroupList> BuildChannelGroupList(const Json& document);

}  // namespace Tallyrook
