#include "CommandLists.h"

#include <algorithm>

#include "Schema.h"

namespace Tallyrook {

bool IsChatCommand(const FString& message) noexcept {
  return !message.IsEmpty() && (*message)[0] == FChar{'/'};
}

FStringView FirstWord(FStringView text) noexcept {
  const auto start = std::find_if_not(text.begin(), text.end(), IsWhiteSpace);
  const auto end =
      std::find_if(start, text.end(), [](FChar c) { return c == 0 || IsWhiteSpace(c); });
  return text.substr(static_cast<std::size_t>(start - text.begin()),
                     static_cast<std::size_t>(end - start));
}

CommandName NameOf(FStringView command, const CommandList& prefixes) noexcept {
  const auto end_of = [command](FStringView word) {
    return static_cast<std::size_t>(word.data() - command.data()) + word.size();
  };
  const FStringView first = FirstWord(command);
  CommandName name{first, end_of(first), std::nullopt};
  const auto prefix = FirstListed(first, prefixes);
  if (!prefix) return name;
  const FStringView next = FirstWord(command.substr(name.end));
  if (!next.empty()) name = {next, end_of(next), std::nullopt};
  name.prefix = prefix;
  return name;
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
