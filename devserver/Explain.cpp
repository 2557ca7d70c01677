#include <algorithm>
#include <iterator>

#include "ConfigCheck.h"
#include "Decision.h"
#include "LoadedConfig.h"
#include "TextHeap.h"

namespace devserver {

namespace {

using Tallyrook::CommandDecision;
using Tallyrook::CommandKind;
using Tallyrook::KindSchema;
using Tallyrook::kNoEntry;
using Tallyrook::Outcome;

class Sender final : public Tallyrook::CommandSender {
 public:
  explicit Sender(const ExplainedSender& sender) : admin_(sender.admin) {
    for (const std::string& group : sender.groups) groups_.Add(FString::FromUtf8(group));
  }
  bool IsAdministrator() const override { return admin_; }
  const TArray<FString>& PermissionGroups() const override { return groups_; }

 private:
  bool admin_;
  TArray<FString> groups_;
};

std::string Described(const Entry& entry) {
  return entry.path + " (" + Quoted(entry.text) + ")";
}

// The StaffGroups entry at `position`, as the staff rule counts them.
Entry StaffEntry(const Source& source, std::size_t position) {
  Entry found;
  std::size_t at = 0;
  Tallyrook::JsonPlace(source.document)
      .Member(Tallyrook::kStaffGroupsKey)
      .ForEachInList([&](const Tallyrook::JsonPlace& entry) {
        if (at++ == position) found = {entry.Path(), entry.Value().dump()};
      });
  return found;
}

// Why an ignored command is not reported all the same.
std::string WhyIgnored(const CommandDecision& decision) {
  if (decision.administrator == Tallyrook::Answer::No) return "the player is not an administrator";
  switch (decision.log_everything) {
    case Tallyrook::Setting::False:
      return "LogEverything is false";
    case Tallyrook::Setting::Absent:
      return "LogEverything is absent";
    case Tallyrook::Setting::NotABoolean:
      return "LogEverything is not true or false";
    case Tallyrook::Setting::NotRead:
    case Tallyrook::Setting::True:
      break;
  }
  return "ignored";
}

std::string Joined(const std::vector<std::string>& groups) {
  std::string joined;
  for (const std::string& group : groups) joined += (joined.empty() ? "" : ", ") + Quoted(group);
  return joined;
}

}  // namespace

int ExplainCommand(const std::string& path, const std::string& kind_name,
                   const std::string& command_text, const ExplainedSender& explained,
                   std::ostream& out) {
  ProvideTextHeap();
  Source source;
  Built built;
  if (!Load(path, source, built, out)) return 1;
  const KindSchema& kind = *std::find_if(std::begin(Tallyrook::kKinds), std::end(Tallyrook::kKinds),
                                         [&](const KindSchema& k) { return kind_name == k.name; });
  const FString command = FString::FromUtf8(command_text);
  const Sender sender(explained);
  const CommandDecision decision =
      Tallyrook::Decide(built.View(source), kind.kind, command, sender);

  out << kind.name << " " << Quoted(command_text)
      << (explained.admin ? " from an administrator" : "")
      << (explained.groups.empty() ? "" : " in the groups " + Joined(explained.groups)) << ":\n";
  int step = 0;
  const auto say = [&](const std::string& text) { out << "  " << ++step << ". " << text << "\n"; };
  const auto list_entry = [&](const Tallyrook::ListSchema& list, std::size_t index) {
    return Described(built.list_entries.at(list.key)[index]);
  };
  const std::string name = Quoted(ToUtf8(decision.name));
  const std::string fallback = Quoted(Tallyrook::kFallbackGroup);

  if (decision.prefix_entry != kNoEntry) {
    const std::string prefix =
        Described(built.list_entries.at(Tallyrook::kCommandPrefixes.key)[decision.prefix_entry]);
    const bool bare = decision.name.data() == Tallyrook::FirstWord(command.View()).data();
    say(bare ? "the prefix " + prefix + " with nothing after it is the command's own name"
             : "the command's name is " + name + ", the word after the prefix " + prefix);
  }
  if (decision.outcome == Outcome::NotACommand) {
    say("plain chat, not a command: only chat that starts with \"/\" is a command");
    out << "-> not reported\n";
    return 0;
  }
  if (decision.outcome == Outcome::Blacklisted) {
    say("blacklisted by " + list_entry(kind.blacklist, decision.blacklist_entry));
    out << "-> not reported\n";
    return 0;
  }
  say(std::string("not on ") + kind.blacklist.key);
  if (decision.ignore_entry != kNoEntry) {
    say("ignored by " + list_entry(kind.ignore, decision.ignore_entry) + ": " + kind.ignored_rule);
    if (decision.outcome == Outcome::Ignored) {
      out << "-> not reported: " << WhyIgnored(decision) << "\n";
      return 0;
    }
    say("LogEverything is true: reported all the same");
  } else {
    say(std::string("not on ") + kind.ignore.key);
  }

  if (decision.outcome == Outcome::NoChannel) {
    say("no group lists " + name + ", and no group is named " + fallback);
    out << "-> not reported\n";
    return 0;
  }
  const std::string group = Quoted(built.groups.Groups[decision.group]->Identifier);
  if (decision.group_entry != kNoEntry) {
    const auto k = static_cast<std::size_t>(kind.kind);
    say("routed to group " + group + " by " +
        Described(built.channel_entries[decision.group][k][decision.group_entry]));
  } else {
    say("no group lists " + name + ": the " + fallback + " group's channel");
  }
  if (decision.redact_entry != kNoEntry) {
    say("redacted by " + list_entry(kind.redact, decision.redact_entry) +
        ": everything after the command's name shows as \" [arguments hidden]\"");
  }
  switch (decision.staff) {
    case Tallyrook::Staff::Member: {
      const Entry entry = StaffEntry(source, decision.staff_entry);
      say("a staff member by " + entry.path + " (" + entry.text +
          "): the report shows the Steam name");
      break;
    }
    case Tallyrook::Staff::NotAMember:
      say("no group of the player is on StaffGroups: the report shows \"Not a staff member\"");
      break;
    case Tallyrook::Staff::EntryNotAString: {
      const Entry entry = StaffEntry(source, decision.staff_entry);
      say("the staff rule reaches " + entry.path + " (" + entry.text + "), which is not a string");
      out << "-> not reported: " << entry.path << " is not a string\n";
      return 0;
    }
    case Tallyrook::Staff::NotAsked:
      break;
  }
  out << "-> reported to #" << decision.channel->ChannelTag << " as " << decision.channel->BotName
      << "\n";
  return 0;
}

}  // namespace devserver
