// The command-matching rule against a plain reference: split at white space, take the first
// word up to its first NUL, and compare it whole with each entry with A-Z folded, the entry
// ending at its first NUL as the C runtime compares.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLists.h"
#include "Game.h"

namespace {

using Text = std::basic_string<FChar>;

FChar Fold(FChar c) {
  return c >= 'A' && c <= 'Z' ? static_cast<FChar>(c - 'A' + 'a') : c;
}

// Unicode's White_Space property, written out.
const Text kWhiteSpace = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,   0xA0,   0x1680,
                          0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2007, 0x2008,
                          0x2009, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};

bool ReferenceMatches(const Text& command, const Text& entry) {
  std::vector<Text> words;
  Text word;
  for (const FChar c : command + FChar{' '}) {
    if (kWhiteSpace.find(c) == Text::npos) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  if (words.empty()) return false;
  const Text first = words[0].substr(0, words[0].find(FChar{0}));
  if (first.empty()) return false;
  const Text name = entry.substr(0, entry.find(FChar{0}));
  if (first.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (Fold(first[i]) != Fold(name[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Game& game = Game::Instance();
  (void)game;
  // Units of two bytes; a unit 0xFFFF separates the command from the entries and the entries
  // from each other. Small units are mapped onto white space and A-Z to find the edges.
  std::vector<Text> parts(1);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<FChar>(data[i] | (data[i + 1] << 8));
    if (unit == 0xFFFF) {
      parts.emplace_back();
    } else {
      static constexpr FChar kEdges[] = {' ', 'a', 'A', 'b', 'B', '\t', '/', 0, 0xA0, 0x3000};
      parts.back() += unit < 10 ? kEdges[unit] : unit;
    }
  }
  const FString command{FStringView(parts[0])};
  const FStringView name = Tallyrook::FirstWord(command.View());
  Tallyrook::CommandList list;
  bool expected_listed = false;
  for (std::size_t p = 1; p < parts.size(); ++p) {
    const FString entry{FStringView(parts[p])};
    const bool expected = ReferenceMatches(parts[0], parts[p]);
    if (Tallyrook::FirstListed(name, {entry}).has_value() != expected) std::abort();
    expected_listed = expected_listed || expected;
    list.push_back(entry);
  }
  if (Tallyrook::FirstListed(name, list).has_value() != expected_listed) std::abort();
  return 0;
}
