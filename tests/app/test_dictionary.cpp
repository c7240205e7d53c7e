#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "app/lang/dictionary.h"
#include "base/cp1252.h"
#include "support/unprivileged.h"

namespace rovanel::app {
namespace {

// The lookup as the old program did it: the file read byte by byte, one line
// at a time, from its start for every key. Key and result in Windows-1252.
TextLookup OldLookup(const std::string& file, const std::string& key, int language) {
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

TextLookup Look(const std::string& file, const std::string& key, int language) {
  Dictionary d;
  d.LoadBytes(file);
  return d.Lookup(key, language);
}

void ExpectSame(const std::string& file, const std::string& key, int language) {
  Dictionary d;
  d.LoadBytes(file);
  const TextLookup got = d.Lookup(Cp1252ToUtf8(key), language);
  const TextLookup want = OldLookup(file, key, language);
  ASSERT_EQ(got.found, want.found) << "key [" << key << "] lang " << language;
  ASSERT_EQ(got.text, Cp1252ToUtf8(want.text)) << "key [" << key << "] lang " << language;
}

struct Case {
  const char* name;
  std::string file;
  std::string key;  // UTF-8
  int language;
  bool found;
  std::string text;  // UTF-8
};

TEST(Dictionary, LookupCases) {
  const std::string line = "ID_BTN_MCH_D\xE9marrer\tD\xE9marrer\tStart\tStarten\r\n";
  const Case cases[] = {
      {"English for 2", line, "ID_BTN_MCH_D\u00E9marrer", 2, true, "Start"},
      {"French, converted", line, "ID_BTN_MCH_D\u00E9marrer", 1, true, "D\u00E9marrer"},
      {"German ends at CR", line, "ID_BTN_MCH_D\u00E9marrer", 3, true, "Starten"},
      {"language 0", line, "ID_BTN_MCH_D\u00E9marrer", 0, true, ""},
      {"language 4: after the CR, the LF", line, "ID_BTN_MCH_D\u00E9marrer", 4, true, "\n"},
      {"language 5", line, "ID_BTN_MCH_D\u00E9marrer", 5, true, ""},
      {"negative language", line, "ID_BTN_MCH_D\u00E9marrer", -1, true, ""},
      {"empty field", "HINT_X\tfr\t\tde\r\n", "HINT_X", 2, true, ""},
      {"lower-case line key", "cmb_bas_continu\tcontinu\tcontinuous\r\n", "CMB_BAS_Continu", 2,
       true, "continuous"},
      {"letters a..z fold", "zA\tx\r\n", "Za", 1, true, "x"},
      {"@ [ ` { do not fold", "@[\tx\r\n", "`{", 1, false, ""},
      {"no case folding of \u00E9/\u00C9", line, "ID_BTN_MCH_D\u00C9marrer", 2, false, ""},
      {"prefix", "ID_BTN\tb\tbutton\r\n", "ID_BTN_BAS_Aide", 2, true, "button"},
      {"key shorter than the line key", "ID_BTN_BAS\tb\tbutton\r\n", "ID_BTN", 2, false, ""},
      {"first match wins", "ID\tone\r\nID_A\ttwo\r\n", "ID_A", 1, true, "one"},
      {"blank line matches all", "A\ta\r\n\r\nB\tb\r\n", "B", 1, true, "\n"},
      {"blank line after the match", "A\ta\r\n\r\nB\tb\r\n", "A", 1, true, "a"},
      {"no separator: key holds the LF", "K\nK\tk\r\n", "K", 1, true, "k"},
      {"LF ends the last field without CR", "K\tk\nL\tl", "K", 1, true, "k\n"},
      {"last line without LF", "K\tk\nL\tl", "L", 1, true, "l"},
      {"missing", line, "HINT_Acquisition", 1, false, ""},
      {"empty file", "", "A", 1, false, ""},
      {"empty key", line, "", 1, false, ""},
      {"unmapped character becomes ?", "?\tq\r\n", "\u4E2D", 1, true, "q"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TextLookup r = Look(c.file, c.key, c.language);
    EXPECT_EQ(r.found, c.found);
    EXPECT_EQ(r.text, c.text);
  }
}

TEST(Dictionary, LinesAreCutEvery500Bytes) {
  // 499 letters and a TAB: the text would start on byte 501, which opens a
  // line of its own whose key is the French text.
  const std::string longKey(499, 'K');
  const std::string file = longKey + "\tfr\ten\r\n";
  EXPECT_EQ(Look(file, longKey, 1).text, "");  // the separator ends the cut line
  EXPECT_TRUE(Look(file, longKey, 1).found);
  EXPECT_EQ(Look(file, "fr", 1).text, "en");
  const std::string exact = std::string(498, 'A') + "\t\n" + "B\tb\n";  // LF is byte 500
  EXPECT_EQ(Look(exact, "B", 1).text, "b\n");
  const std::string run(1000, 'x');  // no LF at all: two lines of 500
  EXPECT_FALSE(Look(run, std::string(499, 'x'), 1).found);
  EXPECT_TRUE(Look(run, std::string(500, 'x'), 1).found);
  for (const auto& [f, k] : {std::pair{file, longKey}, std::pair{exact, std::string("B")},
                             std::pair{run, std::string(200, 'x')}})
    for (int lang = 0; lang <= 3; ++lang) ExpectSame(f, k, lang);
}

TEST(Dictionary, AgreesWithTheByteByByteLookupOnRandomFiles) {
  std::mt19937 rng(20240611);
  const char alphabet[] = {'\t', '\r', '\n', 'a', 'A', '\xE9', 'b', '_'};
  const auto pick = [&] { return alphabet[rng() % sizeof alphabet]; };
  int found = 0, texts = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string file;
    const bool longLines = round % 50 == 0;
    const std::size_t size = longLines ? 400 + rng() % 1200 : rng() % 60;
    for (std::size_t i = 0; i < size; ++i) file += (longLines && rng() % 8 != 0) ? 'a' : pick();
    Dictionary d;
    d.LoadBytes(file);
    for (int k = 0; k < 8; ++k) {
      std::string key;
      const std::size_t len = longLines ? 490 + rng() % 20 : rng() % 6;
      for (std::size_t i = 0; i < len; ++i) key += longLines ? "aA"[rng() % 2] : pick();
      for (int lang = -1; lang <= 5; ++lang) {
        const TextLookup got = d.Lookup(Cp1252ToUtf8(key), lang);
        const TextLookup want = OldLookup(file, key, lang);
        ASSERT_EQ(got.found, want.found) << "round " << round << " key " << key << " lang " << lang;
        ASSERT_EQ(got.text, Cp1252ToUtf8(want.text)) << "round " << round << " lang " << lang;
        found += got.found;
        texts += !got.text.empty();
      }
    }
  }
  // Of the 224000 lookups, many find a text, many find none, many fail.
  EXPECT_GT(found, 100000);
  EXPECT_GT(texts, 20000);
  EXPECT_LT(found, 224000 - 40000);
}

class DictionaryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/rovanel-dict-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    path_ = dir_ + "/" + std::string(kDictionaryFile);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string dir_, path_;
};

TEST_F(DictionaryFile, LoadReadsTheFileOnceAndMissingKeysAreAppendedEachTime) {
  const std::string start = "ID_A\ta\tA\tAa\r\n";
  Write(start);
  Dictionary d;
  ASSERT_TRUE(d.Load(path_));
  EXPECT_TRUE(d.Loaded());
  EXPECT_EQ(d.Path(), path_);
  EXPECT_EQ(d.Lookup("ID_A", 3).text, "Aa");

  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(d.Lookup("HINT_\u00C9t\u00E9", 1).found);
    EXPECT_TRUE(d.AppendPlaceholder("HINT_\u00C9t\u00E9"));
  }
  const std::string placeholder = "HINT_\xC9t\xE9\t/1 !Empty!/\t/2 !Empty!/\t/3 !Empty!/\r\n";
  EXPECT_EQ(Read(), start + placeholder + placeholder);
  // A new load sees the placeholders.
  Dictionary again;
  ASSERT_TRUE(again.Load(path_));
  EXPECT_EQ(again.Lookup("HINT_\u00C9t\u00E9", 2).text, "/2 !Empty!/");
}

TEST_F(DictionaryFile, NothingIsLoadedOrWrittenWhereTheFileIsNotThere) {
  Dictionary d;
  EXPECT_FALSE(d.Load(path_));
  EXPECT_FALSE(d.Loaded());
  EXPECT_EQ(d.Path(), path_);
  EXPECT_FALSE(d.Lookup("ID_A", 1).found);
  EXPECT_FALSE(d.AppendPlaceholder("ID_A"));  // completes a dictionary, never creates one
  EXPECT_FALSE(std::filesystem::exists(path_));

  Dictionary noPath;
  noPath.LoadBytes("ID_A\ta\r\n");
  EXPECT_FALSE(noPath.AppendPlaceholder("ID_B"));
  Dictionary onDir;
  onDir.LoadBytes("", dir_);
  EXPECT_FALSE(onDir.AppendPlaceholder("ID_B"));
}

TEST_F(DictionaryFile, AReadOnlyFileIsLeftAsItWas) {
  Write("ID_A\ta\r\n");
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
  Dictionary d;
  ASSERT_TRUE(d.Load(path_));
  EXPECT_EQ(test::RunUnprivileged([&] { return d.AppendPlaceholder("ID_B") ? "appended" : "refused"; }),
            "refused");
  EXPECT_EQ(Read(), "ID_A\ta\r\n");
}

TEST_F(DictionaryFile, AWriteCutShortLeavesNoHalfLine) {
  Write("ID_A\ta\r\n");
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(path_.c_str(), 0666), 0);
  Dictionary d;
  ASSERT_TRUE(d.Load(path_));
  EXPECT_EQ(test::RunUnprivileged([&] {
              // As on a full disk: the file cannot grow past 16 bytes.
              ::signal(SIGXFSZ, SIG_IGN);
              const rlimit limit{16, 16};
              ::setrlimit(RLIMIT_FSIZE, &limit);
              return d.AppendPlaceholder("ID_B") ? "appended" : "refused";
            }),
            "refused");
  EXPECT_EQ(Read(), "ID_A\ta\r\n");
}

}  // namespace
}  // namespace rovanel::app
