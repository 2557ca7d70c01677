#include "ConfigCheck.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "Configuration.h"
#include "JsonSource.h"

namespace devserver {

namespace {

using Tallyrook::ChannelGroup;
using Tallyrook::CommandKind;
using Tallyrook::CommandList;
using Tallyrook::CommandLists;
using Tallyrook::ConfigError;
using Tallyrook::FirstListed;
using Tallyrook::Json;
using Tallyrook::JsonPlace;

struct KindInfo {
  CommandKind kind;
  const char* key;
  const char* name;
  const char* ignore_key;
  const char* blacklist_key;
  const char* redact_key;
  CommandList CommandLists::*ignored;
  CommandList CommandLists::*blacklist;
  CommandList CommandLists::*redacted;
  const char* ignored_rule;  // when a command on the ignore list is reported all the same
};

constexpr KindInfo kKinds[] = {
    {CommandKind::Chat, "Chat", "chat", "IgnoreChatCommands", "BlacklistChatCommands",
     "RedactChatCommands", &CommandLists::IgnoreChatCommands, &CommandLists::BlacklistChatCommands,
     &CommandLists::RedactChatCommands, "ignored chat commands are never reported"},
    {CommandKind::Console, "Console", "console", "IgnoreConsoleCommands",
     "BlacklistConsoleCommands", "RedactConsoleCommands", &CommandLists::IgnoreConsoleCommands,
     &CommandLists::BlacklistConsoleCommands, &CommandLists::RedactConsoleCommands,
     "reported only for an administrator while LogEverything is true"},
    {CommandKind::Rcon, "Rcon", "rcon", "IgnoreRconCommands", "BlacklistRconCommands",
     "RedactRconCommands", &CommandLists::IgnoreRconCommands, &CommandLists::BlacklistRconCommands,
     &CommandLists::RedactRconCommands, "reported only while LogEverything is true"},
};

const char* const kTopKeys[] = {
    "ChannelGroups",         "IgnoreChatCommands",    "IgnoreConsoleCommands",
    "IgnoreRconCommands",    "BlacklistChatCommands", "BlacklistConsoleCommands",
    "BlacklistRconCommands", "RedactChatCommands",    "RedactConsoleCommands",
    "RedactRconCommands",    "StaffGroups",           "LogEverything"};
const char* const kGroupKeys[] = {"Identifier", "Chat", "Console", "Rcon"};
const char* const kChannelKeys[] = {"ChannelTag", "BotName", "Commands"};

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// One string entry of a list, where it stands.
struct Entry {
  std::string path;
  std::string text;
};

std::vector<Entry> EntriesOf(const JsonPlace& place) {
  std::vector<Entry> entries;
  place.ForEachInList([&entries](const JsonPlace& entry) {
    if (entry.Value().is_string()) entries.push_back({entry.Path(), entry.String()});
  });
  return entries;
}

// The configuration file as read: its text, the document and where each value stands.
struct Source {
  std::string path;
  std::string text;
  Json document;
  JsonSource where;

