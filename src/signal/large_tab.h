// Large sample arrays split into fixed-size blocks: TLargeTab holds bytes,
// TDblTab holds 8-byte cells (two single floats: real, imaginary).
//
// Element i lives in block i / BlockElements at offset i % BlockElements.
// Blocks are allocated one by one at creation; a block that cannot be
// allocated stays missing and is counted (the owner tells the user). Reads
// of a missing block give 0, writes to it are dropped. An index at or after
// the capacity is refused the same way: nothing outside the array is ever
// touched and nothing is thrown.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rovanel::signal {

// Allocates one zero-filled block of `bytes` bytes; may throw std::bad_alloc.
// Replaceable so that tests can make a given block fail.
using BlockAllocator = std::function<std::unique_ptr<std::uint8_t[]>(std::size_t bytes)>;

std::unique_ptr<std::uint8_t[]> DefaultBlockAllocator(std::size_t bytes);

namespace detail {

// Storage shared by both arrays: `count` blocks of `blockBytes` bytes.
class BlockStore {
 public:
  BlockStore(std::uint8_t count, std::size_t blockBytes, const BlockAllocator& alloc);
  std::uint8_t* Block(std::size_t b) const { return ptrs_[b]; }
  std::uint8_t Count() const { return count_; }
  int Missing() const { return missing_; }

 private:
  std::vector<std::unique_ptr<std::uint8_t[]>> owned_;
  std::vector<std::uint8_t*> ptrs_;  // null for a missing block
  std::uint8_t count_;
  int missing_ = 0;
};

}  // namespace detail

class TLargeTab {
 public:
  static constexpr std::uint32_t kBlockShift = 15;
  static constexpr std::uint32_t BlockElements = 1u << kBlockShift;  // 32 768 bytes

  explicit TLargeTab(std::uint8_t blockCount, const BlockAllocator& alloc = DefaultBlockAllocator);

  // Index at/after the capacity, or in a missing block: refused, nothing written.
  void SetValue(std::uint32_t index, std::uint8_t value) {
    if (index >= capacity_) return;
    if (std::uint8_t* b = store_.Block(index >> kBlockShift))
      b[index & (BlockElements - 1)] = value;
  }
  // Index at/after the capacity, or in a missing block: 0.
  std::uint8_t GetValue(std::uint32_t index) const {
    if (index >= capacity_) return 0;
    const std::uint8_t* b = store_.Block(index >> kBlockShift);
    return b ? b[index & (BlockElements - 1)] : 0;
  }

  std::uint32_t Capacity() const { return capacity_; }
  std::uint8_t BlockCount() const { return store_.Count(); }
  int MissingBlocks() const { return store_.Missing(); }
  // True when `index` addresses an allocated element.
  bool Holds(std::uint32_t index) const {
    return index < capacity_ && store_.Block(index >> kBlockShift) != nullptr;
  }
  // The BlockElements samples of block b, for loops that walk whole blocks;
  // null when the block is missing or b >= BlockCount().
  std::uint8_t* BlockData(std::uint32_t b) {
    return b < store_.Count() ? store_.Block(b) : nullptr;
  }
  const std::uint8_t* BlockData(std::uint32_t b) const {
    return b < store_.Count() ? store_.Block(b) : nullptr;
  }

 private:
  detail::BlockStore store_;
  std::uint32_t capacity_;
};

class TDblTab {
 public:
  using Cell = std::array<std::uint8_t, 8>;
  static constexpr std::uint32_t kBlockShift = 12;
  static constexpr std::uint32_t BlockElements = 1u << kBlockShift;  // 4096 cells of 8 bytes
  static constexpr std::size_t kCellBytes = sizeof(Cell);

  explicit TDblTab(std::uint8_t blockCount, const BlockAllocator& alloc = DefaultBlockAllocator);

  // Index at/after the capacity, or in a missing block: refused, nothing written.
  void SetValue(std::uint32_t index, const Cell& c);
  // Index at/after the capacity, or in a missing block: `out` becomes all zero bytes.
  void GetValue(std::uint32_t index, Cell& out) const;

  // Convenience over the cell layout used by every caller: first float, second float.
  void SetComplex(std::uint32_t index, float re, float im) { SetValue(index, Pack(re, im)); }
  void GetComplex(std::uint32_t index, float& re, float& im) const {
    Cell c;
    GetValue(index, c);
    Unpack(c, re, im);
  }

  // Bit-exact packing of two floats into a cell (native byte order, as in memory).
  static Cell Pack(float re, float im);
  static void Unpack(const Cell& c, float& re, float& im);

  std::uint32_t Capacity() const { return capacity_; }
  std::uint8_t BlockCount() const { return store_.Count(); }
  int MissingBlocks() const { return store_.Missing(); }
  bool Holds(std::uint32_t index) const {
    return index < capacity_ && store_.Block(index >> kBlockShift) != nullptr;
  }
  // The BlockElements cells of block b (8 bytes each, in memory order), for
  // loops that walk whole blocks; null when the block is missing or b >= BlockCount().
  std::uint8_t* BlockData(std::uint32_t b) {
    return b < store_.Count() ? store_.Block(b) : nullptr;
  }
  const std::uint8_t* BlockData(std::uint32_t b) const {
    return b < store_.Count() ? store_.Block(b) : nullptr;
  }

 private:
  std::uint8_t* CellPtr(std::uint32_t index) const;

  detail::BlockStore store_;
  std::uint32_t capacity_;
};

}  // namespace rovanel::signal
