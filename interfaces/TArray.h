// The game's growable array. Its block belongs to the game's allocator, and its elements are
// relocated bytewise when the block moves, as the game does: only for relocatable element types.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "FMemory.h"

// The capacity the game gives an array that must hold `needed` elements and holds `capacity`.
constexpr std::int32_t GrownCapacity(std::int32_t capacity, std::int64_t needed) {
  if (capacity == 0 && needed <= 4) return 4;
  const std::int64_t grown = needed + 3 * needed / 8 + 16;
  return static_cast<std::int32_t>(std::min<std::int64_t>(grown, INT32_MAX));
}

// The game's allocation policy, named as the array's second template argument: every block is
// the game allocator's (FMemory).
class FDefaultAllocator {};

template <typename T, typename Allocator = FDefaultAllocator>
class TArray {
 public:
  TArray() noexcept = default;
  TArray(const TArray& other) { Append(other.begin(), other.Num()); }
  TArray(TArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        num_(std::exchange(other.num_, 0)),
        max_(std::exchange(other.max_, 0)) {}
  TArray& operator=(TArray other) noexcept {
    std::swap(data_, other.data_);
    std::swap(num_, other.num_);
    std::swap(max_, other.max_);
    return *this;
  }
  ~TArray() noexcept {
    Truncate(0);
    FMemory::Free(data_);
  }

  std::int32_t Num() const noexcept { return num_; }
  std::int32_t Max() const noexcept { return max_; }
  T* GetData() noexcept { return data_; }
  const T* GetData() const noexcept { return data_; }
  T& operator[](std::int32_t index) noexcept { return data_[index]; }
  const T& operator[](std::int32_t index) const noexcept { return data_[index]; }
  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + num_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + num_; }

  void Add(T element) {
    Reserve(static_cast<std::int64_t>(num_) + 1);
    new (data_ + num_) T(std::move(element));
    ++num_;
  }

  // Appends copies of `count` elements starting at `first`, which must not lie in this array.
  void Append(const T* first, std::int32_t count) {
    if (count <= 0) return;
    Reserve(static_cast<std::int64_t>(num_) + count);
    std::uninitialized_copy(first, first + count, data_ + num_);
    num_ += count;
  }

  // Destroys the elements from `count` on; the block is kept.
  void Truncate(std::int32_t count) noexcept {
    if (count >= num_) return;
    std::destroy(data_ + count, data_ + num_);
    num_ = count;
  }

  // Makes room for `needed` elements, growing by the game's rule.
  void Reserve(std::int64_t needed) {
    if (needed <= max_) return;
    if (needed > INT32_MAX) throw std::length_error("game array too long");
    const std::int32_t capacity = GrownCapacity(max_, needed);
    const std::size_t bytes = sizeof(T) * static_cast<std::size_t>(capacity);
    data_ =
        static_cast<T*>(data_ == nullptr ? FMemory::Malloc(bytes) : FMemory::Realloc(data_, bytes));
    max_ = capacity;
  }

 private:
  T* data_ = nullptr;
  std::int32_t num_ = 0;
  std::int32_t max_ = 0;
};
