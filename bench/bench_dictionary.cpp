// The texts of one start-up: about 300 keys looked up in a dictionary of
// about 300 lines, most sharing a few prefixes, as the forms' keys do.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/lang/dictionary.h"

namespace {

using namespace rovanel;

struct Keys {
  std::string file;
  std::vector<std::string> keys;

  Keys() {
    const char* prefixes[] = {"ID_BTN_MCH_", "ID_LBL_BAS_", "HINT_", "CMB_BAS_", "ID_MNU_"};
    for (int i = 0; i < 300; ++i) {
      const std::string key = std::string(prefixes[i % 5]) + "D\xC3\xA9marrer_" + std::to_string(i);
      keys.push_back(key);
      file += std::string(prefixes[i % 5]) + "D\xE9marrer_" + std::to_string(i) +
              "\tD\xE9marrer\tStart\tStarten\r\n";
    }
    keys.back() += "_missing";  // and one key not in the file at all
  }
};

void BM_LookupAllKeys(benchmark::State& state) {
  const Keys k;
  app::Dictionary d;
  d.LoadBytes(k.file);
  for (auto _ : state)
    for (const std::string& key : k.keys) benchmark::DoNotOptimize(d.Lookup(key, 2));
}
BENCHMARK(BM_LookupAllKeys)->Unit(benchmark::kMicrosecond);

void BM_LoadBytes(benchmark::State& state) {
  const Keys k;
  for (auto _ : state) {
    app::Dictionary d;
    d.LoadBytes(k.file);
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_LoadBytes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
