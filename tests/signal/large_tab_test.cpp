#include "signal/large_tab.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace rovanel::signal {
namespace {

// Allocator that records each block it hands out and pads it with guard bytes,
// so tests can look at the raw layout and catch writes past a block.
struct RecordingAlloc {
  static constexpr std::size_t kGuard = 64;
  static constexpr std::uint8_t kGuardByte = 0xA5;
  std::vector<std::uint8_t*> blocks;
  std::size_t blockBytes = 0;
  int failAt = -1;  // call number that throws std::bad_alloc
  int calls = 0;

  BlockAllocator Fn() {
    return [this](std::size_t bytes) -> std::unique_ptr<std::uint8_t[]> {
      const int call = calls++;
      if (call == failAt) throw std::bad_alloc();
      auto p = std::make_unique<std::uint8_t[]>(bytes + kGuard);
      std::memset(p.get() + bytes, kGuardByte, kGuard);
      blocks.push_back(p.get());
      blockBytes = bytes;
      return p;
    };
  }
  bool GuardsIntact() const {
    for (const std::uint8_t* b : blocks) {
      for (std::size_t i = 0; i < kGuard; ++i) {
        if (b[blockBytes + i] != kGuardByte) return false;
      }
    }
    return true;
  }
};

TEST(TLargeTab, ElementsLiveInBlockIndexDiv32768AtOffsetMod32768) {
  RecordingAlloc rec;
  TLargeTab t(3, rec.Fn());
  ASSERT_EQ(rec.blocks.size(), 3u);
  EXPECT_EQ(rec.blockBytes, 32768u);
  EXPECT_EQ(t.Capacity(), 3u * 32768u);
  EXPECT_EQ(t.BlockCount(), 3);
  EXPECT_EQ(t.MissingBlocks(), 0);

  t.SetValue(32767, 0x11);  // last byte of block 0
  t.SetValue(32768, 0x22);  // first byte of block 1
  t.SetValue(65535, 0x33);  // last byte of block 1
  t.SetValue(98303, 0x44);  // last element
  EXPECT_EQ(rec.blocks[0][32767], 0x11);
  EXPECT_EQ(rec.blocks[1][0], 0x22);
  EXPECT_EQ(rec.blocks[1][32767], 0x33);
  EXPECT_EQ(rec.blocks[2][32767], 0x44);
  EXPECT_EQ(rec.blocks[0][0], 0);
  EXPECT_EQ(t.GetValue(32767), 0x11);
  EXPECT_EQ(t.GetValue(32768), 0x22);
  EXPECT_EQ(t.GetValue(32766), 0);
  EXPECT_EQ(t.GetValue(32769), 0);
  EXPECT_TRUE(rec.GuardsIntact());
}

TEST(TLargeTab, EveryElementKeepsItsOwnValueAndFullByteRange) {
  TLargeTab t(2);
  for (std::uint32_t i = 0; i < t.Capacity(); ++i)
    t.SetValue(i, static_cast<std::uint8_t>(i * 7 + 3));
  for (std::uint32_t i = 0; i < t.Capacity(); ++i) {
    ASSERT_EQ(t.GetValue(i), static_cast<std::uint8_t>(i * 7 + 3)) << "index " << i;
  }
  t.SetValue(100, 255);
  EXPECT_EQ(static_cast<int>(t.GetValue(100)), 255);  // unsigned, not -1
  t.SetValue(100, 0);
  EXPECT_EQ(t.GetValue(100), 0);
}

TEST(TLargeTab, IndexesAtOrPastCapacityAreRefusedWithoutTouchingMemory) {
  RecordingAlloc rec;
  TLargeTab t(2, rec.Fn());
  for (std::uint32_t i = 0; i < t.Capacity(); ++i) t.SetValue(i, 9);
  for (std::uint32_t bad : {65536u, 65537u, 98304u, 8388607u, 8388608u, 8388609u, 0xFFFFFFFFu}) {
    t.SetValue(bad, 0x5A);
    EXPECT_EQ(t.GetValue(bad), 0) << bad;
    EXPECT_FALSE(t.Holds(bad)) << bad;
  }
  EXPECT_TRUE(rec.GuardsIntact());
  for (std::uint32_t i = 0; i < t.Capacity(); ++i) ASSERT_EQ(t.GetValue(i), 9) << i;
  EXPECT_TRUE(t.Holds(65535));
}

TEST(TLargeTab, FailedBlockIsCountedMissingAndTheOthersStillWork) {
  RecordingAlloc rec;
  rec.failAt = 1;  // second block
  TLargeTab t(3, rec.Fn());
  EXPECT_EQ(t.MissingBlocks(), 1);
  EXPECT_EQ(t.BlockCount(), 3);
  EXPECT_EQ(t.Capacity(), 3u * 32768u);
  ASSERT_EQ(rec.blocks.size(), 2u);  // blocks 0 and 2 were allocated, in order

  t.SetValue(32767, 1);
  t.SetValue(32768, 2);  // in the missing block: dropped
  t.SetValue(65536, 3);
  EXPECT_EQ(t.GetValue(32767), 1);
  EXPECT_EQ(t.GetValue(32768), 0);
  EXPECT_EQ(t.GetValue(65536), 3);
  EXPECT_EQ(rec.blocks[1][0], 3);  // block 2 really is the third block
  EXPECT_FALSE(t.Holds(40000));
  EXPECT_TRUE(t.Holds(65536));
  EXPECT_TRUE(rec.GuardsIntact());
}

TEST(TLargeTab, FreshArrayReadsZero) {
  TLargeTab t(1);
  for (std::uint32_t i = 0; i < t.Capacity(); i += 511) ASSERT_EQ(t.GetValue(i), 0);
}

std::uint32_t Bits(float f) {
  return std::bit_cast<std::uint32_t>(f);
}

TEST(TDblTab, CellsLiveInBlockIndexDiv4096AtByteOffsetTimes8) {
  RecordingAlloc rec;
  TDblTab t(2, rec.Fn());
  ASSERT_EQ(rec.blocks.size(), 2u);
  EXPECT_EQ(rec.blockBytes, 32768u);
  EXPECT_EQ(t.Capacity(), 8192u);

  const TDblTab::Cell a{1, 2, 3, 4, 5, 6, 7, 8};
  const TDblTab::Cell b{0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0xFA, 0xF9, 0xF8};
  t.SetValue(4095, a);
  t.SetValue(4096, b);
  EXPECT_EQ(0, std::memcmp(rec.blocks[0] + 4095 * 8, a.data(), 8));
  EXPECT_EQ(0, std::memcmp(rec.blocks[1], b.data(), 8));
  TDblTab::Cell out{};
  t.GetValue(4095, out);
  EXPECT_EQ(out, a);
  t.GetValue(4096, out);
  EXPECT_EQ(out, b);
  t.GetValue(4094, out);
  EXPECT_EQ(out, TDblTab::Cell{});
  t.GetValue(4097, out);
  EXPECT_EQ(out, TDblTab::Cell{});
  EXPECT_TRUE(rec.GuardsIntact());
}

TEST(TDblTab, TwoFloatsReadBackBitIdentical) {
  TDblTab t(1);
  const float quietNanPayload = std::bit_cast<float>(0x7FC12345u);
  const float negNanPayload = std::bit_cast<float>(0xFFD00001u);
  const float signallingNan = std::bit_cast<float>(0x7F800001u);
  const float denormal = std::bit_cast<float>(0x00000001u);
  const std::vector<std::pair<float, float>> pairs = {
      {-0.0f, 0.0f},
      {quietNanPayload, negNanPayload},
      {signallingNan, -0.0f},
      {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()},
      {denormal, std::numeric_limits<float>::max()},
      {1.5f, -2.25f}};
  for (std::uint32_t i = 0; i < pairs.size(); ++i) t.SetComplex(i, pairs[i].first, pairs[i].second);
  for (std::uint32_t i = 0; i < pairs.size(); ++i) {
    float re = 1, im = 1;
    t.GetComplex(i, re, im);
    EXPECT_EQ(Bits(re), Bits(pairs[i].first)) << i;
    EXPECT_EQ(Bits(im), Bits(pairs[i].second)) << i;
  }
  // The first float takes the first four bytes, in memory order.
  const TDblTab::Cell c = TDblTab::Pack(1.0f, -0.0f);
  std::uint32_t first, second;
  std::memcpy(&first, c.data(), 4);
  std::memcpy(&second, c.data() + 4, 4);
  EXPECT_EQ(first, 0x3F800000u);
  EXPECT_EQ(second, 0x80000000u);
}

TEST(TDblTab, RefusalsAndMissingBlocks) {
  RecordingAlloc rec;
  rec.failAt = 0;
  TDblTab t(2, rec.Fn());
  EXPECT_EQ(t.MissingBlocks(), 1);
  const TDblTab::Cell a{1, 2, 3, 4, 5, 6, 7, 8};
  TDblTab::Cell out{9, 9, 9, 9, 9, 9, 9, 9};
  t.SetValue(0, a);  // missing block 0
  t.GetValue(0, out);
  EXPECT_EQ(out, TDblTab::Cell{});
  t.SetValue(4096, a);
  t.GetValue(4096, out);
  EXPECT_EQ(out, a);
  for (std::uint32_t bad : {8192u, 1048575u, 1048576u, 0xFFFFFFFFu}) {
    t.SetValue(bad, a);
    out.fill(7);
    t.GetValue(bad, out);
    EXPECT_EQ(out, TDblTab::Cell{}) << bad;
  }
  EXPECT_TRUE(rec.GuardsIntact());
}

}  // namespace
}  // namespace rovanel::signal
