// The curve files against byte images built by hand from their layouts.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <tuple>

#include "app/files/curve_files.h"

namespace rovanel::app {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Pat(std::size_t i, unsigned seed) {
  return static_cast<std::uint8_t>(i * seed + 3);
}

// A byte image written from the layout tables, offsets spelled out.
struct Image {
  Bytes b;
  explicit Image(std::size_t n) : b(n, 0) {}
  Image& U8(std::size_t at, int v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    return *this;
  }
  Image& I16(std::size_t at, int v) { return U8(at, v & 0xFF).U8(at + 1, (v >> 8) & 0xFF); }
  Image& I32(std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
      U8(at + i, static_cast<int>(static_cast<std::uint32_t>(v) >> 8 * i));
    return *this;
  }
  Image& Put(std::size_t at, std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) U8(at + i, static_cast<std::uint8_t>(s[i]));
    return *this;
  }
  Image& Str(std::size_t at, std::string_view s) { return U8(at, int(s.size())).Put(at + 1, s); }
  Image& Fill(std::size_t at, std::size_t n, unsigned seed) {
    for (std::size_t i = 0; i < n; ++i) U8(at + i, Pat(i, seed));
    return *this;
  }
};

Bytes Slices(const Bytes& from, std::initializer_list<std::pair<std::size_t, std::size_t>> parts) {
  Bytes out;
  for (auto [a, b] : parts) out.insert(out.end(), from.begin() + a, from.begin() + b);
  return out;
}

// "" when equal, else where they first part.
std::string Diff(const Bytes& got, const Bytes& want) {
  const auto m = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
  if (m.first == got.end() && m.second == want.end()) return "";
  return "sizes " + std::to_string(got.size()) + "/" + std::to_string(want.size()) +
         ", first difference at " + std::to_string(m.first - got.begin());
}

// "" on success, else the error.
template <class Data>
std::string Load(const Bytes& file, Data& d, LoadReport& report) {
  std::string error;
  bool ok;
  if constexpr (std::is_same_v<Data, CcdData>)
    ok = DecodeCcd(file, d, report, error);
  else
    ok = DecodeCct(file, d, report, error);
  return ok ? "" : error;
}

// clang-format off
constexpr optics::CalPoints kPoints = {{{200, 450.5f}, {1400, 800.25f}, {3000, 0}, {-1, 0},
    {0, 380}, {2047, 780}, {512, 500}, {3000, 1}, {-5, 2}}};
// clang-format on

CcdData SampleCcd() {
  CcdData d;
  ProfParamsRec& p = d.prof;
  p.Step = 3, p.fftValid = true, p.UnitY = "ln", p.FftStep = 1, p.MaxCurves = 2;
  p.calibration = p.invert = p.superposition = p.Grid = true, p.filtrage = false;
  p.FilterOrder = 12, p.AvgCount = 7, p.FileName = "/data/COURBES/été.CCD", p.Level = 9;
  p.opto = p.spectro = true;
  d.opto = {false, true, true, 40, 11, true, false};
  d.spectro.spColor = true, d.spectro.CalPoints = kPoints, d.spectro.RefFile = "etalon.ccd";
  for (std::size_t i = 0; i < 2048; ++i)
    d.spectro.RefSpectrum[i] = Pat(i, 7), d.curve[i] = Pat(i, 13);
  d.spectro.spCalY = true, d.spectro.Interpolation = 1;
  d.notes = {"Élise", "Fentes d'Young", "ligne 1\r\nµ"};
  return d;
}

Image SampleCcdImage() {
  Image im(5632);
  im.Put(0, "ROVANEL").U8(50, 6);
  im.I32(51, 2048).I32(55, 3).U8(59, 1).Str(60, "\xB5m").Str(66, "ln").I32(72, 1).U8(76, 2);
  im.U8(77, 1).U8(78, 0).U8(79, 1).U8(80, 1).U8(81, 0).U8(82, 1).U8(83, 1).I32(84, 12).I32(88, 7);
  im.Str(92, "/data/COURBES/\xE9t\xE9.CCD").I32(348, 9).U8(352, 1).U8(353, 0).U8(354, 1);
  im.U8(355, 0).U8(356, 1).U8(357, 1).I32(358, 40).I32(362, 11).U8(366, 1).U8(367, 0);
  im.U8(368, 1).U8(369, 0);
  for (std::size_t k = 0; k < 9; ++k)
    im.I32(370 + 8 * k, kPoints[k].pixel).I32(374 + 8 * k, std::bit_cast<int>(kPoints[k].lambda));
  im.Str(442, "etalon.ccd").Fill(463, 2048, 7).U8(2511, 1).I32(2512, 1).Fill(2516, 2048, 13);
  im.Str(4564, "\xC9lise").Str(4820, "Fentes d'Young").Put(5332, "ligne 1\r\n\xB5");
  return im;
}

