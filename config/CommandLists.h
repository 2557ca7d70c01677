// The command lists of the configuration, and the one rule by which a command counts as a named
// command: its first space-separated word equals the name, ignoring the case of A-Z.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "FString.h"
#include "JsonPlace.h"

namespace Tallyrook {

using CommandList = std::vector<FString>;

struct CommandLists {
  CommandList IgnoreChatCommands;
  CommandList IgnoreConsoleCommands;
  CommandList IgnoreRconCommands;
  CommandList BlacklistChatCommands;
  CommandList BlacklistConsoleCommands;
  CommandList BlacklistRconCommands;
  // Reported with everything after the first word hidden.
  CommandList RedactChatCommands;
  CommandList RedactConsoleCommands;
  CommandList RedactRconCommands;
};

// The configuration keys of the lists, in the order they are read.
inline constexpr std::pair<const char*, CommandList CommandLists::*> kCommandListKeys[] = {
    {"IgnoreChatCommands", &CommandLists::IgnoreChatCommands},
    {"IgnoreConsoleCommands", &CommandLists::IgnoreConsoleCommands},
    {"IgnoreRconCommands", &CommandLists::IgnoreRconCommands},
    {"BlacklistChatCommands", &CommandLists::BlacklistChatCommands},
    {"BlacklistConsoleCommands", &CommandLists::BlacklistConsoleCommands},
    {"BlacklistRconCommands", &CommandLists::BlacklistRconCommands},
    {"RedactChatCommands", &CommandLists::RedactChatCommands},
    {"RedactConsoleCommands", &CommandLists::RedactConsoleCommands},
    {"RedactRconCommands", &CommandLists::RedactRconCommands},
};

// Whether a chat message is a command: it starts with "/"; anything else is conversation.
bool IsChatCommand(const FString& message) noexcept;
// The command's first word: split at U+0020 only, empty pieces dropped; empty when none.
FStringView FirstWord(FStringView command) noexcept;
bool MatchesCommand(const FString& command, const FString& entry) noexcept;
bool IsListed(const FString& command, const CommandList& list) noexcept;
// The index of the first entry the command matches; none when no entry does.
std::optional<std::size_t> FirstListed(const FString& command, const CommandList& list) noexcept;

// Reads a list of command names; each entry must be a string, decoded from UTF-8.
CommandList ReadCommandList(const JsonPlace& place);
// Builds the lists from the document. Throws ConfigError for a non-string entry.
CommandLists BuildCommandLists(const Json& document);

}  // namespace Tallyrook
