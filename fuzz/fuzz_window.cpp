// Fuzzes a whole open through the window model: the fuzzer's bytes are a
// file opened as a profile (.CCD), a series (.CCT), a curve laid over the
// one shown, and a reference spectrum. Every open the model refuses must
// leave its state exactly as it was.
//
// Build (clang only, in a folder of its own):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DROVANEL_FUZZ=ON \
//       -DROVANEL_TESTS=OFF -DROVANEL_BENCH=OFF
//   ninja -C build-fuzz fuzz_window
// For the long runs add -DROVANEL_FUZZ_ASAN=OFF: UBSan only, several times
// the executions per second. Run over a copy of the seeds (a series file is
// larger than the default length):
//   cp -r tests/data/fuzz/curves /tmp/corpus-window
//   build-fuzz/bin/fuzz_window -runs=1000000 -max_len=20000 /tmp/corpus-window
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
  std::vector<std::string> setup;  // brings the model to the state to open from
  std::string file;                // the name the bytes are opened under
  std::vector<std::string> open;   // the actions that open it
};

const Case& Get(std::size_t k) {
  static const std::vector<Case> cases = [] {
    const std::string ccd = ModelUnderFuzz::File("f.CCD");
    const std::string cct = ModelUnderFuzz::File("f.CCT");
    return std::vector<Case>{
        {{"click:acquisition"}, ccd, {"open:" + ccd}},
        {{"click:acquisition"}, cct, {"open:" + cct}},
        {{"click:acquisition", "click:superposition"}, ccd, {"open:" + ccd}},
        {{"click:spectro", "click:acquisition"},
         ccd,
         {"dialog:open FileName=" + ccd + " ok", "click:spOpnCal"}},
    };
  }();
  return cases[k];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ModelUnderFuzz::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::vector<std::unique_ptr<ModelUnderFuzz>> models = [] {
    std::vector<std::unique_ptr<ModelUnderFuzz>> m;
    for (std::size_t k = 0; k < 4; ++k) m.push_back(std::make_unique<ModelUnderFuzz>(Get(k).setup));
    return m;
  }();
  const std::span<const std::uint8_t> bytes(data, size);
  for (std::size_t k = 0; k < models.size(); ++k) {
    const Case& c = Get(k);
    ModelUnderFuzz::Write(c.file, bytes);
    models[k]->RunChecked(c.open);
  }
  return 0;
}
