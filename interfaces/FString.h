// The game's text: UTF-16 units in a game-allocated block, with a count that includes the
// terminating NUL (0 when there is no text, the block then possibly absent).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Platform.h"
#include "TArray.h"

using FStringView = std::basic_string_view<FChar>;

class FString {
 public:
  FString() noexcept = default;
  // Each byte up to 0x7F becomes that character, any other byte a question mark.
  explicit FString(std::string_view narrow);
  explicit FString(FStringView text);
  // Decodes UTF-8; an ill-formed sequence becomes U+FFFD.
  static FString FromUtf8(std::string_view utf8);

  // The text without its NUL; empty when there is no block.
  FStringView View() const noexcept;
  const FChar* operator*() const noexcept;
  std::int32_t Len() const noexcept { return data_.Num() > 0 ? data_.Num() - 1 : 0; }
  bool IsEmpty() const noexcept { return Len() == 0; }
  // The count with the NUL, and the capacity, as the game stores them.
  std::int32_t Count() const noexcept { return data_.Num(); }
  std::int32_t Capacity() const noexcept { return data_.Max(); }
  const FChar* Data() const noexcept { return data_.GetData(); }

  FString& operator+=(FStringView text);
  FString& operator+=(const FString& text) { return *this += text.View(); }
  // Removes the last `count` characters, or all of them.
  void LeftChopInline(std::int32_t count) noexcept;

  // UTF-8 of the characters without the NUL.
  std::string ToUtf8() const;

 private:
  TArray<FChar> data_;
};

static_assert(sizeof(FString) == 16, "FString is a pointer, a count and a capacity");

// The UTF-16 of UTF-8 text, as FString::FromUtf8 decodes it, in ordinary memory.
std::basic_string<FChar> Utf16(std::string_view utf8);
// UTF-8 of the text, as FString::ToUtf8 gives it.
std::string ToUtf8(FStringView text);

// Whole texts equal when the letters A-Z are folded, as the game compares names with the C
// runtime (_wcsicmp): each text ends at its first NUL.
bool EqualsIgnoringCase(FStringView a, FStringView b) noexcept;
