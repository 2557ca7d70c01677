// The game's allocator, FMemory, with an account of every live block so that a test can prove
// that each block a plugin took was given back. Misuse is recorded, never acted on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace GameAllocator {

void* Malloc(std::size_t bytes, std::uint32_t alignment);
void* Realloc(void* block, std::size_t bytes);
void Free(void* block);

std::size_t LiveBlocks();
// Allocations made so far, growing ones counted as well.
std::uint64_t Allocations();
// Makes the `nth` allocation from now on (1 is the next one) fail as if memory ran out; 0 disarms.
void FailAllocation(std::uint64_t nth);
// With true, each free of a game block is entered in the host's call record as "FMemory.Free".
void RecordFrees(bool record);
// Frees of unknown or already freed blocks, and reallocations of them, since the last call.
std::vector<std::string> TakeMisuse();

}  // namespace GameAllocator
