#include "ChannelGroups.h"

#include "FirstInOrder.h"

namespace Tallyrook {

namespace {

std::unique_ptr<CommandChannel> BuildChannel(const JsonPlace& place) {
  auto channel = std::make_unique<CommandChannel>();
  const std::string& tag = place.Member("ChannelTag").String();
  const std::string& bot = place.Member("BotName").String();
  channel->ChannelData = std::make_shared<const DiscordChannelData>(tag, bot);
  channel->Commands = ReadCommandList(place.Member("Commands"));
  return channel;
}

}  // namespace

const CommandChannel* ChannelGroup::ChannelFor(CommandKind kind) const noexcept {
  switch (kind) {
    case CommandKind::Chat:
      return Chat.get();
    case CommandKind::Console:
      return Console.get();
    case CommandKind::Rcon:
      return Rcon.get();
  }
  return nullptr;
}

ChannelDataRef ChannelGroupList::Route(const FString& command, CommandKind kind) const {
  if (Groups.empty()) return nullptr;
  return FirstInOrder<ChannelDataRef>(Groups.size(), [&](std::size_t i) -> ChannelDataRef {
    const CommandChannel* channel = Groups[i]->ChannelFor(kind);
    return channel != nullptr && channel->HasCommand(command) ? channel->ChannelData : nullptr;
  });
}

ChannelDataRef ChannelGroupList::FindByIdentifier(const std::string& identifier,
                                                  CommandKind kind) const {
  for (const auto& group : Groups) {
    if (group->Identifier != identifier) continue;
    const CommandChannel* channel = group->ChannelFor(kind);
    return channel != nullptr ? channel->ChannelData : nullptr;
  }
  return nullptr;
}

std::unique_ptr<ChannelGroup> BuildChannelGroup(const JsonPlace& element) {
  auto group = std::make_unique<ChannelGroup>();
  group->Identifier = element.Member("Identifier").String();
  group->Chat = BuildChannel(element.Member("Chat"));
  group->Console = BuildChannel(element.Member("Console"));
  group->Rcon = BuildChannel(element.Member("Rcon"));
  return group;
}

std::unique_ptr<ChannelGroupList> BuildChannelGroupList(const Json& document) {
  auto list = std::make_unique<ChannelGroupList>();
  JsonPlace(document).Member("ChannelGroups").ForEachInList([&list](const JsonPlace& element) {
    list->Groups.push_back(BuildChannelGroup(element));
  });
  return list;
}

}  // namespace Tallyrook
