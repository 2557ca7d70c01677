#include "Decision.h"

namespace Tallyrook {

Setting ReadLogEverything(const Json& document) noexcept {
  if (!document.is_object()) return Setting::Absent;
  const auto found = document.find(kLogEverythingKey);
  if (found == document.end()) return Setting::Absent;
  if (!found->is_boolean()) return Setting::NotABoolean;
  return found->get<bool>() ? Setting::True : Setting::False;
}

StaffRule ApplyStaffRule(const Json& document, const TArray<FString>& groups) {
  StaffRule rule{Staff::NotAMember, kNoEntry};
  std::size_t position = 0;
  JsonPlace(document).Member(kStaffGroupsKey).ForEachInList([&](const JsonPlace& entry) {
    if (rule.staff != Staff::NotAMember) return;  // entries after the answer are not read
    if (!entry.Value().is_string()) {
      rule = {Staff::EntryNotAString, position};
      return;
    }
    const FString name = FString::FromUtf8(entry.String());
    for (const FString& group : groups) {
      if (EqualsIgnoringCase(name.View(), group.View())) rule = {Staff::Member, position};
    }
    ++position;
  });
  return rule;
}

CommandDecision Decide(const ConfigurationView& configuration, CommandKind kind,
                       const FString& command, const CommandSender& sender) {
  CommandDecision decision;
  const KindSchema* schema = SchemaOf(kind);
  if (schema == nullptr || (kind == CommandKind::Chat && !IsChatCommand(command))) {
    return decision;
  }
  const CommandLists& lists = configuration.lists;
  static const CommandList kNoPrefixes;
  const CommandName name =
      NameOf(command.View(), schema->prefixed ? lists.CommandPrefixes : kNoPrefixes);
  decision.name = name.name;
  decision.name_end = name.end;
  if (name.prefix) decision.prefix_entry = *name.prefix;

  if (const auto hit = FirstListed(decision.name, lists.*schema->blacklist.list)) {
    decision.outcome = Outcome::Blacklisted;
    decision.blacklist_entry = *hit;
    return decision;
  }
  if (const auto hit = FirstListed(decision.name, lists.*schema->ignore.list)) {
    decision.ignore_entry = *hit;
    bool reported = false;
    if (kind == CommandKind::Console) {
      decision.administrator = sender.IsAdministrator() ? Answer::Yes : Answer::No;
    }
    if (kind == CommandKind::Rcon || decision.administrator == Answer::Yes) {
      decision.log_everything = ReadLogEverything(configuration.document);
      reported = decision.log_everything == Setting::True;
    }
    if (!reported) {
      decision.outcome = Outcome::Ignored;
      return decision;
    }
  }

  const ChannelGroupList& groups = configuration.groups;
  if (const auto hit = groups.Route(decision.name, kind)) {
    decision.group = hit->group;
    decision.group_entry = hit->entry;
  } else if (const auto fallback = groups.FindByIdentifier(kFallbackGroup)) {
    decision.group = *fallback;
  } else {
    decision.outcome = Outcome::NoChannel;
    return decision;
  }
  const CommandChannel* channel = groups.Groups[decision.group]->ChannelFor(kind);
  if (const auto hit = FirstListed(decision.name, lists.*schema->redact.list)) {
    decision.redact_entry = *hit;
  }
  if (kind == CommandKind::Console) {
    const StaffRule rule = ApplyStaffRule(configuration.document, sender.PermissionGroups());
    decision.staff = rule.staff;
    decision.staff_entry = rule.entry;
    if (rule.staff == Staff::EntryNotAString) {
      decision.outcome = Outcome::StaffEntryInvalid;
      return decision;
    }
  }
  decision.outcome = Outcome::Reported;
  decision.channel = channel->ChannelData;
  return decision;
}

}  // namespace Tallyrook