  // "ChannelGroups[1].Chat (line 7)".
  std::string At(const std::string& place) const {
    return (place.empty() ? std::string("top level") : place) + " (line " +
           std::to_string(where.LineOf(place)) + ")";
  }
};

// What the JSON library calls a type, as a reader would.
std::string Plainly(const std::string& type) {
  if (type == "array" || type == "object") return "an " + type;
  if (type == "null") return "null";
  return "a " + type;
}

// What the configuration wants at `path`, when the value there had to be `expected`.
std::string Wanted(const std::string& path, const std::string& expected) {
  if (expected == "string") return "a string";
  if (expected == "boolean") return "true or false";
  if (path.empty()) return "an object";
  if (path == "ChannelGroups") return "a list of group objects";
  const std::string key = path.substr(path.find_last_of(".]") + 1);
  if (key == "Chat" || key == "Console" || key == "Rcon") {
    return "an object with ChannelTag and BotName";
  }
  return "a group object with Identifier, Chat, Console and Rcon";
}

// A build error in plain words, with its place.
std::string PlainError(const ConfigError& error) {
  if (!error.MissingAt().empty()) {
    const std::string& at = error.MissingAt();
    const std::string wanted = Wanted(at, at == error.Path() ? error.Expected() : "object");
    return at + ": missing (" + wanted + " is required)";
  }
  if (error.Expected().empty()) return error.what();
  return (error.Path().empty() ? std::string("top level") : error.Path()) + ": expected " +
         Wanted(error.Path(), error.Expected()) + ", found " + Plainly(error.Found());
}

// The configuration as the plugin would build it, or the errors that stop the build.
struct Built {
  std::vector<std::unique_ptr<ChannelGroup>> groups;
  std::vector<std::string> group_paths;
  std::vector<std::array<std::vector<Entry>, 3>> channel_entries;  // per group, per kind
  CommandLists lists;
  std::map<std::string, std::vector<Entry>> list_entries;  // by key
  std::vector<std::string> errors;
};

Built Build(const Json& document) {
  Built built;
  const JsonPlace top(document);
  try {
    top.Member("ChannelGroups").ForEachInList([&built](const JsonPlace& element) {
      try {
        built.groups.push_back(Tallyrook::BuildChannelGroup(element));
        built.group_paths.push_back(element.Path());
        auto& entries = built.channel_entries.emplace_back();
        for (const KindInfo& kind : kKinds) {
          entries[static_cast<std::size_t>(kind.kind)] =
              EntriesOf(element.Member(kind.key).Member("Commands"));
        }
      } catch (const ConfigError& error) {
        built.errors.push_back(PlainError(error));
      }
    });
  } catch (const ConfigError& error) {
    built.errors.push_back(PlainError(error));
    return built;  // not an object at the top: no list can be read either
  }
  for (const auto& [key, list] : Tallyrook::kCommandListKeys) {
    try {
      built.lists.*list = Tallyrook::ReadCommandList(top.Member(key));
      built.list_entries[key] = EntriesOf(top.Member(key));
    } catch (const ConfigError& error) {
      built.errors.push_back(PlainError(error));
    }
  }
  return built;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Folded(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Warns of each key of the object at `place` that the plugin does not read.
template <std::size_t N>
void WarnAboutUnknownKeys(const JsonPlace& place, const char* const (&known)[N],
                          const Source& source, std::vector<std::string>& warnings) {
  if (!place.Value().is_object()) return;
  for (const auto& member : place.Value().items()) {
    const std::string& key = member.key();
    if (std::find(std::begin(known), std::end(known), key) != std::end(known)) continue;
    const std::string path = place.Path().empty() ? key : place.Path() + "." + key;
    std::string warning =
        source.At(path) + ": unknown key " + Quoted(key) + ", which the plugin ignores";
    const char* likely = nullptr;
    std::size_t best = 3;  // at most two edits away
    for (const char* candidate : known) {
      const std::size_t distance =
          Folded(key) == Folded(candidate) ? 0 : EditDistance(key, candidate);
      if (distance < best) best = distance, likely = candidate;
    }
    if (likely != nullptr) warning += "; did you mean " + Quoted(likely) + "?";
    warnings.push_back(warning);
  }
}

void WarnAboutEntry(const Source& source, const Entry& entry, bool chat,
                    std::vector<std::string>& warnings) {
  const std::string at = source.At(entry.path) + ": ";
  const std::string& text = entry.text;
  if (text.empty()) {
    warnings.push_back(at + "an empty entry never matches a command");
    return;
  }
  if (text.front() == ' ' || text.back() == ' ') {
    warnings.push_back(at + Quoted(text) +
                       " has a space before or after it and never matches: a command's words "
                       "are compared without their spaces");
  } else if (text.find(' ') != std::string::npos) {
    warnings.push_back(at + Quoted(text) +
                       " holds a space and never matches: only a command's first word is "
                       "compared");
  }
  if (text.find('\t') != std::string::npos) {
    warnings.push_back(at + Quoted(text) +
                       " holds a tab, which does not separate words: it matches only a command "
                       "typed with that very tab");
  }
  if (text.find(',') != std::string::npos) {
    warnings.push_back(at + Quoted(text) +
                       " holds a comma: list each command as an entry of its own");
  }
  if (chat && text.front() != '/') {
    warnings.push_back(at + Quoted(text) +
                       " does not start with \"/\", so it never matches a chat command");
  }
}

// Whether an entry can match a command at all, so that comparing it with others means something.
bool CanMatch(const std::string& entry) {
  return !entry.empty() && entry.find_first_of(" \t") == std::string::npos;
}

std::vector<std::string> Warnings(const Source& source, const Built& built) {
  std::vector<std::string> warnings;
  const JsonPlace top(source.document);

  // What the plugin never reads: text after the first value, keys given twice, unknown keys.
  if (source.where.trailing_line != 0) {
    warnings.push_back(
        "text after the first JSON value is ignored by the plugin: everything from line " +
        std::to_string(source.where.trailing_line));
  }
  for (const auto& duplicate : source.where.duplicates) {
    warnings.push_back(source.At(duplicate.object) + ": the key " + Quoted(duplicate.key) +
                       " is given twice (lines " + std::to_string(duplicate.first_line) + " and " +
                       std::to_string(duplicate.last_line) +
                       "); the plugin uses the value from line " +
                       std::to_string(duplicate.last_line));
  }
  WarnAboutUnknownKeys(top, kTopKeys, source, warnings);
  top.Member("ChannelGroups").ForEachInList([&](const JsonPlace& element) {
    WarnAboutUnknownKeys(element, kGroupKeys, source, warnings);
    for (const KindInfo& kind : kKinds) {
      WarnAboutUnknownKeys(element.Member(kind.key), kChannelKeys, source, warnings);
    }
  });

  // The fallback group and group names.
  std::map<std::string, std::size_t> first_named;
  bool fallback = false;
  for (std::size_t i = 0; i < built.groups.size(); ++i) {
    const std::string& identifier = built.groups[i]->Identifier;
    const std::string& path = built.group_paths[i];
    fallback = fallback || identifier == "Default";
    const auto [at, inserted] = first_named.emplace(identifier, i);
    if (!inserted) {
      warnings.push_back(source.At(path) + ": the name " + Quoted(identifier) + " is taken by " +
                         built.group_paths[at->second] +
                         (identifier == "Default" ? ", which is the fallback" : "") +
                         "; only the first can be told apart");
    }
    const auto first = identifier.find_first_not_of(' ');
    const auto last = identifier.find_last_not_of(' ');
    const std::string trimmed =
        first == std::string::npos ? "" : identifier.substr(first, last - first + 1);
    if (identifier != "Default" && Folded(trimmed) == "default") {
      warnings.push_back(source.At(path + ".Identifier") + ": " + Quoted(identifier) +
                         " is not the fallback: only a group named exactly \"Default\" is");
    }
  }
  if (!fallback) {
    warnings.push_back(
        "no group is named exactly \"Default\": commands that no group lists are not reported");
  }

  // Entries that never match or never take effect.
  for (const auto& [key, entries] : built.list_entries) {
    const bool chat = key.find("Chat") != std::string::npos;
    for (const Entry& entry : entries) WarnAboutEntry(source, entry, chat, warnings);
  }
  for (const KindInfo& kind : kKinds) {
    const auto k = static_cast<std::size_t>(kind.kind);
    const auto& blacklist = built.lists.*kind.blacklist;
    const auto& blacklist_entries = built.list_entries.at(kind.blacklist_key);
    for (const Entry& entry : built.list_entries.at(kind.ignore_key)) {
      if (!CanMatch(entry.text)) continue;
      const FString command = FString::FromUtf8(entry.text);
      if (const auto hit = FirstListed(command, blacklist)) {
        warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                           " is also blacklisted by " + blacklist_entries[*hit].path +
                           ", so this ignore entry has no effect");
        continue;
      }
      for (std::size_t g = 0; g < built.groups.size(); ++g) {
        if (const auto hit =
                FirstListed(command, built.groups[g]->ChannelFor(kind.kind)->Commands)) {
          warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                             " is also listed in " + built.channel_entries[g][k][*hit].path +
                             ", but " + kind.ignored_rule);
          break;
        }
      }
    }
    for (std::size_t g = 0; g < built.groups.size(); ++g) {
      for (const Entry& entry : built.channel_entries[g][k]) {
        WarnAboutEntry(source, entry, kind.kind == CommandKind::Chat, warnings);
        if (!CanMatch(entry.text)) continue;
        const FString command = FString::FromUtf8(entry.text);
        if (const auto hit = FirstListed(command, blacklist)) {
          warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                             " is blacklisted for " + kind.name + " commands by " +
                             blacklist_entries[*hit].path + ", so it is never reported");
          continue;
        }
        for (std::size_t earlier = 0; earlier < g; ++earlier) {
          const auto& taken = built.groups[earlier]->ChannelFor(kind.kind)->Commands;
          if (const auto hit = FirstListed(command, taken)) {
            warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                               " is taken first by " +
                               built.channel_entries[earlier][k][*hit].path +
                               ", so this entry never routes a command");
            break;
          }
        }
      }
    }
  }

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
      warnings.push_back(source.At(entry.Path()) +
                         ": not a string: the console reports of players whose groups match no "
                         "earlier entry are not sent");
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

// The line of the first byte that is not part of well-formed UTF-8; 0 when every byte is.
std::size_t FirstNonUtf8Line(const std::string& text) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead == '\n') ++line;
    const std::size_t extra = lead < 0x80                    ? 0
                              : lead >= 0xC2 && lead <= 0xDF ? 1
                              : lead >= 0xE0 && lead <= 0xEF ? 2
                              : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                             : 4;
    if (extra == 4 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) return line;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return line;
    }
    i += extra + 1;
  }
  return 0;
}

