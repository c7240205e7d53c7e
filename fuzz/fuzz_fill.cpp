// Fuzzes fill: the fuzzer's bytes are a file of levels filling the last
// profile or the series. Every fill the model refuses must leave its state
// exactly as it was.
//
// Build as fuzz_window (fuzz/fuzz_window.cpp), then run over a copy of the
// seeds (a profile's 2048 levels are longer than the default length):
//   cp -r tests/data/fuzz/levels /tmp/corpus-fill
//   build-fuzz/bin/fuzz_fill -runs=1000000 -max_len=12000 /tmp/corpus-fill
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model_under_fuzz.h"

namespace {

using rovanel::fuzz::ModelUnderFuzz;

struct Case {
  std::vector<std::string> setup;
  std::string fill;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = [] {
    const std::string file = ModelUnderFuzz::File("levels.txt");
    return std::vector<Case>{
        {{"click:acquisition"}, "fill:RawBuf=" + file},
        {{"click:acquisition", "click:superposition"}, "fill:RawBuf=" + file},
        {{"click:mi"}, "fill:MiSerieRaw=" + file},
    };
  }();
  return cases;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ModelUnderFuzz::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::vector<std::unique_ptr<ModelUnderFuzz>> models = [] {
    std::vector<std::unique_ptr<ModelUnderFuzz>> m;
    for (const Case& c : Cases()) m.push_back(std::make_unique<ModelUnderFuzz>(c.setup));
    return m;
  }();
  ModelUnderFuzz::Write(ModelUnderFuzz::File("levels.txt"), std::span<const std::uint8_t>(data, size));
  for (std::size_t k = 0; k < models.size(); ++k) models[k]->RunChecked({Cases()[k].fill});
  return 0;
}
