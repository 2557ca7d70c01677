#include "Session.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>

#include "FString.h"
#include "JsonPlace.h"

namespace devserver {

namespace {

using Json = nlohmann::json;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The code unit of the escape "\uXXXX" at `at`, or -1 when there is none.
long EscapedUnit(const std::string& json, std::size_t at) {
  if (at + 6 > json.size() || json.compare(at, 2, "\\u") != 0) return -1;
  for (std::size_t k = at + 2; k < at + 6; ++k) {
    if (!IsHexDigit(json[k])) return -1;
  }
  return std::stol(json.substr(at + 2, 4), nullptr, 16);
}

// The JSON parser refuses an escaped surrogate that is not half of a pair. Such an escape is
// carried through it as U+0000 followed by its four hex digits, and an escaped U+0000 as two of
// them, so that FromSession can tell each back apart.
std::string CarrySurrogateEscapes(const std::string& json) {
  std::string carried;
  bool in_string = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    if (!in_string || json[i] != '\\') {
      if (json[i] == '"') in_string = !in_string;
      carried += json[i];
      continue;
    }
    const long unit = EscapedUnit(json, i);
    const long next = EscapedUnit(json, i + 6);
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && next >= 0xDC00 && next <= 0xDFFF) {
      carried += json.substr(i, 12);
      i += 11;
    } else if (high || low) {
      carried += "\\u0000" + json.substr(i + 2, 4);
      i += 5;
    } else if (unit == 0) {
      carried += "\\u0000\\u0000";
      i += 5;
    } else {
      carried += json.substr(i, 2);  // any other escape, or the start of one
      ++i;
    }
  }
  return carried;
}

// A string of a parsed session or players file as the game's text.
GameText FromSession(const std::string& utf8) {
  const GameText units = Utf16(utf8);
  GameText text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i] != 0 || i + 1 >= units.size()) {
      text += units[i];
    } else if (units[i + 1] == 0) {
      text += FChar{0};
      ++i;
    } else {
      const std::string digits(units.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                               units.begin() + static_cast<std::ptrdiff_t>(i) + 5);
      text += static_cast<FChar>(std::stoul(digits, nullptr, 16));
      i += 4;
    }
  }
  return text;
}

// A Steam ID written in decimal, as a string or a non-negative whole number.
bool ParseSteamId(const Json& value, std::uint64_t& id) {
  if (value.is_number_unsigned()) {
    id = value.get<std::uint64_t>();
    return true;
  }
  if (value.is_number_integer() && value.get<std::int64_t>() >= 0) {
    id = static_cast<std::uint64_t>(value.get<std::int64_t>());
    return true;
  }
  if (!value.is_string()) return false;
  const std::string& text = value.get_ref<const std::string&>();
  if (text.empty() || text.size() > 20) return false;
  std::uint64_t parsed = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (parsed > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    parsed = parsed * 10 + digit;
  }
  id = parsed;
  return true;
}

