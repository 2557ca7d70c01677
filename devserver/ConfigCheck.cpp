#include "ConfigCheck.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <vector>

#include "LoadedConfig.h"
#include "TextHeap.h"

namespace devserver {

namespace {

using Tallyrook::ChannelGroup;
using Tallyrook::CommandKind;
using Tallyrook::CommandList;
using Tallyrook::FirstListed;
using Tallyrook::JsonPlace;
using Tallyrook::KindSchema;
using Tallyrook::kKinds;

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
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
void WarnAboutUnknownKeys(const JsonPlace& place, const std::vector<std::string>& known,
                          const Source& source, std::vector<std::string>& warnings) {
  if (!place.Value().is_object()) return;
  for (const auto& member : place.Value().items()) {
    const std::string& key = member.key();
    if (std::find(known.begin(), known.end(), key) != known.end()) continue;
    const std::string path = place.Path().empty() ? key : place.Path() + "." + key;
    std::string warning =
        source.At(path) + ": unknown key " + Quoted(key) + ", which the plugin ignores";
    const std::string* likely = nullptr;
    std::size_t best = 3;  // at most two edits away
    for (const std::string& candidate : known) {
      const std::size_t distance =
          Folded(key) == Folded(candidate) ? 0 : EditDistance(key, candidate);
      if (distance < best) best = distance, likely = &candidate;
    }
    if (likely != nullptr) warning += "; did you mean " + Quoted(*likely) + "?";
    warnings.push_back(warning);
  }
}

// How a reader would name the white space `c`.
std::string WhiteSpaceName(FChar c) {
  if (c == ' ') return "a space";
  if (c == '\t') return "a tab";
  char code[5];
  std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(c));
  return std::string("white space (U+") + code + ")";
}

void WarnAboutEntry(const Source& source, const Entry& entry, bool chat,
                    std::vector<std::string>& warnings) {
  const std::string at = source.At(entry.path) + ": ";
  const std::string& text = entry.text;
  if (text.empty()) {
    warnings.push_back(at + "an empty entry never matches a command");
    return;
  }
  const FString units = FString::FromUtf8(text);
  const FStringView view = units.View();
  const auto space = std::find_if(view.begin(), view.end(), Tallyrook::IsWhiteSpace);
  if (space != view.end()) {
    const std::string name = WhiteSpaceName(*space);
    const bool outside =
        Tallyrook::IsWhiteSpace(view.front()) || Tallyrook::IsWhiteSpace(view.back());
    warnings.push_back(at + Quoted(text) +
                       (outside ? " has " + name +
                                      " before or after it and never matches: a command's words "
                                      "are compared without the white space around them"
                                : " holds " + name +
                                      " and never matches: white space separates words, and "
                                      "only a command's name is compared"));
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
  const FString units = FString::FromUtf8(entry);
  const FStringView view = units.View();
  return !view.empty() && std::none_of(view.begin(), view.end(), Tallyrook::IsWhiteSpace);
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
  // The keys the plugin reads, in the order a suggestion prefers them.
  std::vector<std::string> top_keys = {Tallyrook::kChannelGroupsKey};
  Tallyrook::ForEachListSchema(
      [&](const Tallyrook::ListSchema& list) { top_keys.emplace_back(list.key); });
  top_keys.insert(top_keys.end(), {Tallyrook::kStaffGroupsKey, Tallyrook::kLogEverythingKey});
  std::vector<std::string> group_keys = {Tallyrook::kIdentifierKey};
  for (const KindSchema& kind : kKinds) group_keys.emplace_back(kind.group_key);
  const std::vector<std::string> channel_keys = {Tallyrook::kChannelTagKey, Tallyrook::kBotNameKey,
                                                 Tallyrook::kCommandsKey};
  WarnAboutUnknownKeys(top, top_keys, source, warnings);
  top.Member(Tallyrook::kChannelGroupsKey).ForEachInList([&](const JsonPlace& element) {
    WarnAboutUnknownKeys(element, group_keys, source, warnings);
    for (const KindSchema& kind : kKinds) {
      WarnAboutUnknownKeys(element.Member(kind.group_key), channel_keys, source, warnings);
    }
  });

  // The fallback group and group names.
  const std::string fallback = Tallyrook::kFallbackGroup;
  const auto& groups = built.groups.Groups;
  std::map<std::string, std::size_t> first_named;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::string& identifier = groups[i]->Identifier;
    const std::string& path = built.group_paths[i];
    const auto [at, inserted] = first_named.emplace(identifier, i);
    if (!inserted) {
      warnings.push_back(source.At(path) + ": the name " + Quoted(identifier) + " is taken by " +
                         built.group_paths[at->second] +
                         (identifier == fallback ? ", which is the fallback" : "") +
                         "; only the first can be told apart");
    }
    const auto first = identifier.find_first_not_of(' ');
    const auto last = identifier.find_last_not_of(' ');
    const std::string trimmed =
        first == std::string::npos ? "" : identifier.substr(first, last - first + 1);
    if (identifier != fallback && Folded(trimmed) == Folded(fallback)) {
      warnings.push_back(source.At(path + "." + Tallyrook::kIdentifierKey) + ": " +
                         Quoted(identifier) + " is not the fallback: only a group named exactly " +
                         Quoted(fallback) + " is");
    }
  }
  if (!built.groups.FindByIdentifier(fallback)) {
    warnings.push_back("no group is named exactly " + Quoted(fallback) +
                       ": commands that no group lists are not reported");
  }

  // Entries that never match or never take effect.
  for (const KindSchema& kind : kKinds) {
    const bool chat = kind.kind == CommandKind::Chat;
    for (const Tallyrook::ListSchema* list : {&kind.ignore, &kind.blacklist, &kind.redact}) {
      for (const Entry& entry : built.list_entries.at(list->key)) {
        WarnAboutEntry(source, entry, chat, warnings);
      }
    }
  }
  for (const KindSchema& kind : kKinds) {
    const auto k = static_cast<std::size_t>(kind.kind);
    const auto& blacklist = built.lists.*kind.blacklist.list;
    const auto& blacklist_entries = built.list_entries.at(kind.blacklist.key);
    for (const Entry& entry : built.list_entries.at(kind.ignore.key)) {
      if (!CanMatch(entry.text)) continue;
      const FString name = FString::FromUtf8(entry.text);
      if (const auto hit = FirstListed(name.View(), blacklist)) {
        warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                           " is also blacklisted by " + blacklist_entries[*hit].path +
                           ", so this ignore entry has no effect");
        continue;
      }
      for (std::size_t g = 0; g < groups.size(); ++g) {
        if (const auto hit = FirstListed(name.View(), groups[g]->ChannelFor(kind.kind)->Commands)) {
          warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                             " is also listed in " + built.channel_entries[g][k][*hit].path +
                             ", but " + kind.ignored_rule);
          break;
        }
      }
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
      for (const Entry& entry : built.channel_entries[g][k]) {
        WarnAboutEntry(source, entry, kind.kind == CommandKind::Chat, warnings);
        if (!CanMatch(entry.text)) continue;
        const FString name = FString::FromUtf8(entry.text);
        if (const auto hit = FirstListed(name.View(), blacklist)) {
          warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                             " is blacklisted for " + kind.name + " commands by " +
                             blacklist_entries[*hit].path + ", so it is never reported");
          continue;
        }
        for (std::size_t earlier = 0; earlier < g; ++earlier) {
          const auto& taken = groups[earlier]->ChannelFor(kind.kind)->Commands;
          if (const auto hit = FirstListed(name.View(), taken)) {
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

  // Command prefixes: an entry equal to one can match only the bare word.
  const CommandList& prefixes = built.lists.CommandPrefixes;
  const auto& prefix_entries = built.list_entries.at(Tallyrook::kCommandPrefixes.key);
  const auto warn_if_prefix = [&](const Entry& entry) {
    if (!CanMatch(entry.text)) return;
    const FString name = FString::FromUtf8(entry.text);
    if (const auto hit = FirstListed(name.View(), prefixes)) {
      warnings.push_back(source.At(entry.path) + ": " + Quoted(entry.text) +
                         " is a command prefix (" + prefix_entries[*hit].path +
                         "), so it matches only the prefix typed alone: a command after a "
                         "prefix is known by the word that follows it");
    }
  };
  for (const KindSchema& kind : kKinds) {
    if (!kind.prefixed) continue;
    for (const Tallyrook::ListSchema* list : {&kind.ignore, &kind.blacklist, &kind.redact}) {
      for (const Entry& entry : built.list_entries.at(list->key)) warn_if_prefix(entry);
    }
    for (const auto& entries : built.channel_entries) {
      for (const Entry& entry : entries[static_cast<std::size_t>(kind.kind)]) warn_if_prefix(entry);
    }
  }

  // The console login's argument is the admin password, which a report would post.
  const FString enable_cheats = FString::FromUtf8("EnableCheats");
  if (const auto hit = FirstListed(enable_cheats.View(), prefixes)) {
    warnings.push_back(source.At(prefix_entries[*hit].path) + ": " +
                       Quoted(prefix_entries[*hit].text) +
                       " is not a prefix: the word after it is the server's admin password, "
                       "which as the command's name no list can hide");
  }
  if (!FirstListed(enable_cheats.View(), built.lists.BlacklistConsoleCommands) &&
      !FirstListed(enable_cheats.View(), built.lists.RedactConsoleCommands)) {
    warnings.push_back(
        "the console command EnableCheats is neither blacklisted nor redacted, so its argument "
        "is reported: its argument is the server's admin password (add it to "
        "RedactConsoleCommands)");
  }

  // Values read only when a command arrives.
  top.Member(Tallyrook::kStaffGroupsKey).ForEachInList([&](const JsonPlace& entry) {
    if (!entry.Value().is_string()) {
      warnings.push_back(source.At(entry.Path()) +
                         ": not a string: the console reports of players whose groups match no "
                         "earlier entry are not sent");
    }
  });
  const Tallyrook::Json& log_everything = top.Member(Tallyrook::kLogEverythingKey).Value();
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
  const auto& groups = built.groups.Groups;
  out << "Channel groups, in routing order:\n";
  if (groups.empty()) out << "  (none: no command is reported)\n";
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const ChannelGroup& group = *groups[i];
    out << "  " << i + 1 << ". \"" << group.Identifier << "\"\n";
    for (const KindSchema& kind : kKinds) {
      const auto* channel = group.ChannelFor(kind.kind);
      out << "       " << kind.name << std::string(8 - std::string(kind.name).size(), ' ') << "#"
          << channel->ChannelData->ChannelTag << " as " << channel->ChannelData->BotName << ", "
          << Count(channel->Commands.size(), "command", "commands") << "\n";
    }
  }
  out << "Command lists:\n";
  Tallyrook::ForEachListSchema([&](const Tallyrook::ListSchema& list) {
    if (&list == &Tallyrook::kCommandPrefixes) return;
    out << "  " << list.key << std::string(26 - std::string(list.key).size(), ' ')
        << Count((built.lists.*list.list).size(), "entry", "entries") << "\n";
  });
  const auto& prefixes = built.list_entries.at(Tallyrook::kCommandPrefixes.key);
  if (!prefixes.empty()) {
    out << "Command prefixes, before a console or RCON command's name:";
    for (const Entry& prefix : prefixes) out << " " << Quoted(prefix.text);
    out << "\n";
  }
  out << "Fallback for commands no group lists: ";
  if (const auto fallback = built.groups.FindByIdentifier(Tallyrook::kFallbackGroup)) {
    out << "group " << *fallback + 1 << " " << Quoted(Tallyrook::kFallbackGroup) << "\n";
  } else {
    out << "none\n";
  }
}

}  // namespace

int CheckConfig(const std::string& path, bool strict, std::ostream& out) {
  ProvideTextHeap();
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

}  // namespace devserver
