#include "FMemory.h"

#include <new>
#include <stdexcept>
#include <string>

#include "ArkApi.h"

namespace FMemory {

namespace {

template <typename Function>
Function Lookup(const char* name) {
  return reinterpret_cast<Function>(::GetAddress(name));
}

template <typename Function>
Function Require(const char* name) {
  const Function function = Lookup<Function>(name);
  if (function == nullptr)
    throw std::runtime_error(std::string("game function not found: ") + name);
  return function;
}

}  // namespace

void* Malloc(std::size_t bytes) {
  void* block = Require<MallocFunction>("FMemory.Malloc")(bytes, 0);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* Realloc(void* block, std::size_t bytes) {
  void* moved = Require<ReallocFunction>("FMemory.Realloc")(block, bytes);
  if (moved == nullptr) throw std::bad_alloc();
  return moved;
}

void Free(void* block) noexcept {
  if (block == nullptr) return;
  // Without the game's Free a block can only be leaked; freeing it elsewhere would corrupt the
  // heap.
  if (const FreeFunction free = Lookup<FreeFunction>("FMemory.Free")) free(block);
}

}  // namespace FMemory