CctData SampleCct() {
  CctData d;
  d.mi = {4096, 5, 2, 60, 8, true, 4096, 2, true, false, true, 30, "/data/série.CCT"};
  for (std::size_t i = 0; i < 4096; ++i) d.raw.push_back(Pat(i, 5));
  d.notes = {"Nom", "Michelson", ""};
  return d;
}

Image SampleCctImage() {
  Image im(5507);
  im.Put(0, "ROVANEL").U8(50, 6).I32(51, 4096).I32(55, 5).I32(59, 2).I32(63, 60).I32(67, 8);
  im.U8(71, 1).I32(72, 4096).I32(76, 2).U8(80, 1).U8(81, 0).U8(82, 1).I32(83, 30);
  im.Str(87, "/data/s\xE9rie.CCT").Fill(343, 4096, 5).Str(4439, "Nom").Str(4695, "Michelson");
  return im;
}

// The 2269-byte profile: the curve, then flags at 2049 and 16-bit integers at 2069.
Image OldCcd(std::size_t size, std::initializer_list<std::pair<int, int>> flags = {},
             std::initializer_list<std::pair<int, int>> ints = {}) {
  Image im = Image(size).Fill(0, 2048, 11).U8(2048, 0x55);
  for (auto [i, v] : flags) im.U8(2049 + i, v);
  for (auto [at, v] : ints) im.I16(2069 + at, v);
  return im;
}

Image OldCct(std::size_t size, std::string_view count, std::string_view duration, int level) {
  Image im(size);
  im.Fill(0, 8193, 3).Fill(8193, 8193, 9).I16(16386, level).Str(16388, count).Str(16393, duration);
  if (size == 16623) im.U8(16403, 1).U8(16404, 0).U8(16405, 1).I16(16423, 25);
  return im;
}

// Everything a decode may change.
auto Snap(const CcdData& d) {
  return EncodeCcd(d);
}
auto Snap(const CctData& d) {
  return std::tuple(EncodeCct(d), d.raw, d.shownSerie, d.durRequested, d.durStep);
}

TEST(CurveFiles, WritersLayEveryFieldAtItsOffset) {
  EXPECT_EQ(Diff(EncodeCcd(SampleCcd()), SampleCcdImage().b), "");
  EXPECT_EQ(Diff(EncodeCct(SampleCct()), SampleCctImage().b), "");
  EXPECT_EQ(EncodeCcd({}).size(), 5632u);
  EXPECT_EQ(EncodeCct({}).size(), 9603u);  // 8192 samples, zeros past the end of raw
  // Strings are cut to their room in Windows-1252; a full remark (the
  // memo's 300 characters) fills its 300 bytes and reads back whole.
  CcdData d;
  d.prof.UnitX = "µµµµµµµ";
  for (int i = 0; i < 310; ++i) d.notes.RemarkText += "µ";
  const Bytes b = EncodeCcd(d);
  EXPECT_EQ(Bytes(b.begin() + 60, b.begin() + 66), (Bytes{5, 0xB5, 0xB5, 0xB5, 0xB5, 0xB5}));
  EXPECT_EQ(Bytes(b.begin() + 5332, b.end()), Bytes(300, 0xB5));
  CcdData back;
  LoadReport report;
  ASSERT_EQ(Load(b, back, report), "");
  EXPECT_EQ(back.notes.RemarkText.size(), 600u);  // 300 "µ" in UTF-8
}

TEST(CurveFiles, RoundTripsRestoreAllButFftValid) {
  CcdData ccd;
  LoadReport report;
  ASSERT_EQ(Load(EncodeCcd(SampleCcd()), ccd, report), "");
  EXPECT_EQ(Diff(EncodeCcd(ccd), SampleCcdImage().U8(59, 0).b), "");
  EXPECT_EQ(std::tie(report.layout, report.notes, report.calPoints, report.curveOnly),
            std::tuple("version 6", true, true, false));
  // Any flag byte other than 0 is a pressed button.
  ASSERT_EQ(Load(SampleCcdImage().U8(83, 0x80).U8(352, 0xFF).b, ccd, report), "");
  EXPECT_EQ(Diff(EncodeCcd(ccd), SampleCcdImage().U8(59, 0).b), "");

  CctData cct;
  cct.shownSerie = Bytes(3, 1), cct.durStep = 4;
  ASSERT_EQ(Load(EncodeCct(SampleCct()), cct, report), "");
  EXPECT_EQ(Diff(EncodeCct(cct), SampleCctImage().U8(71, 0).b), "");
  EXPECT_EQ(cct.raw, SampleCct().raw);
  EXPECT_EQ(cct.durRequested, 60);
  EXPECT_FALSE(cct.shownSerie || cct.durStep);
}

