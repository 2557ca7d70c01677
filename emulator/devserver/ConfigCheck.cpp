#include "ConfigCheck.h"

#include <map>
#include <memory>
#include <vector>

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "Configuration.h"

namespace devserver {

namespace {

using Tallyrook::ChannelGroup;
using Tallyrook::CommandKind;
using Tallyrook::CommandList;
using Tallyrook::CommandLists;
using Tallyrook::ConfigError;
using Tallyrook::Json;
using Tallyrook::JsonPlace;

struct KindInfo {
  CommandKind kind;
  const char* key;
  const char* name;
  CommandList CommandLists::*blacklist;
};

constexpr KindInfo kKinds[] = {
    {CommandKind::Chat, "Chat", "chat", &CommandLists::BlacklistChatCommands},
    {CommandKind::Console, "Console", "console", &CommandLists::BlacklistConsoleCommands},
    {CommandKind::Rcon, "Rcon", "rcon", &CommandLists::BlacklistRconCommands},
};

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The configuration as the plugin would build it, or the errors that stop the build.
struct Built {
  std::vector<std::unique_ptr<ChannelGroup>> groups;
  std::vector<std::string> group_paths;
  CommandLists lists;
  std::vector<std::string> errors;
};

Built Build(const Json& document) {
  Built built;
  const JsonPlace top(document);
  if (!document.is_object() && !document.is_null()) {
    try {
      top.Member("ChannelGroups");
    } catch (const ConfigError& error) {
      built.errors.push_back("top level: " + error.Message());
    }
    return built;
  }
  try {
    top.Member("ChannelGroups").ForEachInList([&built](const JsonPlace& element) {
      try {
        built.groups.push_back(Tallyrook::BuildChannelGroup(element));
        built.group_paths.push_back(element.Path());
      } catch (const ConfigError& error) {
        built.errors.push_back(error.what());
      }
    });
  } catch (const ConfigError& error) {
    built.errors.push_back(error.what());
  }
  for (const auto& [key, list] : Tallyrook::kCommandListKeys) {
    try {
      built.lists.*list = Tallyrook::ReadCommandList(top.Member(key));
    } catch (const ConfigError& error) {
      built.errors.push_back(error.what());
    }
  }
  return built;
}

// Calls `visit(path, text)` for each string entry of the list at `place`.
template <typename Visit>
void ForEachEntry(const JsonPlace& place, Visit visit) {
  place.ForEachInList([&visit](const JsonPlace& entry) { visit(entry.Path(), entry.String()); });
}

void WarnAboutEntry(const std::string& path, const std::string& entry,
                    std::vector<std::string>& warnings) {
  if (entry.empty()) {
    warnings.push_back(path + ": an empty entry never matches a command");
  } else if (entry.find(' ') != std::string::npos) {
    warnings.push_back(path + ": \"" + entry +
                       "\" holds a space and never matches: only a command's first word is "
                       "compared");
  }
}

std::vector<std::string> Warnings(const Json& document, const Built& built) {
  std::vector<std::string> warnings;
  const JsonPlace top(document);

  // The fallback group and duplicate names.
  std::map<std::string, std::size_t> first_named;
  const ChannelGroup* fallback = nullptr;
  for (std::size_t i = 0; i < built.groups.size(); ++i) {
    const std::string& identifier = built.groups[i]->Identifier;
    if (identifier == "Default" && fallback == nullptr) fallback = built.groups[i].get();
    const auto [at, inserted] = first_named.emplace(identifier, i);
    if (!inserted) {
      warnings.push_back(built.group_paths[i] + ": the name \"" + identifier + "\" is taken by " +
                         built.group_paths[at->second] +
                         (identifier == "Default" ? ", which is the fallback" : "") +
                         "; only the first can be told apart");
    }
  }
  if (fallback == nullptr) {
    std::string warning =
        "no group is named exactly \"Default\": commands that no group lists are not reported";
    for (std::size_t i = 0; i < built.groups.size(); ++i) {
      if (EqualsIgnoringCase(FString(built.groups[i]->Identifier).View(), FTEXT("Default"))) {
        warning += " (" + built.group_paths[i] + " is named \"" + built.groups[i]->Identifier +
                   "\"; the name is case-sensitive)";
        break;
      }
    }
    warnings.push_back(warning);
  }

  // Entries that never match, and channel commands that are blacklisted.
  for (const auto& [key, list] : Tallyrook::kCommandListKeys) {
    ForEachEntry(top.Member(key), [&](const std::string& path, const std::string& entry) {
      WarnAboutEntry(path, entry, warnings);
    });
  }
  top.Member("ChannelGroups").ForEachInList([&](const JsonPlace& element) {
    for (const KindInfo& kind : kKinds) {
      ForEachEntry(element.Member(kind.key).Member("Commands"), [&](const std::string& path,
                                                                    const std::string& entry) {
        WarnAboutEntry(path, entry, warnings);
        if (Tallyrook::IsListed(FString::FromUtf8(entry), built.lists.*kind.blacklist)) {
          warnings.push_back(path + ": \"" + entry + "\" is blacklisted for " + kind.name +
                             " commands, so it is never reported");
        }
      });
    }
  });

  // The console login's argument is the admin password, which a report would post.
  const FString enable_cheats = FString::FromUtf8("EnableCheats");
  if (!Tallyrook::IsListed(enable_cheats, built.lists.BlacklistConsoleCommands) &&
      !Tallyrook::IsListed(enable_cheats, built.lists.RedactConsoleCommands)) {
    warnings.push_back(
        "the console command EnableCheats is neither blacklisted nor redacted, so its argument "
        "is reported: its argument is the server's admin password (add it to "
        "RedactConsoleCommands)");
  }

  // Values read only when a command arrives.
  top.Member("StaffGroups").ForEachInList([&](const JsonPlace& entry) {
    if (!entry.Value().is_string()) {
      warnings.push_back(entry.Path() +
                         ": not a string: the console reports of players whose "
                         "groups match no earlier entry are not sent");
    }
  });
  const Json& log_everything = top.Member("LogEverything").Value();
  const bool ignoring =
      !built.lists.IgnoreConsoleCommands.empty() || !built.lists.IgnoreRconCommands.empty();
  if (ignoring && !log_everything.is_boolean()) {
    warnings.push_back(std::string("LogEverything is ") +
                       (log_everything.is_null() ? "absent" : "not true or false") +
                       ": ignored console and RCON commands are never reported");
  }
  return warnings;
}

void Summarise(const Built& built, std::ostream& out) {
  out << "Channel groups, in routing order:\n";
  if (built.groups.empty()) out << "  (none: no command is reported)\n";
  for (std::size_t i = 0; i < built.groups.size(); ++i) {
    const ChannelGroup& group = *built.groups[i];
    out << "  " << i + 1 << ". \"" << group.Identifier << "\"\n";
    for (const KindInfo& kind : kKinds) {
      const auto* channel = group.ChannelFor(kind.kind);
      out << "       " << kind.name << std::string(8 - std::string(kind.name).size(), ' ') << "#"
          << channel->ChannelData->ChannelTag << " as " << channel->ChannelData->BotName << ", "
          << Count(channel->Commands.size(), "command", "commands") << "\n";
    }
  }
  out << "Command lists:\n";
  for (const auto& [key, list] : Tallyrook::kCommandListKeys) {
    out << "  " << key << std::string(26 - std::string(key).size(), ' ')
        << Count((built.lists.*list).size(), "entry", "entries") << "\n";
  }
  out << "Fallback for commands no group lists: ";
  std::size_t fallback = 0;
  while (fallback < built.groups.size() && built.groups[fallback]->Identifier != "Default") {
    ++fallback;
  }
  if (fallback < built.groups.size()) {
    out << "group " << fallback + 1 << " \"Default\"\n";
  } else {
    out << "none\n";
  }
}

}  // namespace

int CheckConfig(const std::string& path, std::ostream& out) {
  Json document;
  try {
    document = Tallyrook::ParseConfigurationFile(path);
  } catch (const std::exception& error) {
    out << path << ": " << Tallyrook::JsonLibraryMessage(error) << "\n"
        << "The plugin would not load: Can't parse configuration\n";
    return 1;
  }
  const Built built = Build(document);
  if (!built.errors.empty()) {
    for (const auto& error : built.errors) out << error << "\n";
    out << "The plugin would not load: Can't initialize manager\n";
    return 1;
  }
  out << path << ": the plugin would load.\n";
  Summarise(built, out);
  const auto warnings = Warnings(document, built);
  for (const auto& warning : warnings) out << "warning: " << warning << "\n";
  if (warnings.empty()) out << "No warnings.\n";
  return 0;
}

}  // namespace devserver
