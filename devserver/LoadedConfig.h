// A config.json read and built by the plugin's own code, as `check` and `explain` see it: the
// text, the document, where each value stands, and what the plugin would build from it.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ChannelGroups.h"
#include "CommandLists.h"
#include "Decision.h"
#include "JsonPlace.h"
#include "JsonSource.h"
#include "Schema.h"

namespace devserver {

std::string Quoted(const std::string& text);

// One string entry of a list, where it stands.
struct Entry {
  std::string path;
  std::string text;
};

// The configuration file as read: its text, the document and where each value stands.
struct Source {
  std::string path;
  std::string text;
  Tallyrook::Json document;
  JsonSource where;

  // "ChannelGroups[1].Chat (line 7)".
  std::string At(const std::string& place) const;
};

// The configuration as the plugin would build it, with the entries of each list where they stand,
// or the errors that stop the build.
struct Built {
  Tallyrook::ChannelGroupList groups;
  std::vector<std::string> group_paths;
  std::vector<std::array<std::vector<Entry>, Tallyrook::kKindCount>> channel_entries;  // by kind
  Tallyrook::CommandLists lists;
  std::map<std::string, std::vector<Entry>> list_entries;  // by key
  std::vector<std::string> errors;

  Tallyrook::ConfigurationView View(const Source& source) const {
    return {source.document, groups, lists};
  }
};

// Reads and builds the file as the plugin would; on failure prints why and returns false.
bool Load(const std::string& path, Source& source, Built& built, std::ostream& out);

}  // namespace devserver
