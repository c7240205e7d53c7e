#include "base/vector_state.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>

namespace rovanel {
namespace {

// AVX usable: the processor has it and the system saves its registers.
bool HasAvx() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
  }();
  return has;
}

// XGETBV with ECX = 1 (the state components in use) exists where CPUID leaf
// 0xD, sub-leaf 1, sets EAX bit 2.
bool HasInUseQuery() {
  static const bool has = [] {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return HasAvx() && __get_cpuid_count(0xD, 1, &a, &b, &c, &d) != 0 && (a & 4u) != 0;
  }();
  return has;
}

__attribute__((target("avx"))) void ZeroUpper() {
  _mm256_zeroupper();
}

}  // namespace

void ClearUpperVectorHalves() {
  if (HasAvx()) ZeroUpper();
}

bool UpperVectorHalvesInUse() {
  if (!HasInUseQuery()) return false;
  unsigned lo = 0, hi = 0;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1u));
  return (lo & 4u) != 0;  // bit 2: the upper halves of the AVX registers
}

}  // namespace rovanel

#else

namespace rovanel {
void ClearUpperVectorHalves() {}
bool UpperVectorHalvesInUse() {
  return false;
}
}  // namespace rovanel

#endif