TEST(CurveFiles, OlderVersionsTakeOnlyWhatTheyCarry) {
  const PrintNotesRec kept = {"kept", "kept", "kept"};
  CcdData before;
  before.spectro.CalPoints[6] = {7, 7}, before.spectro.CalPoints[8] = {9, 9};
  before.notes = kept;
  const Bytes v6 = SampleCcdImage().b;
  Bytes v5 = Slices(v6, {{0, 4564}}), v4 = Slices(v6, {{0, 418}, {442, 2512}, {2516, 4564}});
  v5[50] = 5, v4[50] = 4;
  for (const auto& [version, file] : {std::pair{5, v5}, std::pair{4, v4}}) {
    SCOPED_TRACE(version);
    CcdData want = SampleCcd(), got = before;
    want.prof.fftValid = false, want.notes = kept;
    if (version == 4) {  // six calibration points, the others kept; linear
      want.spectro.Interpolation = 0;
      std::copy_n(before.spectro.CalPoints.begin() + 6, 3, want.spectro.CalPoints.begin() + 6);
    }
    LoadReport report;
    ASSERT_EQ(Load(file, got, report), "");
    EXPECT_EQ(Diff(EncodeCcd(got), EncodeCcd(want)), "");
    EXPECT_EQ(report.layout, "version " + std::to_string(version));
    EXPECT_FALSE(report.notes);
  }
  const Bytes s6 = SampleCctImage().b;
  for (int version : {3, 4, 5}) {
    SCOPED_TRACE(version);
    Bytes file = version == 3 ? Slices(s6, {{0, 87}, {343, 4439}}) : Slices(s6, {{0, 4439}});
    file[50] = static_cast<std::uint8_t>(version);
    CctData got, want = SampleCct();
    got.notes = want.notes = kept;
    want.mi.fftValid = false, want.durRequested = 60;
    if (version == 3) want.mi.FileName.clear();
    LoadReport report;
    ASSERT_EQ(Load(file, got, report), "");
    EXPECT_EQ(Snap(got), Snap(want));
  }
}

TEST(CurveFiles, OldProfileLayoutsMapFlagsAndIntegers) {
  CcdData before = SampleCcd();
  before.opto = {false, false, true, 3, 4, false, true};
  before.prof.UnitY = "xy";
  const std::pair<Image, std::function<void(CcdData&)>> cases[] = {
      {OldCcd(2057), [](CcdData&) {}},
      {OldCcd(2269, {{0, 1}, {1, 1}, {3, 1}, {4, 1}, {6, 1}, {7, 1}, {11, 1}, {15, 1}, {16, 2}},
              {{0, 5}, {2, 9}, {20, 63}, {16, 30}, {18, 7}}),
       [](CcdData& d) {
         ProfParamsRec& p = d.prof;
         p.opto = p.calibration = p.filtrage = p.realgris = p.Averaged = p.int_ = true;
         p.invert = p.spectro = false, p.UnitY = "ln";
         p.FilterOrder = 5, p.AvgCount = 9, p.Level = 15;
         d.opto.lutln = true, d.opto.lutexp = false, d.opto.gauss = true, d.opto.cumul = false;
         d.opto.CoefLn = 30, d.opto.CoefExp = 7;
       }},
      // flags[0] clear: the analysis settings stay; -3 / 4 truncates to 0
      {OldCcd(2269, {{2, 1}, {4, 3}, {13, 1}}, {{0, 2}, {2, 1}, {20, -3}}),
       [](CcdData& d) {
         ProfParamsRec& p = d.prof;
         p.opto = p.calibration = p.filtrage = p.Averaged = p.int_ = p.spectro = false;
         p.invert = p.realgris = true, p.FilterOrder = 2, p.AvgCount = 1, p.Level = 0;
       }},
  };
  for (const auto& [file, expect] : cases) {
    SCOPED_TRACE(file.b.size());
    CcdData got = before, want = before;
    expect(want);
    for (std::size_t i = 0; i < 2048; ++i) want.curve[i] = Pat(i, 11);
    want.prof.fftValid = false;
    LoadReport report;
    ASSERT_EQ(Load(file.b, got, report), "");
    EXPECT_EQ(Diff(EncodeCcd(got), EncodeCcd(want)), "");
    EXPECT_EQ(report.curveOnly, file.b.size() == 2057);
    EXPECT_FALSE(report.notes || report.calPoints);
  }
}

