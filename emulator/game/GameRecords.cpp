#include "GameRecords.h"

#include "FMemory.h"

GameText MakeGameText(std::basic_string_view<FChar> text, TextShape shape) {
  GameText made;
  if (shape == TextShape::kBare && text.empty()) return made;
  const bool only_nul = shape == TextShape::kOnlyNul && text.empty();
  const auto count = static_cast<std::int32_t>(text.empty() && !only_nul ? 0 : text.size() + 1);
  const std::int32_t capacity = shape == TextShape::kExact && count > 0 ? count : count + 7;
  made.data =
      static_cast<FChar*>(FMemory::Malloc(sizeof(FChar) * static_cast<std::size_t>(capacity)));
  if (!text.empty()) std::memcpy(made.data, text.data(), sizeof(FChar) * text.size());
  made.data[text.size()] = 0;
  made.count = count;
  made.capacity = capacity;
  return made;
}

void FreeGameText(GameText& text) noexcept {
  FMemory::Free(text.data);
  text = GameText{};
}

std::basic_string_view<FChar> TextOf(const GameText& text) noexcept {
  if (text.data == nullptr || text.count <= 1) return {};
  return {text.data, static_cast<std::size_t>(text.count - 1)};
}

TextShape ShapeFor(std::basic_string_view<FChar> text, std::uint64_t call) noexcept {
  if (text.empty()) {
    constexpr TextShape kEmpty[] = {TextShape::kBare, TextShape::kOnlyNul, TextShape::kSpare};
    return kEmpty[call % 3];
  }
  return call % 2 == 0 ? TextShape::kExact : TextShape::kSpare;
}
