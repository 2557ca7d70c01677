// Channel groups: for each kind of command, the Discord channel a group reports to and the
// commands it takes, and the routing of a command to the first group that takes it.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CommandLists.h"
#include "FString.h"
#include "JsonPlace.h"
#include "Schema.h"

namespace Tallyrook {

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
};

class ChannelGroup {
 public:
  // The channel for `kind`; null for a kind outside Chat, Console and Rcon.
  const CommandChannel* ChannelFor(CommandKind kind) const noexcept;

  std::string Identifier;
  std::array<std::unique_ptr<CommandChannel>, kKindCount> Channels;  // by CommandKind
};

// The group whose channel lists a command, and the entry that lists it.
struct RouteHit {
  std::size_t group;
  std::size_t entry;
};

class ChannelGroupList {
 public:
  // The first group, in order, whose channel for `kind` lists the command's name; none when no
  // group does. Each group is tested by a task of its own.
  std::optional<RouteHit> Route(FStringView name, CommandKind kind) const;
  // The index of the first group whose identifier equals `identifier` exactly.
  std::optional<std::size_t> FindByIdentifier(const std::string& identifier) const noexcept;

  std::vector<std::unique_ptr<ChannelGroup>> Groups;
};

// Builds one group from an element of ChannelGroups, and all of them from the document. Both
// throw ConfigError for a missing or mistyped value.
std::unique_ptr<ChannelGroup> BuildChannelGroup(const JsonPlace& element);
std::unique_ptr<ChannelGroupList> BuildChannelGroupList(const Json& document);

}  // namespace Tallyrook
