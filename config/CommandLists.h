// The command lists of the configuration, and the one rule by which a command counts as a named
// command: its name equals the entry, ignoring the case of A-Z.
#pragma once

#include <cstddef>
#include <optional>
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
  // Reported with everything after the command's name hidden.
  CommandList RedactChatCommands;
  CommandList RedactConsoleCommands;
  CommandList RedactRconCommands;
};

// Whether a chat message is a command: it starts with "/"; anything else is conversation.
bool IsChatCommand(const FString& message) noexcept;
// The command's first word: split at U+0020 only, empty pieces dropped; empty when none.
FStringView FirstWord(FStringView command) noexcept;
// The index of the first entry equal to the command's name; none when no entry is, or when the
// name is empty.
std::optional<std::size_t> FirstListed(FStringView name, const CommandList& list) noexcept;

// Reads a list of command names; each entry must be a string, decoded from UTF-8.
CommandList ReadCommandList(const JsonPlace& place);
// Builds the lists from the document. Throws ConfigError for a non-string entry.
CommandLists BuildCommandLists(const Json& document);

}  // namespace Tallyrook
