#include "signal/large_tab.h"

#include <bit>
#include <cstring>
#include <new>

namespace rovanel::signal {

std::unique_ptr<std::uint8_t[]> DefaultBlockAllocator(std::size_t bytes) {
  // Zero-filled: a fresh array reads as silence rather than stale memory.
  return std::make_unique<std::uint8_t[]>(bytes);
}

namespace detail {

BlockStore::BlockStore(std::uint8_t count, std::size_t blockBytes, const BlockAllocator& alloc)
    : owned_(count), ptrs_(count, nullptr), count_(count) {
  for (std::size_t b = 0; b < count; ++b) {
    try {
      owned_[b] = alloc(blockBytes);
    } catch (const std::bad_alloc&) {
      owned_[b].reset();
    }
    ptrs_[b] = owned_[b].get();
    if (ptrs_[b] == nullptr) ++missing_;
  }
}

}  // namespace detail

TLargeTab::TLargeTab(std::uint8_t blockCount, const BlockAllocator& alloc)
    : store_(blockCount, BlockElements, alloc),
      capacity_(static_cast<std::uint32_t>(blockCount) * BlockElements) {}

TDblTab::TDblTab(std::uint8_t blockCount, const BlockAllocator& alloc)
    : store_(blockCount, BlockElements * kCellBytes, alloc),
      capacity_(static_cast<std::uint32_t>(blockCount) * BlockElements) {}

std::uint8_t* TDblTab::CellPtr(std::uint32_t index) const {
  if (index >= capacity_) return nullptr;
  std::uint8_t* b = store_.Block(index >> kBlockShift);
  return b ? b + static_cast<std::size_t>(index & (BlockElements - 1)) * kCellBytes : nullptr;
}

void TDblTab::SetValue(std::uint32_t index, const Cell& c) {
  if (std::uint8_t* p = CellPtr(index)) std::memcpy(p, c.data(), kCellBytes);
}

void TDblTab::GetValue(std::uint32_t index, Cell& out) const {
  if (const std::uint8_t* p = CellPtr(index)) {
    std::memcpy(out.data(), p, kCellBytes);
  } else {
    out.fill(0);
  }
}

TDblTab::Cell TDblTab::Pack(float re, float im) {
  const auto a = std::bit_cast<std::array<std::uint8_t, 4>>(re);
  const auto b = std::bit_cast<std::array<std::uint8_t, 4>>(im);
  Cell c;
  std::memcpy(c.data(), a.data(), 4);
  std::memcpy(c.data() + 4, b.data(), 4);
  return c;
}

void TDblTab::Unpack(const Cell& c, float& re, float& im) {
  std::array<std::uint8_t, 4> a, b;
  std::memcpy(a.data(), c.data(), 4);
  std::memcpy(b.data(), c.data() + 4, 4);
  re = std::bit_cast<float>(a);
  im = std::bit_cast<float>(b);
}

}  // namespace rovanel::signal
