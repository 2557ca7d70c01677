// The game's records as the host describes them, stated here independently of the plugin's
// declarations, so that a layout mistake on either side fails a test instead of agreeing with
// itself: texts and arrays, and the RCON packet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Platform.h"

// A game text or array: its block in game memory, the count (for a text, with the NUL) and the
// capacity.
template <typename T>
struct GameArray {
  T* data = nullptr;          // byte 0
  std::int32_t count = 0;     // byte 8
  std::int32_t capacity = 0;  // byte 12
};

static_assert(offsetof(GameArray<char>, count) == 8, "count at byte 8");
static_assert(offsetof(GameArray<char>, capacity) == 12, "capacity at byte 12");
static_assert(sizeof(GameArray<char>) == 16, "a pointer and two 32-bit values");

using GameText = GameArray<FChar>;

// The shapes in which the game hands out a text; the host allows each. A plugin must read them
// all alike.
enum class TextShape {
  kExact,    // capacity equal to the count
  kSpare,    // capacity above the count
  kBare,     // an empty text: no block at all, count 0
  kOnlyNul,  // an empty text: count 1, the block holding only the NUL
};

// `text` in game memory (the allocator the game registered with the host) in `shape` (kBare and
// kOnlyNul only for an empty text; an empty text asked for in another shape has spare room and
// count 0).
GameText MakeGameText(std::basic_string_view<FChar> text, TextShape shape);
// Frees a text's block, as the game frees its own texts.
void FreeGameText(GameText& text) noexcept;
// The text of a game text, without its NUL.
std::basic_string_view<FChar> TextOf(const GameText& text) noexcept;

// The shape the game uses for its `call`th text of `text`: every shape comes round in turn.
TextShape ShapeFor(std::basic_string_view<FChar> text, std::uint64_t call) noexcept;

// One packet as the game reads it from an RCON connection.
struct GameRconPacket {
  std::int32_t length;  // byte 0
  std::int32_t id;      // byte 4
  std::int32_t type;    // byte 8: 3 asks to authenticate
  std::int32_t unused;  // byte 12
  GameText body;        // byte 16
};

static_assert(offsetof(GameRconPacket, type) == 8, "RCON packet type at byte 8");
static_assert(offsetof(GameRconPacket, body) == 16, "RCON packet body at byte 16");

// Hands a record over as the type a caller declared for it, byte for byte: what the emulated
// side builds is its own layout, never the plugin's.
template <typename Declared, typename Record>
Declared HandOver(const Record& record) {
  static_assert(sizeof(Declared) == sizeof(Record), "the declared type has another size");
  Declared declared{};
  std::memcpy(static_cast<void*>(&declared), &record, sizeof record);
  return declared;
}
