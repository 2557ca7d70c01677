// Where the values of a config.json stand in its text, for messages that name a line: the line
// of every member and element by its path (named as the configuration code names paths, as
// "ChannelGroups[1].Chat"), the keys given twice in one object, and where the first value ends.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace devserver {

struct JsonSource {
  struct Duplicate {
    std::string object;  // the path of the object
    std::string key;
    std::size_t first_line;
    std::size_t last_line;  // the JSON library keeps the value given last
  };

  std::map<std::string, std::size_t> lines;  // the line where each value starts
  std::vector<Duplicate> duplicates;
  std::size_t trailing_line = 0;  // where text after the first value starts; 0 for none

  // The line of `path`, or of its nearest ancestor that has one; 1 for the top.
  std::size_t LineOf(std::string path) const;
};

// Scans the first JSON value of `text`, which must parse (a UTF-8 byte-order mark may start it).
JsonSource ScanJson(std::string_view text);

}  // namespace devserver
