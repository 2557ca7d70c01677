#include "ChannelGroups.h"

#include "FirstInOrder.h"

namespace Tallyrook {

namespace {

std::unique_ptr<CommandChannel> BuildChannel(const JsonPlace& place) {
  auto channel = std::make_unique<CommandChannel>();
  const std::string& tag = place.Member(kChannelTagKey).String();
  const std::string& bot = place.Member(kBotNameKey).String();
  channel->ChannelData = std::make_shared<const DiscordChannelData>(tag, bot);
  channel->Commands = ReadCommandList(place.Member(kCommandsKey));
  return channel;
}

}  // namespace

const CommandChannel* ChannelGroup::ChannelFor(CommandKind kind) const noexcept {
  return SchemaOf(kind) != nullptr ? Channels[static_cast<std::size_t>(kind)].get() : nullptr;
}

std::optional<RouteHit> ChannelGroupList::Route(FStringView name, CommandKind kind) const {
  if (Groups.empty()) return std::nullopt;
  return FirstInOrder<std::optional<RouteHit>>(
      Groups.size(), [&](std::size_t i) -> std::optional<RouteHit> {
        const CommandChannel* channel = Groups[i]->ChannelFor(kind);
        if (channel == nullptr) return std::nullopt;
        const auto entry = FirstListed(name, channel->Commands);
        if (!entry) return std::nullopt;
        return RouteHit{i, *entry};
      });
}

std::optional<std::size_t> ChannelGroupList::FindByIdentifier(
    const std::string& identifier) const noexcept {
  for (std::size_t i = 0; i < Groups.size(); ++i) {
    if (Groups[i]->Identifier == identifier) return i;
  }
  return std::nullopt;
}

std::unique_ptr<ChannelGroup> BuildChannelGroup(const JsonPlace& element) {
  auto group = std::make_unique<ChannelGroup>();
  group->Identifier = element.Member(kIdentifierKey).String();
  for (const KindSchema& kind : kKinds) {
    group->Channels[static_cast<std::size_t>(kind.kind)] =
        BuildChannel(element.Member(kind.group_key));
  }
  return group;
}

std::unique_ptr<ChannelGroupList> BuildChannelGroupList(const Json& document) {
  auto list = std::make_unique<ChannelGroupList>();
  JsonPlace(document).Member(kChannelGroupsKey).ForEachInList([&list](const JsonPlace& element) {
    list->Groups.push_back(BuildChannelGroup(element));
  });
  return list;
}

}  // namespace Tallyrook
