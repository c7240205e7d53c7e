// Repeated in-place sweeps of a centred filter, run as a wavefront.
//
// A sweep replaces a[i] for i = R .. n-1-R in increasing order by
// f(&a[i]), which reads a[i-R .. i+R]; a[i-R .. i-1] already hold this
// sweep's values. Sweep q then only needs sweep q-1 to be R+1 samples ahead,
// so all sweeps advance together, sweep q working R+1 samples behind sweep
// q-1. The operations of one step touch disjoint samples and are
// independent, which lets the processor overlap what would otherwise be one
// long chain of dependent operations. Every value is computed from the same
// operands as in sweep-after-sweep order, so results are identical.
#pragma once

#include <cstddef>

namespace rovanel::signal::detail {

template <int R, typename T, typename F>
void InPlacePasses(T* a, std::ptrdiff_t n, int passes, F f) {
  static_assert(R >= 1);
  constexpr std::ptrdiff_t kLag = R + 1;
  const std::ptrdiff_t first = R;
  const std::ptrdiff_t last = n - 1 - R;
  if (passes < 1 || last < first) return;
  const std::ptrdiff_t p = passes;
  const std::ptrdiff_t tEnd = last + kLag * (p - 1);
  for (std::ptrdiff_t t = first; t <= tEnd; ++t) {
    // Sweeps whose position t - kLag*q lies in [first, last].
    std::ptrdiff_t qLo = t > last ? (t - last + kLag - 1) / kLag : 0;
    std::ptrdiff_t qHi = (t - first) / kLag;
    if (qHi > p - 1) qHi = p - 1;
    for (std::ptrdiff_t q = qLo; q <= qHi; ++q) {
      T* x = a + (t - kLag * q);
      *x = f(x);
    }
  }
}

}  // namespace rovanel::signal::detail
