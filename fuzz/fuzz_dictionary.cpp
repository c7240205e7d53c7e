// Fuzzes the language dictionary: the first byte gives the length of a key
// taken from the bytes after it, the rest is the dictionary file. Every
// language from -1 to 5 is looked up and compared with the lookup done the
// old way, byte by byte from the file's start; the code page conversions must
// round-trip.
//
// Build (clang only, in a folder of its own):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DROVANEL_FUZZ=ON \
//       -DROVANEL_TESTS=OFF -DROVANEL_BENCH=OFF
//   ninja -C build-fuzz fuzz_dictionary
// Run over a copy of the seeds (the fuzzer adds to its corpus folder):
//   cp -r tests/data/fuzz/dictionary /tmp/corpus-dictionary
//   build-fuzz/bin/fuzz_dictionary -runs=1000000 /tmp/corpus-dictionary
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/lang/dictionary.h"
#include "base/cp1252.h"

namespace {

using rovanel::app::TextLookup;

TextLookup OldLookup(std::string_view file, std::string_view key, int language) {
  const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
  const auto sep = [](char c) { return c == '\t' || c == '\r'; };
  std::size_t pos = 0;
  while (pos < file.size()) {
    std::string line;
    while (pos < file.size() && line.size() < 500) {
      const char c = file[pos++];
      line += c;
      if (c == '\n') break;
    }
    std::size_t keyLen = 0;
    while (keyLen < line.size() && !sep(line[keyLen])) ++keyLen;
    if (key.size() < keyLen) continue;
    bool same = true;
    for (std::size_t i = 0; i < keyLen; ++i) same = same && upper(key[i]) == upper(line[i]);
    if (!same) continue;
    std::size_t p = 0;
    int seen = 0;
    while (p < line.size() && seen < language) seen += sep(line[p++]) ? 1 : 0;
    TextLookup r{true, {}};
    if (language >= 1 && seen == language)
      while (p < line.size() && !sep(line[p])) r.text += line[p++];
    return r;
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rovanel;
  if (size == 0) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t keyLen = std::min<std::size_t>(data[0], size - 1);
  const std::string_view key = all.substr(1, keyLen);
  const std::string_view file = all.substr(1 + keyLen);

  app::Dictionary d;
  d.LoadBytes(std::string(file));
  const std::string keyUtf8 = Cp1252ToUtf8(key);
  if (Utf8ToCp1252(keyUtf8) != key) std::abort();
  for (int language = -1; language <= 5; ++language) {
    const TextLookup got = d.Lookup(keyUtf8, language);
    const TextLookup want = OldLookup(file, key, language);
    if (got.found != want.found || got.text != Cp1252ToUtf8(want.text)) std::abort();
    // The key bytes read as UTF-8, malformed or not.
    d.Lookup(key, language);
  }
  const std::string narrowed = Utf8ToCp1252(key);
  if (Utf8ToCp1252(Cp1252ToUtf8(narrowed)) != narrowed) std::abort();
  return 0;
}
