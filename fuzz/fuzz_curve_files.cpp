// Fuzzes the curve file readers: any bytes are refused with a reason or
// decoded; a refusal leaves the state as it was, and what decodes encodes
// into a file that decodes again.
//
// Build (clang only, in a folder of its own):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DROVANEL_FUZZ=ON \
//       -DROVANEL_TESTS=OFF -DROVANEL_BENCH=OFF
//   ninja -C build-fuzz fuzz_curve_files
// Run over a copy of the seeds (the fuzzer adds to its corpus folder):
//   cp -r tests/data/fuzz/curves /tmp/corpus-curves
//   build-fuzz/bin/fuzz_curve_files -runs=1000000 /tmp/corpus-curves
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/files/curve_files.h"

namespace {

using namespace rovanel::app;

template <typename Data, typename Decode, typename Encode>
void Check(std::span<const std::uint8_t> bytes, Decode decode, Encode encode) {
  Data data;
  LoadReport report;
  std::string error;
  const std::vector<std::uint8_t> before = encode(data);
  if (!decode(bytes, data, report, error)) {
    if (error.empty() || encode(data) != before) std::abort();
    return;
  }
  const std::vector<std::uint8_t> again = encode(data);
  Data copy;
  LoadReport r2;
  if (!decode(std::span<const std::uint8_t>(again), copy, r2, error)) std::abort();
  if (encode(copy) != again) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Check<CcdData>(bytes, DecodeCcd, EncodeCcd);
  Check<CctData>(bytes, DecodeCct, EncodeCct);
  return 0;
}