bool ParseInt32(const Json& value, std::int32_t& out) {
  if (!value.is_number_integer()) return false;
  const auto wide = value.get<std::int64_t>();
  if (wide < std::numeric_limits<std::int32_t>::min() ||
      wide > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  out = static_cast<std::int32_t>(wide);
  return true;
}

// The line on which `needle` first appears in `text`, for errors found after parsing.
std::size_t LineOf(const std::string& text, const std::string& needle) {
  const auto at = text.find(needle);
  if (at == std::string::npos) return 1;
  return 1 + static_cast<std::size_t>(
                 std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

// The line a parse error names, from the JSON library's "at line N, column M".
std::size_t ParseErrorLine(const Json::parse_error& error) {
  const std::string text = error.what();
  const auto at = text.find("at line ");
  return at == std::string::npos ? 1 : std::stoul(text.substr(at + 8));
}

PlayerRecord ReadPlayer(const Json& value) {
  if (!value.is_object()) throw std::runtime_error("a player must be an object");
  PlayerRecord player;
  for (const auto& [key, field] : value.items()) {
    if (key == "name") {
      if (!field.is_string()) throw std::runtime_error("\"name\" must be a string");
      player.name = FromSession(field.get<std::string>());
    } else if (key == "groups") {
      if (!field.is_array()) throw std::runtime_error("\"groups\" must be an array of strings");
      for (const auto& group : field) {
        if (!group.is_string()) throw std::runtime_error("\"groups\" must be an array of strings");
        player.groups.push_back(FromSession(group.get<std::string>()));
      }
    } else if (key == "admin") {
      if (!field.is_boolean()) throw std::runtime_error("\"admin\" must be true or false");
      player.admin = field.get<bool>();
    } else {
      throw std::runtime_error("unknown key \"" + key + "\"");
    }
  }
  return player;
}

HostAction ReadHostAction(const Json& value) {
  static const std::pair<const char*, HostVerb> kVerbs[] = {
      {"load", HostVerb::Load}, {"unload", HostVerb::Unload}, {"reload", HostVerb::Reload}};
  static const char* const kModules[] = {"Skyparley", "Permissions", kPluginModule};
  const std::string text = value.is_string() ? value.get<std::string>() : std::string();
  const auto space = text.find(' ');
  const std::string verb = text.substr(0, space);
  const std::string module = space == std::string::npos ? "" : text.substr(space + 1);
  const auto found = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                  [&](const auto& known) { return verb == known.first; });
  if (found == std::end(kVerbs) ||
      std::find(std::begin(kModules), std::end(kModules), module) == std::end(kModules)) {
    throw std::runtime_error(
        R"("host" must be "load", "unload" or "reload", a space and "Skyparley", )"
        R"("Permissions" or "Tallyrook")");
  }
  return {found->second, module, std::nullopt};
}

// A config.json given in a session: a string is the file's exact text, anything else the JSON
// value written out.
std::string ConfigText(Json value) {
  // Strings come out of the parser as FromSession reads them; the file gets them back.
  const auto restore = [](auto& self, Json& node) -> void {
    if (node.is_string()) {
      node = ToUtf8(FromSession(node.get<std::string>()));
    } else if (node.is_structured()) {
      for (auto& child : node) self(self, child);
    }
  };
  restore(restore, value);
  return value.is_string() ? value.get<std::string>() : value.dump(2) + "\n";
}

SessionEvent ReadEvent(const Json& line) {
  if (!line.is_object()) throw std::runtime_error("an event must be a JSON object");
  SessionEvent event;
  int kinds = 0;
  bool has_player = false;
  for (const auto& [key, value] : line.items()) {
    if (key == "chat" || key == "console" || key == "rcon") {
      ++kinds;
      event.kind = key == "chat"      ? EventKind::Chat
                   : key == "console" ? EventKind::Console
                                      : EventKind::Rcon;
      if (!value.is_string()) throw std::runtime_error("\"" + key + "\" must be a string");
      event.text = FromSession(value.get<std::string>());
    } else if (key == "host") {
      ++kinds;
      event.kind = EventKind::Host;
      const std::optional<std::string> given = event.host.config;
      event.host = ReadHostAction(value);
      event.host.config = given;
    } else if (key == "config") {
      event.host.config = ConfigText(value);
    } else if (key == "player") {
      if (!ParseSteamId(value, event.player)) {
        throw std::runtime_error("\"player\" must be a Steam ID in decimal");
      }
      has_player = true;
    } else if (key == "mode") {
      if (!ParseInt32(value, event.mode))
        throw std::runtime_error("\"mode\" must be a 32-bit integer");
    } else if (key == "flag") {
      if (value.is_boolean()) {
        event.flag = value.get<bool>();
      } else if (value == 0 || value == 1) {
        event.flag = value == 1;
      } else {
        throw std::runtime_error("\"flag\" must be true, false, 0 or 1");
      }
    } else if (key == "type") {
      if (!ParseInt32(value, event.type))
        throw std::runtime_error("\"type\" must be a 32-bit integer");
    } else {
      throw std::runtime_error("unknown key \"" + key + "\"");
    }
  }
  if (kinds != 1) {
    throw std::runtime_error(R"(give exactly one of "chat", "console", "rcon", "host")");
  }
  const bool with_config = event.host.config.has_value();
  if (event.kind == EventKind::Host && line.size() != (with_config ? 2u : 1u)) {
    throw std::runtime_error(R"(a "host" event takes no other key but "config")");
  }
  if (with_config && (event.kind != EventKind::Host || event.host.module != kPluginModule)) {
    throw std::runtime_error(R"("config" belongs to a "host" event of Tallyrook)");
  }
  if ((event.kind == EventKind::Chat || event.kind == EventKind::Console) && !has_player) {
    throw std::runtime_error(std::string("a ") + KindName(event.kind) + " event needs \"player\"");
  }
  return event;
}

}  // namespace

const char* KindName(EventKind kind) {
  switch (kind) {
    case EventKind::Chat:
      return "chat";
    case EventKind::Console:
      return "console";
    case EventKind::Rcon:
      return "rcon";
    case EventKind::Host:
      return "host";
  }
  return "?";
}

Players ReadPlayers(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open the players file " + path);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Json document;
  try {
    document = Json::parse(CarrySurrogateEscapes(text));
  } catch (const Json::parse_error& error) {
    throw InputError(path, ParseErrorLine(error), Tallyrook::JsonLibraryMessage(error));
  }
  if (!document.is_object()) throw InputError(path, 1, "the players file must be a JSON object");
  Players players;
  for (const auto& [key, value] : document.items()) {
    const std::size_t line = LineOf(text, "\"" + key + "\"");
    std::uint64_t steam_id = 0;
    if (!ParseSteamId(Json(key), steam_id)) {
      throw InputError(path, line, "\"" + key + "\" is not a Steam ID in decimal");
    }
    try {
      players[steam_id] = ReadPlayer(value);
    } catch (const std::runtime_error& error) {
      throw InputError(path, line, "player " + key + ": " + error.what());
    }
  }
  return players;
}

std::vector<SessionEvent> ReadSession(std::istream& in, const std::string& name) {
  std::vector<SessionEvent> events;
  std::string text;
  for (std::size_t line = 1; std::getline(in, text); ++line) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == '#') continue;
    try {
      events.push_back(ReadEvent(Json::parse(CarrySurrogateEscapes(text))));
    } catch (const Json::exception& error) {
      throw InputError(name, line, Tallyrook::JsonLibraryMessage(error));
    } catch (const std::runtime_error& error) {
      throw InputError(name, line, error.what());
    }
  }
  return events;
}

}  // namespace devserver
