// Fuzzes the configuration record: any bytes decode, and encoding the result
// gives back the first 312 bytes with the reserved ones cleared.
//
// Build (clang only, in a folder of its own):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DROVANEL_FUZZ=ON \
//       -DROVANEL_TESTS=OFF -DROVANEL_BENCH=OFF
//   ninja -C build-fuzz fuzz_config
// Run over a copy of the seeds (the fuzzer adds to its corpus folder):
//   cp -r tests/data/fuzz/config /tmp/corpus-config
//   build-fuzz/bin/fuzz_config -runs=1000000 /tmp/corpus-config
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rovanel::app;
  const ConfigRec rec = DecodeConfig(std::span(data, size));
  const auto bytes = EncodeConfig(rec);
  for (std::size_t i = 0; i < kConfigSize; ++i) {
    const bool field = i < 16 || i == 41 || (i >= 48 && i < 52);
    const std::uint8_t want = (field && i < size) ? data[i] : 0;
    if (bytes[i] != want) std::abort();
  }
  if (ConfigFields(rec).size() != 4) std::abort();
  return 0;
}
