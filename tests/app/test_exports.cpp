// The plain text, Regressi and Synchronie exports, checked against hand-written
// lines in Windows-1252 (octal escapes: \243 is the pound sign, \351 e acute, \265 micro).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/files/exports.h"

namespace rovanel::app {
namespace {

using K = ExportKind;
const auto Serie = [](int i) { return (i * 127 + 1) % 256; };  // sample 1 is 128
const auto Curve = [](int i) { return (i * 3 + 7) % 256; };

template <typename T, typename F>
std::vector<T> Table(int n, F f) {
  std::vector<T> v(n);
  for (int i = 0; i < n; ++i) v[i] = static_cast<T>(f(i));
  return v;
}

ExportInput Input(bool mi, bool fft, bool spectro, int n = 8192, int level = 0, int prof = 2048) {
  static const auto serie = Table<std::uint8_t>(8192, Serie);
  static const auto curve = Table<std::uint8_t>(2048, Curve);
  static const auto lambda = Table<float>(2048, [](int i) { return 300.0f + i / 4.0f; });
  return {mi,    fft, spectro, serie, curve,         lambda, n,
          level, 81,  prof,    "Pts", "Sensibilité", "Durée"};
}

// Splits on CR LF; any other line end, or a last line without one, fails.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
    out.push_back(bytes.substr(at, end - at));
  EXPECT_EQ(at, bytes.size()) << "text after the last CR LF";
  for (const auto& l : out) EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << l;
  return out;
}

std::vector<ExportFile> Build(K kind, const ExportInput& in, const std::string& name = "") {
  std::vector<ExportFile> files;
  std::string error;
  const std::string path = !name.empty() ? name : kind == K::Regressi ? "/d/o.rw3" : "/d/o.TXT";
  EXPECT_TRUE(BuildExport(kind, path, in, files, error)) << error;
  EXPECT_EQ(error, "");
  return files;
}

std::vector<std::string> OnlyFile(K kind, const ExportInput& in) {
  const auto files = Build(kind, in);
  EXPECT_EQ(files.size(), 1u);
  return files.empty() ? std::vector<std::string>{} : Lines(files[0].bytes);
}

// The first `n` lines joined by "|".
std::string Joined(const std::vector<std::string>& lines, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n && i < lines.size(); ++i) out += (i ? "|" : "") + lines[i];
  return out;
}

TEST(Exports, ExtensionDecidesWhetherAnythingIsWritten) {
  const struct {
    K kind;
    const char* name;
    bool writes;
  } cases[] = {
      {K::Text, "/d/a.TXT", true},        {K::Text, "/d/a.txt", true},
      {K::Text, "/d.TXT/a", false},       {K::Regressi, "/d/a.Rw3", true},
      {K::Regressi, "/d/a.txt", false},   {K::Synchronie, "/d/a.txt", true},
      {K::Synchronie, "/d/a.rw3", false},
  };
  for (const auto& c : cases) {
    const auto files = Build(c.kind, Input(false, false, false), c.name);
    ASSERT_EQ(files.size(), c.writes ? 1u : 0u) << c.name;
    for (const auto& f : files) EXPECT_EQ(f.path, c.name);
  }
}

TEST(Exports, MichelsonSpectrumPlainTextIsHalfTheSeriesThenTheSettings) {
  const auto lines = OnlyFile(K::Text, Input(true, true, false));
  ASSERT_EQ(lines.size(), 4096u + 4);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(lines[i], std::to_string(Serie(i))) << i;
  const std::vector<std::string> tail(lines.begin() + 4096, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"", "Pts: 8192", "Sensibilit\351: 0 (10.00 ms)",
                                            "Dur\351e: 81 s."}));
}

