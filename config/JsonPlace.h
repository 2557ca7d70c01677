// Reading the configuration document by its conventions: an absent key reads as null and is never
// added, a list is whatever the JSON library iterates, and an error names the place it arose.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Tallyrook {

using Json = nlohmann::json;

// The JSON library's message without its "[json.exception.type_error.302] " prefix.
std::string JsonLibraryMessage(const std::exception& error);

// A configuration value that could not be read: where it is, and the JSON library's message;
// and, for a reader who wants plain words, what was expected there ("string", "boolean" or
// "object"), the JSON type found, and where the first absent key on the way to it is.
class ConfigError : public std::runtime_error {
 public:
  ConfigError(std::string path, std::string message, std::string expected = {},
              std::string found = {}, std::string missing_at = {});
  const std::string& Path() const noexcept { return path_; }
  const std::string& Message() const noexcept { return message_; }
  const std::string& Expected() const noexcept { return expected_; }
  const std::string& Found() const noexcept { return found_; }
  // The path of the absent key whose absence caused the error; empty when nothing was absent.
  const std::string& MissingAt() const noexcept { return missing_at_; }

 private:
  std::string path_;
  std::string message_;
  std::string expected_;
  std::string found_;
  std::string missing_at_;
};

// A value of the document with the way to it from the top. A place refers to the place it was
// reached from, so it must not outlive it.
class JsonPlace {
 public:
  explicit JsonPlace(const Json& value) noexcept : value_(value) {}

  const Json& Value() const noexcept { return value_; }
  // The member `key`, null when absent. Inside null every key is absent; inside anything else
  // but an object, looking a key up is the library's type error.
  JsonPlace Member(const char* key) const;
  // Calls `visit` with each element: an array's in order, an object's member values in the order
  // of their keys, nothing for null, and any other value as the one element.
  template <typename Visit>
  void ForEachInList(Visit&& visit) const;
  // The value as a string or a boolean; anything else is the library's type error.
  const std::string& String() const;
  bool Boolean() const;
  // Where the value stands, as `ChannelGroups[1].Chat.BotName`; empty for the top.
  std::string Path() const;

 private:
  JsonPlace(const Json& value, const JsonPlace* parent, std::string_view key,
            std::size_t index) noexcept
      : value_(value), parent_(parent), key_(key), index_(index) {}
  [[noreturn]] void Fail(const std::exception& error, const char* expected) const;
  bool Absent() const noexcept;

  static constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);
  const Json& value_;
  const JsonPlace* parent_ = nullptr;
  std::string_view key_;
  std::size_t index_ = kNoIndex;
};

template <typename Visit>
void JsonPlace::ForEachInList(Visit&& visit) const {
  if (value_.is_array()) {
    for (std::size_t i = 0; i < value_.size(); ++i) visit(JsonPlace(value_[i], this, {}, i));
  } else if (value_.is_object()) {
    for (const auto& member : value_.items()) {
      visit(JsonPlace(member.value(), this, member.key(), kNoIndex));
    }
  } else if (!value_.is_null()) {
    visit(*this);
  }
}

}  // namespace Tallyrook
