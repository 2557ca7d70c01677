#include "LoadedConfig.h"

#include <fstream>
#include <iterator>

#include "Configuration.h"

namespace devserver {

namespace {

using Tallyrook::ConfigError;
using Tallyrook::Json;
using Tallyrook::JsonPlace;

std::vector<Entry> EntriesOf(const JsonPlace& place) {
  std::vector<Entry> entries;
  place.ForEachInList([&entries](const JsonPlace& entry) {
    if (entry.Value().is_string()) entries.push_back({entry.Path(), entry.String()});
  });
  return entries;
}

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
  if (path == Tallyrook::kChannelGroupsKey) return "a list of group objects";
  const std::string key = path.substr(path.find_last_of(".]") + 1);
  std::string group = std::string("a group object with ") + Tallyrook::kIdentifierKey;
  for (const Tallyrook::KindSchema& kind : Tallyrook::kKinds) {
    if (key == kind.group_key) {
      return std::string("an object with ") + Tallyrook::kChannelTagKey + " and " +
             Tallyrook::kBotNameKey;
    }
    group += std::string(&kind == &Tallyrook::kKinds[Tallyrook::kKindCount - 1] ? " and " : ", ") +
             kind.group_key;
  }
  return group;
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

Built Build(const Json& document) {
  Built built;
  const JsonPlace top(document);
  try {
    top.Member(Tallyrook::kChannelGroupsKey).ForEachInList([&built](const JsonPlace& element) {
      try {
        built.groups.Groups.push_back(Tallyrook::BuildChannelGroup(element));
        built.group_paths.push_back(element.Path());
        auto& entries = built.channel_entries.emplace_back();
        for (const Tallyrook::KindSchema& kind : Tallyrook::kKinds) {
          entries[static_cast<std::size_t>(kind.kind)] =
              EntriesOf(element.Member(kind.group_key).Member(Tallyrook::kCommandsKey));
        }
      } catch (const ConfigError& error) {
        built.errors.push_back(PlainError(error));
      }
    });
  } catch (const ConfigError& error) {
    built.errors.push_back(PlainError(error));
    return built;  // not an object at the top: no list can be read either
  }
  Tallyrook::ForEachListSchema([&](const Tallyrook::ListSchema& list) {
    try {
      built.lists.*list.list = Tallyrook::ReadCommandList(top.Member(list.key));
      built.list_entries[list.key] = EntriesOf(top.Member(list.key));
    } catch (const ConfigError& error) {
      built.errors.push_back(PlainError(error));
    }
  });
  return built;
}

// The line of the first byte that is not part of well-formed UTF-8 (no overlong form, no
// surrogate, nothing above U+10FFFF); 0 when every byte is.
std::size_t FirstNonUtf8Line(const std::string& text) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t k) {
      return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead == '\n') ++line;
    // The continuation bytes a lead takes, and the range its first one must lie in.
    const std::size_t extra = lead < 0x80   ? 0
                              : lead < 0xC2 ? 4
                              : lead < 0xE0 ? 1
                              : lead < 0xF0 ? 2
                              : lead < 0xF5 ? 3
                                            : 4;
    if (extra == 4) return line;
    const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (std::size_t k = 1; k <= extra; ++k) {
      const unsigned next = byte(k);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return line;
    }
    i += extra + 1;
  }
  return 0;
}

}  // namespace

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

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string Source::At(const std::string& place) const {
  return (place.empty() ? std::string("top level") : place) + " (line " +
         std::to_string(where.LineOf(place)) + ")";
}

}  // namespace devserver
