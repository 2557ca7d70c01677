// What config.json holds, stated once: each kind of command with its keys and lists, the keys of
// a group and of a channel, and the fallback group. The loader, the decision and the admin's
// checks all read these tables, so a key cannot be spelt two ways.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CommandLists.h"

namespace Tallyrook {

enum class CommandKind : std::int32_t { Chat = 0, Console = 1, Rcon = 2 };

// One of a kind's top-level lists: its key and where the loader puts it.
struct ListSchema {
  const char* key;
  CommandList CommandLists::*list;
};

struct KindSchema {
  CommandKind kind;
  const char* group_key;  // the group's member holding the kind's channel
  const char* name;       // as an admin writes the kind
  ListSchema ignore;
  ListSchema blacklist;
  ListSchema redact;         // reported with everything after the command's name hidden
  const char* ignored_rule;  // when a command on the ignore list is reported all the same
  bool prefixed;             // whether CommandPrefixes applies
};

inline constexpr ListSchema kCommandPrefixes{"CommandPrefixes", &CommandLists::CommandPrefixes};

// Indexed by CommandKind.
inline constexpr KindSchema kKinds[] = {
    {CommandKind::Chat,
     "Chat",
     "chat",
     {"IgnoreChatCommands", &CommandLists::IgnoreChatCommands},
     {"BlacklistChatCommands", &CommandLists::BlacklistChatCommands},
     {"RedactChatCommands", &CommandLists::RedactChatCommands},
     "ignored chat commands are never reported",
     false},
    {CommandKind::Console,
     "Console",
     "console",
     {"IgnoreConsoleCommands", &CommandLists::IgnoreConsoleCommands},
     {"BlacklistConsoleCommands", &CommandLists::BlacklistConsoleCommands},
     {"RedactConsoleCommands", &CommandLists::RedactConsoleCommands},
     "reported only for an administrator while LogEverything is true",
     true},
    {CommandKind::Rcon,
     "Rcon",
     "rcon",
     {"IgnoreRconCommands", &CommandLists::IgnoreRconCommands},
     {"BlacklistRconCommands", &CommandLists::BlacklistRconCommands},
     {"RedactRconCommands", &CommandLists::RedactRconCommands},
     "reported only while LogEverything is true",
     true},
};

inline constexpr std::size_t kKindCount = sizeof(kKinds) / sizeof(kKinds[0]);

// The schema of a kind; null for a value outside Chat, Console and Rcon.
constexpr const KindSchema* SchemaOf(CommandKind kind) noexcept {
  const auto index = static_cast<std::size_t>(kind);
  return index < kKindCount ? &kKinds[index] : nullptr;
}

// Calls `visit(list_schema)` for each top-level command list in the order the loader reads them:
// every kind's ignore list, then the blacklists, the redaction lists and the command prefixes.
template <typename Visit>
constexpr void ForEachListSchema(Visit&& visit) {
  for (ListSchema KindSchema::*role :
       {&KindSchema::ignore, &KindSchema::blacklist, &KindSchema::redact}) {
    for (const KindSchema& kind : kKinds) visit(kind.*role);
  }
  visit(kCommandPrefixes);
}

inline constexpr const char* kChannelGroupsKey = "ChannelGroups";
inline constexpr const char* kStaffGroupsKey = "StaffGroups";
inline constexpr const char* kLogEverythingKey = "LogEverything";
inline constexpr const char* kIdentifierKey = "Identifier";
inline constexpr const char* kChannelTagKey = "ChannelTag";
inline constexpr const char* kBotNameKey = "BotName";
inline constexpr const char* kCommandsKey = "Commands";

// The group whose channel takes a command that no group lists.
inline constexpr const char* kFallbackGroup = "Default";

}  // namespace Tallyrook
