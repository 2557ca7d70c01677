// The command-matching rule against a plain reference: split at spaces, take the first word,
// compare it whole with each entry with A-Z folded, each side ending at its first NUL as the C
// runtime compares.
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

bool ReferenceMatches(const Text& command, const Text& entry) {
  std::vector<Text> words;
  Text word;
  for (const FChar c : command + FChar{' '}) {
    if (c != ' ') {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  if (words.empty()) return false;
  const Text first = words[0].substr(0, words[0].find(FChar{0}));
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
  // from each other. Small units are mapped onto spaces and A-Z to find the edges.
  std::vector<Text> parts(1);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<FChar>(data[i] | (data[i + 1] << 8));
    if (unit == 0xFFFF) {
      parts.emplace_back();
    } else {
      parts.back() += unit < 8 ? FChar(" aAbB /"[unit]) : unit;
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