TEST(CurveFiles, OldSeriesLayoutsMapAndDerive) {
  struct Case {
    std::size_t size;
    const char *count, *duration;
    int stored, level, seconds, quantum, code, fftStep, step;
  };
  const Case cases[] = {
      {16403, "8192", "01:30", 0, 0, 90, 82, 0, 8, 16},     // 81.92 s
      {16623, "4096", " 5:00", 63, 15, 300, 195, 0, 4, 8},  // 194.56 s
      {16403, "512", "00:03", 37, 9, 3, 17, -1, 0, 1},      // 16.64 s, longer than the duration
      {16623, "1024", "10:3", -3, 0, 603, 10, 59, 1, 2},    // 10.24 s; seconds "3"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    CctData got = SampleCct(), want = got;
    MiParamsRec& m = want.mi;
    m.NbPoints = m.FftSize = std::atoi(c.count);
    m.Level = c.level, m.Duration = c.seconds, m.DurationCode = c.code;
    m.fftValid = false, m.FftStep = c.fftStep, m.Step = c.step;
    if (c.size == 16623) m.calibration = m.filtrage = true, m.invert = false, m.FilterOrder = 25;
    want.raw = want.shownSerie.emplace(8192);
    for (std::size_t i = 0; i < 8192; ++i)
      want.raw[i] = Pat(i, 3), (*want.shownSerie)[i] = Pat(i, c.size == 16403 ? 9 : 3);
    want.durRequested = c.seconds, want.durStep = c.quantum;
    LoadReport report;
    ASSERT_EQ(Load(OldCct(c.size, c.count, c.duration, c.stored).b, got, report), "");
    EXPECT_EQ(Snap(got), Snap(want));
    EXPECT_EQ(report.layout, std::to_string(c.size) + "-byte");
    CctData again;  // what an old file gives can be saved and opened again
    EXPECT_EQ(Load(EncodeCct(got), again, report), "");
  }
}

