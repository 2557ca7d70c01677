#include "CommandLists.h"

#include <algorithm>

namespace Tallyrook {

FStringView FirstWord(FStringView command) noexcept {
  const auto start = command.find_first_not_of(FChar{' '});
  if (start == FStringView::npos) return {};
  const auto end = command.find(FChar{' '}, start);
  return command.substr(start, end == FStringView::npos ? FStringView::npos : end - start);
}

bool MatchesCommand(const FString& command, const FString& entry) noexcept {
  const FStringView word = FirstWord(command.View());
  return !word.empty() && EqualsIgnoringCase(word, entry.View());
}

bool IsListed(const FString& command, const CommandList& list) noexcept {
  const FStringView word = FirstWord(command.View());
  return !word.empty() && std::any_of(list.begin(), list.end(), [word](const FString& entry) {
    return EqualsIgnoringCase(word, entry.View());
  });
}

CommandList ReadCommandList(const JsonPlace& place) {
  CommandList list;
  place.ForEachInList(
      [&list](const JsonPlace& entry) { list.push_back(FString::FromUtf8(entry.String())); });
  return list;
}

CommandLists BuildCommandLists(const Json& document) {
  const JsonPlace top(document);
  CommandLists lists;
  for (const auto& [key, list] : kCommandListKeys) lists.*list = ReadCommandList(top.Member(key));
  return lists;
}

}  // namespace Tallyrook