TEST(Exports, HeadersOfEachCase) {
  const std::string comment = "Pts: 8192;Sensibilit\351: 1 (12.50 ms);Dur\351e: 81 s";
  const struct {
    ExportInput in;
    std::string x, y, unit, equation, comment;
    int count;
  } cases[] = {
      {Input(true, false, false, 8192, 1), "Temps", "Eclairement", "ms", "E = f(t)", comment, 8192},
      {Input(true, true, true, 8192, 1), "Fr\351quence", "Niveau", "Hz", "N = h(f)", comment, 4096},
      {Input(false, false, false, 0, 99, 2000), "Position", "Eclairement", "\265m", "E = f(x)",
       "Acquisition de 2000 Pts", 2000},
      {Input(false, true, false), "Fr\351quence", "Niveau", "m-1", "N = h(f)",
       "Acquisition de 2048 Pts", 1024},
      {Input(false, true, true), "Lambda", "Eclairement", "nm", "E = f(lambda)",
       "Acquisition de 2048 Pts", 2048},
  };
  for (const auto& c : cases) {
    const std::string head = "EVARISTE REGRESSI WINDOWS 1.0|\2432 NOM VAR|" + c.x + "|" + c.y +
                             "|\2432 UNITE VAR|" + c.unit + "|bit|\2430 GRAPHE VAR|&1 X|" + c.x +
                             "|&1 Y|" + c.y + "|\2431 PAGE COMMENT|" + c.comment + "|&" +
                             std::to_string(c.count) + " VALEUR VAR";
    const auto regressi = OnlyFile(K::Regressi, c.in);
    ASSERT_EQ(regressi.size(), 15u + c.count) << c.x;
    EXPECT_EQ(Joined(regressi, 15), head);
    const auto synchronie = OnlyFile(K::Synchronie, c.in);
    ASSERT_EQ(synchronie.size(), 4u + c.count) << c.x;
    EXPECT_EQ(Joined(synchronie, 4), "EVARISTE REGRESSI WINDOWS 1.0|" + c.equation + "|" + c.x +
                                         ";" + c.y + "|" + c.unit + ";bit");
  }
}

TEST(Exports, DataLines) {
  const std::string last = std::to_string(Curve(2047));
  const struct {
    K kind;
    ExportInput in;
    int sample;
    std::string line;
  } cases[] = {
      {K::Regressi, Input(true, false, false, 8192, 0), 0, "0.00 1"},
      {K::Regressi, Input(true, false, false, 8192, 1), 3, "37.50 126"},
      {K::Synchronie, Input(true, false, false, 8192, 0), 1, "10,00;128"},
      {K::Regressi, Input(true, true, false), 1, "0.01 128"},  // 0.0122
      {K::Regressi, Input(true, true, false), 256, "3.13 1"},  // 3.125: away from 0
      {K::Regressi, Input(false, false, false), 2047, "28658 " + last},
      {K::Regressi, Input(false, true, false), 1, "34.88 10"},
      {K::Synchronie, Input(false, true, false), 1, "34,88;10"},
      {K::Regressi, Input(false, true, false), 56, "1953.13 175"},  // 1953.125
      {K::Regressi, Input(false, true, true), 1, "300.25 10"},
      {K::Synchronie, Input(false, false, true), 2047, "811,75;" + last},
  };
  for (const auto& c : cases) {
    const auto lines = OnlyFile(c.kind, c.in);
    const std::size_t head = c.kind == K::Regressi ? 15 : 4;
    ASSERT_GT(lines.size(), head + c.sample);
    EXPECT_EQ(lines[head + c.sample], c.line);
  }
}

TEST(Exports, ProfilePlainTextIsTheLevelsAndSpectrometryAddsTheWavelengthFile) {
  for (const bool fft : {false, true}) {
    const auto files = Build(K::Text, Input(false, fft, true), "/d/e/p.TXT");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].bytes, Build(K::Text, Input(false, !fft, false))[0].bytes);
    const auto levels = Lines(files[0].bytes);
    const auto wavelengths = Lines(files[1].bytes);
    ASSERT_EQ(levels.size(), 2048u);
    ASSERT_EQ(wavelengths.size(), 2048u);
    EXPECT_EQ(files[1].path, "/d/e/_p.TXT");
    const char* quarters[] = {"00", "25", "50", "75"};
    for (int i = 0; i < 2048; ++i) {
      ASSERT_EQ(levels[i], std::to_string(Curve(i)));
      ASSERT_EQ(wavelengths[i], std::to_string(300 + i / 4) + "." + quarters[i % 4]);
    }
  }
  EXPECT_EQ(Build(K::Text, Input(false, false, true), "p.TXT")[1].path, "_p.TXT");
}

TEST(Exports, WhatCannotBeWrittenWholeIsRefusedWithNothingWritten) {
  const struct {
    ExportInput in;
    bool ok;
  } cases[] = {
      {Input(true, false, false, 8192, 16), false},  {Input(true, true, false, 8192, -1), false},
      {Input(true, false, false, 8192, 15), true},   {Input(false, false, false, 8192, 16), true},
      {Input(false, true, true, 0, 0, 2049), false}, {Input(true, false, false, 8193, 0), false},
  };
  for (const auto& c : cases) {
    for (const auto kind : {K::Text, K::Regressi, K::Synchronie}) {
      std::vector<ExportFile> files;
      std::string error;
      const std::string name = kind == K::Regressi ? "/d/r.RW3" : "/d/r.TXT";
      EXPECT_EQ(BuildExport(kind, name, c.in, files, error), c.ok);
      EXPECT_EQ(error.empty(), c.ok) << error;
      EXPECT_EQ(files.empty(), !c.ok);
    }
  }
}

}  // namespace
}  // namespace rovanel::app
