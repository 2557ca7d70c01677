// What happens to one command, and why: the one decision the detours act on and the admin's
// `explain` prints. Its reasons are indices and small values, so recording them costs a detour
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "FString.h"
#include "JsonPlace.h"
#include "Schema.h"
#include "TArray.h"

namespace Tallyrook {

// What the decision reads of a configuration.
struct ConfigurationView {
  const Json& document;
  const ChannelGroupList& groups;
  const CommandLists& lists;
};

// What the side that sent the command can tell. Each is asked only where a rule needs it and at
// most once, so a detour makes the outside calls it must make, in their order, and no others.
class CommandSender {
 public:
  // Asked for a console command on the ignore list.
  virtual bool IsAdministrator() const = 0;
  // Asked for a console command about to be reported, for the staff rule.
  virtual const TArray<FString>& PermissionGroups() const = 0;

 protected:
  CommandSender() = default;
  CommandSender(const CommandSender&) = default;
  CommandSender& operator=(const CommandSender&) = default;
  ~CommandSender() = default;
};

enum class Outcome : std::uint8_t {
  Reported,
  NotACommand,       // chat that does not start with "/"
  Blacklisted,       // by `blacklist_entry`
  Ignored,           // by `ignore_entry`, and not reported all the same
  NoChannel,         // no group lists the name and there is no fallback group
  StaffEntryInvalid  // the staff rule reached `staff_entry`, which is not a string
};

enum class Answer : std::uint8_t { NotAsked, Yes, No };
enum class Setting : std::uint8_t { NotRead, True, False, Absent, NotABoolean };
enum class Staff : std::uint8_t { NotAsked, Member, NotAMember, EntryNotAString };

inline constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

struct CommandDecision {
  Outcome outcome = Outcome::NotACommand;
  FStringView name;                     // the word the lists and the groups were compared with
  std::size_t name_end = 0;             // where the name ends in the command
  std::size_t prefix_entry = kNoEntry;  // the CommandPrefixes entry the name follows
  std::size_t blacklist_entry = kNoEntry;
  std::size_t ignore_entry = kNoEntry;
  Answer administrator = Answer::NotAsked;
  Setting log_everything = Setting::NotRead;
  std::size_t group = kNoEntry;        // whose channel takes the report
  std::size_t group_entry = kNoEntry;  // the entry that routed it; none for the fallback
  std::size_t redact_entry = kNoEntry;
  Staff staff = Staff::NotAsked;
  std::size_t staff_entry = kNoEntry;  // the StaffGroups entry that matched or was not a string
  ChannelDataRef channel;              // set when reported

  bool Reported() const noexcept { return outcome == Outcome::Reported; }
};

// Decides for a command of `kind` in the order a detour must follow: its name (after a command
// prefix, for console and RCON), the blacklist, the ignore
// list (asking whether the sender is an administrator, then LogEverything), the groups, then the
// fallback, the redaction list and, for a console report, the staff rule.
CommandDecision Decide(const ConfigurationView& configuration, CommandKind kind,
                       const FString& command, const CommandSender& sender);

// LogEverything as the document holds it.
Setting ReadLogEverything(const Json& document) noexcept;

// Whether any of the groups is one of StaffGroups (A-Z folded), read in order up to the first
// entry that matches or is not a string; `entry` is that entry's position in the list.
struct StaffRule {
  Staff staff;
  std::size_t entry;
};
StaffRule ApplyStaffRule(const Json& document, const TArray<FString>& groups);

}  // namespace Tallyrook
