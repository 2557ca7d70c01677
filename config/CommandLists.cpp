#include "CommandLists.h"

#include <algorithm>

#include "Schema.h"

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

std::optional<std::size_t> FirstListed(FStringView name, const CommandList& list) noexcept {
  if (name.empty()) return std::nullopt;
  const auto found = std::find_if(list.begin(), list.end(), [name](const FString& entry) {
    return EqualsIgnoringCase(name, entry.View());
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
  ForEachListSchema([&](const ListSchema& schema) {
    lists.*schema.list = ReadCommandList(top.Member(schema.key));
  });
  return lists;
}

}  // namespace Tallyrook
