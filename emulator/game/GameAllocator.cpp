#include "GameAllocator.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "EmulatedHost.h"

namespace GameAllocator {

namespace {

struct Account {
  std::mutex mutex;
  std::unordered_map<void*, std::size_t> live;
  std::uint64_t allocations = 0;
  std::uint64_t fail_at = 0;
  bool record_frees = false;
  std::vector<std::string> misuse;
};

Account& TheAccount() {
  static Account account;
  return account;
}

std::string Describe(const char* what, const void* block) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %p", what, block);
  return text;
}

// Counts one allocation; false when it is the one set to fail.
bool Admit(Account& account) {
  ++account.allocations;
  if (account.fail_at == 0 || account.allocations != account.fail_at) return true;
  account.fail_at = 0;
  return false;
}

}  // namespace

void* Malloc(std::size_t bytes, std::uint32_t /*alignment*/) {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  if (!Admit(account)) return nullptr;
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block != nullptr) account.live.emplace(block, bytes);
  return block;
}

void* Realloc(void* block, std::size_t bytes) {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  if (block != nullptr && account.live.count(block) == 0) {
    account.misuse.push_back(Describe("realloc of unknown block", block));
    return nullptr;
  }
  if (!Admit(account)) return nullptr;
  void* moved = std::realloc(block, bytes == 0 ? 1 : bytes);
  if (moved == nullptr) return nullptr;
  account.live.erase(block);
  account.live.emplace(moved, bytes);
  return moved;
}

void Free(void* block) {
  if (block == nullptr) return;
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  if (account.live.erase(block) == 0) {
    account.misuse.push_back(Describe("free of unknown or freed block", block));
    return;
  }
  std::free(block);
  if (account.record_frees) GetEmulatedHost().RecordCall("FMemory.Free");
}

void RecordFrees(bool record) {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  account.record_frees = record;
}

std::size_t LiveBlocks() {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  return account.live.size();
}

std::uint64_t Allocations() {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  return account.allocations;
}

void FailAllocation(std::uint64_t nth) {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  account.fail_at = nth == 0 ? 0 : account.allocations + nth;
}

std::vector<std::string> TakeMisuse() {
  Account& account = TheAccount();
  const std::lock_guard lock(account.mutex);
  return std::exchange(account.misuse, {});
}

}  // namespace GameAllocator
