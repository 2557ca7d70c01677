// The command lists of the configuration, and the one rule by which a command counts as a named
// command: its name (its first word, or the word after a command prefix) equals the entry,
// ignoring the case of A-Z.
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
  // Words an administrator types before a console or RCON command's name: "admincheat fly".
  CommandList CommandPrefixes;
};

// Whether a chat message is a command: it starts with "/"; anything else is conversation.
bool IsChatCommand(const FString& message) noexcept;
// Whether `c` is Unicode White_Space: the game's console splits a command into words at any.
constexpr bool IsWhiteSpace(FChar c) noexcept {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// The first word of `text`: white space before it is skipped, and it ends at white space or at a
// NUL, where the C runtime's texts end; empty when there is none.
FStringView FirstWord(FStringView text) noexcept;

// What lists and groups know a command by: its first word, or, when that word is one of the
// prefixes (A-Z folded), the word after it; a prefix with no word after it is its own name.
struct CommandName {
  FStringView name;
  std::size_t end = 0;                // where the name ends in the command
  std::optional<std::size_t> prefix;  // the prefix's entry, when the name follows one
};
CommandName NameOf(FStringView command, const CommandList& prefixes) noexcept;
// The index of the first entry equal to the command's name; none when no entry is, or when the
// name is empty.
std::optional<std::size_t> FirstListed(FStringView name, const CommandList& list) noexcept;

// Reads a list of command names; each entry must be a string, decoded from UTF-8.
CommandList ReadCommandList(const JsonPlace& place);
// Builds the lists from the document. Throws ConfigError for a non-string entry.
CommandLists BuildCommandLists(const Json& document);

}  // namespace Tallyrook