TEST(CurveFiles, RefusalsSayWhyAndChangeNothing) {
  enum Base { kCcd, kCcd2269, kCct, kCctOld };
  const auto u8 = [](std::size_t at, int v) { return [=](Image& im) { im.U8(at, v); }; };
  const auto i16 = [](std::size_t at, int v) { return [=](Image& im) { im.I16(at, v); }; };
  const auto i32 = [](std::size_t at, int v) { return [=](Image& im) { im.I32(at, v); }; };
  const auto str = [](std::size_t at, std::string s) { return [=](Image& im) { im.Str(at, s); }; };
  const auto cut = [](std::size_t n) { return [=](Image& im) { im.b.resize(n); }; };
  const std::string shorter = "the file is shorter than its layout ", pixel = "the pixel ",
                    marker = " is neither within 0..2047 nor an unused marker",
                    minsec = "\" does not hold minutes and seconds as numbers";
  const std::tuple<Base, std::function<void(Image&)>, std::string> cases[] = {
      // clang-format off
      {kCcd, cut(5632), ""},
      {kCcd, cut(5000), shorter + "(5000 bytes, 5632 expected)"},
      {kCcd, cut(30), shorter + "(30 bytes, 51 expected)"},
      {kCcd, [](Image& im) { im.U8(50, 4).b.resize(4535); }, shorter + "(4535 bytes, 4536 expected)"},
      {kCcd, u8(50, 7), "the version byte 7 is not one of 4, 5 and 6 of a profile file"},
      {kCcd, i32(51, 2047), "the profile point count 2047 is not 2048"},
      {kCcd, i32(55, 5), "the display step 5 is outside 1..4"},
      {kCcd, i32(72, 0), "the spectrum display step 0 is outside 1..4"},
      {kCcd, u8(60, 6), "the length 6 of the X unit text is more than 5"},
      {kCcd, u8(76, 4), "the curve limit 4 is outside 1..3"},
      {kCcd, i32(84, 100), "the filter order 100 is outside 0..99"},
      {kCcd, i32(88, 50), "the averaging count 50 is outside 1..49"},
      {kCcd, i32(348, 16), "the level 16 is outside 0..15"},
      {kCcd, i32(358, 1), "the logarithmic LUT coefficient 1 is outside 2..95"},
      {kCcd, i32(378, 2048), pixel + "2048 of calibration point 2" + marker},
      {kCcd, i32(434, 2999), pixel + "2999 of calibration point 9" + marker},
      {kCcd, i32(374, 0x7FC00000), "the wavelength of calibration point 1 is not a finite number"},
      {kCcd, u8(442, 21), "the length 21 of the reference file name is more than 20"},
      {kCcd, i32(2512, 2), "the interpolation kind 2 is outside 0..1"},
      {kCcd2269, u8(0, 0), ""},
      {kCcd2269, i16(2089, 64), "the level 16 is outside 0..15"},
      {kCcd2269, i16(2069, 0), ""},  // order 0: no smoothing pass, as earlier releases wrote
      {kCcd2269, i16(2069, -1), "the filter order -1 is outside 0..99"},
      {kCcd, i32(84, 0), ""},
      {kCcd2269, i16(2085, 200), "the logarithmic LUT coefficient 200 is outside 2..95"},
      {kCct, u8(0, 0), ""},
      {kCct, cut(5506), shorter + "(5506 bytes, 5507 expected)"},
      {kCct, cut(300), shorter + "(300 bytes, 343 expected)"},
      {kCct, i32(51, 4097), shorter + "(5507 bytes, 5508 expected)"},
      {kCct, u8(50, 2), "the version byte 2 is not one of 3, 4, 5 and 6 of a series file"},
      {kCct, i32(51, 131073), "the point count 131073 is outside 1..131072"},
      {kCct, i32(55, -1), "the level -1 is outside 0..15"},
      {kCct, i32(63, 0), "the duration 0 s is not positive"},
      {kCct, i32(59, 60), "the duration code 60 is outside -1..59"},
      {kCct, i32(67, 257), "the display step 257 is outside 1..256"},
      {kCct, i32(72, 3000), "the FFT size 3000 is not a power of two from 1 to 131072"},
      {kCct, i32(72, 262144), "the FFT size 262144 is not a power of two from 1 to 131072"},
      {kCct, i32(76, -1), "the spectrum display step -1 is outside 0..256"},
      {kCctOld, u8(0, 0), ""},
      {kCctOld, str(16388, "12a"), "the point count \"12a\" is not a number"},
      {kCctOld, str(16388, "9000"), "the point count 9000 is outside 1..8192"},
      {kCctOld, str(16388, "1000"), "the point count 1000 is not a power of two from 512 to 8192"},
      {kCctOld, str(16388, "50"), "the duration quantum works out to 0"},  // 0.5 s, halves to even
      {kCctOld, u8(16388, 5), "the length 5 of the point-count text is more than 4"},
      {kCctOld, str(16393, "ab:30"), "the duration text \"ab:30" + minsec},
      {kCctOld, str(16393, "00:00"), "the duration 0 s is not positive"},
      {kCctOld, i16(16386, 64), "the level 16 is outside 0..15"},
      {kCctOld, i16(16423, 100), "the filter order 100 is outside 0..99"},
      {kCctOld, i16(16423, 0), ""},
      // clang-format on
  };
  for (const auto& [base, patch, error] : cases) {
    Image im = base == kCcd       ? SampleCcdImage()
               : base == kCcd2269 ? OldCcd(2269, {{0, 1}}, {{0, 5}, {2, 4}, {16, 10}, {18, 10}})
               : base == kCct     ? SampleCctImage()
                                  : OldCct(16623, "4096", "01:30", 0);
    patch(im);
    SCOPED_TRACE(error.empty() ? "base " + std::to_string(base) : error);
    LoadReport report{"untouched", true, true, true};
    if (base == kCcd || base == kCcd2269) {
      CcdData d = SampleCcd();
      EXPECT_EQ(Load(im.b, d, report), error);
      EXPECT_TRUE(error.empty() || Snap(d) == Snap(SampleCcd()));
    } else {
      CctData d = SampleCct();
      d.shownSerie = Bytes(5, 5), d.durStep = 7;
      const auto before = Snap(d);
      EXPECT_EQ(Load(im.b, d, report), error);
      EXPECT_TRUE(error.empty() || Snap(d) == before);
    }
    EXPECT_TRUE(error.empty() || report.layout == "untouched");
  }
}

}  // namespace
}  // namespace rovanel::app
