#include "CommandLists.h"

#include <algorithm>

namespace Tallyrook {

bool IsChatCommand(const FString& message) noexcept {
  return !message.IsEmpty() && (*message)[0] == FChar{'/'};
}

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
  return FirstListed(command, list).has_value();
}

std::optional<std::size_t> FirstListed(const FString& command, const CommandList& list) noexcept {
  const FStringView word = FirstWord(command.View());
  if (word.empty()) return std::nullopt;
  const auto found = std::find_if(list.begin(), list.end(), [word](const FString& entry) {
    return EqualsIgnoringCase(word, entry.View());
  });
  if (found == list.end()) return std::nullopt;
  return static_cast<std::size_t>(found - list.begin());
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
