#include "signal/paging.h"

#include <algorithm>
#include <cstring>

namespace rovanel::signal {

namespace {

// Calls f(block pointer or null, offset in block, position in the buffer, count)
// for each piece of [first, first + n) that lies in one block.
template <typename Tab, typename F>
void ForEachPiece(Tab& t, std::uint32_t first, std::size_t n, F f) {
  constexpr std::uint32_t kBlock = TLargeTab::BlockElements;
  std::size_t done = 0;
  while (done < n) {
    const std::uint64_t index = static_cast<std::uint64_t>(first) + done;
    const std::uint32_t offset = static_cast<std::uint32_t>(index % kBlock);
    const std::size_t count = std::min<std::size_t>(n - done, kBlock - offset);
    auto* block =
        index < t.Capacity() ? t.BlockData(static_cast<std::uint32_t>(index / kBlock)) : nullptr;
    f(block, offset, done, count);
    done += count;
  }
}

}  // namespace

void ReadSamples(const TLargeTab& t, std::uint32_t first, std::span<std::uint8_t> out) {
  ForEachPiece(
      t, first, out.size(),
      [&](const std::uint8_t* block, std::uint32_t offset, std::size_t pos, std::size_t count) {
        if (block) {
          std::memcpy(out.data() + pos, block + offset, count);
        } else {
          std::memset(out.data() + pos, 0, count);
        }
      });
}

void WriteSamples(TLargeTab& t, std::uint32_t first, std::span<const std::uint8_t> in) {
  ForEachPiece(t, first, in.size(),
               [&](std::uint8_t* block, std::uint32_t offset, std::size_t pos, std::size_t count) {
                 if (block) std::memcpy(block + offset, in.data() + pos, count);
               });
}

std::vector<std::uint8_t> ReadSamples(const TLargeTab& t, std::uint32_t n) {
  std::vector<std::uint8_t> v(n);
  ReadSamples(t, 0, v);
  return v;
}

}  // namespace rovanel::signal