// Reads and builds the file as the plugin would; on failure prints why and returns false.
bool Load(const std::string& path, Source& source, Built& built, std::ostream& out) {
  std::ifstream file(path, std::ios::binary);
  source.path = path;
  source.text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  try {
    source.document = Tallyrook::ParseConfigurationFile(path);
  } catch (const std::exception& error) {
    const std::string& text = source.text;
    const bool utf16 = text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                                            (text[0] == '\xFE' && text[1] == '\xFF'));
    const std::size_t bad_line = FirstNonUtf8Line(text);
    if (utf16) {
      out << path << ": saved as UTF-16 (it starts with a UTF-16 byte-order mark): save it as "
          << "UTF-8\n";
    } else if (bad_line != 0) {
      out << path << ": line " << bad_line << ": not UTF-8 text: save the file as UTF-8\n";
    } else {
      out << path << ": " << Tallyrook::JsonLibraryMessage(error) << "\n";
    }
    out << "The plugin would not load: Can't parse configuration\n";
    return false;
  }
  source.where = ScanJson(source.text);
  built = Build(source.document);
  if (built.errors.empty()) return true;
  for (const auto& error : built.errors) out << error << "\n";
  out << "The plugin would not load: Can't initialize manager\n";
  return false;
}

}  // namespace

