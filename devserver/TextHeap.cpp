#include "TextHeap.h"

#include <cstdint>
#include <cstdlib>

#include "ArkApi.h"
#include "EmulatedHost.h"

namespace devserver {

namespace {

void* Allocate(std::size_t bytes, std::uint32_t /*alignment: the C runtime's suits texts*/) {
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void* Reallocate(void* block, std::size_t bytes) {
  return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void Release(void* block) {
  std::free(block);
}

}  // namespace

void ProvideTextHeap() {
  if (::GetAddress("FMemory.Malloc") != nullptr) return;
  EmulatedHost& host = GetEmulatedHost();
  host.RegisterAddress("FMemory.Malloc", reinterpret_cast<void*>(&Allocate));
  host.RegisterAddress("FMemory.Realloc", reinterpret_cast<void*>(&Reallocate));
  host.RegisterAddress("FMemory.Free", reinterpret_cast<void*>(&Release));
}

}  // namespace devserver
