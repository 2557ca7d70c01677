// The game's allocator. Every block of game text or game arrays comes from here; the functions are
// looked up by name through the host at each call, as the game may relocate them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace FMemory {

using MallocFunction = void* (*)(std::size_t bytes, std::uint32_t alignment);
using ReallocFunction = void* (*)(void* block, std::size_t bytes);
using FreeFunction = void (*)(void* block);

// Throws std::bad_alloc when the game has no memory to give; never returns null.
void* Malloc(std::size_t bytes);
void* Realloc(void* block, std::size_t bytes);
void Free(void* block) noexcept;

}  // namespace FMemory