int CheckConfig(const std::string& path, bool strict, std::ostream& out) {
  Source source;
  Built built;
  if (!Load(path, source, built, out)) return 1;
  out << path << ": the plugin would load.\n";
  Summarise(built, out);
  const auto warnings = Warnings(source, built);
  for (const auto& warning : warnings) out << "warning: " << warning << "\n";
  if (warnings.empty()) out << "No warnings.\n";
  return strict && !warnings.empty() ? 1 : 0;
}

int ExplainCommand(const std::string& path, const std::string& kind_name,
                   const std::string& command_text, bool admin, std::ostream& out) {
  Source source;
  Built built;
  if (!Load(path, source, built, out)) return 1;
  const KindInfo& kind = *std::find_if(std::begin(kKinds), std::end(kKinds),
                                       [&](const KindInfo& k) { return kind_name == k.name; });
  // The plugin's own decisions read LogEverything from its document.
  Tallyrook::ConfigDocument = source.document;
  const FString command = FString::FromUtf8(command_text);
  int step = 0;
  const auto say = [&](const std::string& text) { out << "  " << ++step << ". " << text << "\n"; };
  const auto quoted = [](const Entry& entry) {
    return entry.path + " (" + Quoted(entry.text) + ")";
  };
  out << kind.name << " " << Quoted(command_text) << (admin ? " from an administrator" : "")
      << ":\n";

  if (kind.kind == CommandKind::Chat && !Tallyrook::IsChatCommand(command)) {
    say("plain chat, not a command: only chat that starts with \"/\" is a command");
    out << "-> not reported\n";
    return 0;
  }
  if (const auto hit = FirstListed(command, built.lists.*kind.blacklist)) {
    say("blacklisted by " + quoted(built.list_entries.at(kind.blacklist_key)[*hit]));
    out << "-> not reported\n";
    return 0;
  }
  say(std::string("not on ") + kind.blacklist_key);
  if (const auto hit = FirstListed(command, built.lists.*kind.ignored)) {
    say("ignored by " + quoted(built.list_entries.at(kind.ignore_key)[*hit]) + ": " +
        kind.ignored_rule);
    std::string why;
    if (kind.kind == CommandKind::Chat) {
      why = "ignored";
    } else if (kind.kind == CommandKind::Console && !admin) {
      why = "the player is not an administrator";
    } else {
      try {
        if (!Tallyrook::LogEverything()) why = "LogEverything is false";
      } catch (const ConfigError& error) {
        why = "LogEverything is " +
              std::string(error.Found() == "null" ? "absent" : "not true or false");
      }
    }
    if (!why.empty()) {
      out << "-> not reported: " << why << "\n";
      return 0;
    }
    say("LogEverything is true: reported all the same");
  } else {
    say(std::string("not on ") + kind.ignore_key);
  }

  const auto groups = std::make_unique<Tallyrook::ChannelGroupList>();
  for (auto& group : built.groups) groups->Groups.push_back(std::move(group));
  const FStringView word = Tallyrook::FirstWord(command.View());
  const std::string first_word = ToUtf8(word);
  Tallyrook::ChannelDataRef channel = groups->Route(command, kind.kind);
  if (channel) {
    for (std::size_t g = 0; g < groups->Groups.size(); ++g) {
      const auto* candidate = groups->Groups[g]->ChannelFor(kind.kind);
      if (candidate->ChannelData != channel) continue;
      const auto hit = FirstListed(command, candidate->Commands);
      say("routed to group " + Quoted(groups->Groups[g]->Identifier) + " by " +
          quoted(built.channel_entries[g][static_cast<std::size_t>(kind.kind)][*hit]));
      break;
    }
  } else {
    channel = groups->FindByIdentifier("Default", kind.kind);
    if (!channel) {
      say("no group lists " + Quoted(first_word) + ", and no group is named \"Default\"");
      out << "-> not reported\n";
      return 0;
    }
    say("no group lists " + Quoted(first_word) + ": the \"Default\" group's channel");
  }
  if (const auto hit = FirstListed(command, built.lists.*kind.redacted)) {
    say("redacted by " + quoted(built.list_entries.at(kind.redact_key)[*hit]) +
        ": everything after the first word shows as \" [arguments hidden]\"");
  }
  out << "-> reported to #" << channel->ChannelTag << " as " << channel->BotName << "\n";
  return 0;
}

}  // namespace devserver
