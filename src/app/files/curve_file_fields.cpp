#include "app/files/curve_file_fields.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "app/files/curve_files.h"
#include "base/cp1252.h"
#include "base/sizes.h"

namespace rovanel::app::files_detail {
namespace {

constexpr std::size_t kNameRoom = 255, kUnitRoom = 5, kRefFileRoom = 20;
constexpr std::size_t kRemarkSize = 300;
constexpr int kShortCalPoints = 6;
constexpr std::int32_t kUnusedPixel = 3000;  // besides any negative pixel

// Display steps are what the zoom can reach: 1 to the shown samples / 512.
// A profile shows 2048 (the spectrum 1024, but an acquisition made while the
// spectrum is shown zooms over 2048); a series up to kMaxCctPoints, and its
// spectrum step is 0 below 1024 points, where the zoom has nothing to set.
constexpr Range kProfStep{1, kPixels / 512, "display step"};
constexpr Range kProfFftStep{1, kPixels / 512, "spectrum display step"};
constexpr Range kMaxCurves{1, 3, "curve limit"};
constexpr Range kSeriesPoints{1, kMaxCctPoints, "point count"};
constexpr Range kSeriesStep{1, kMaxCctPoints / 512, "display step"};
constexpr Range kSeriesFftStep{0, kMaxCctPoints / 512, "spectrum display step"};
constexpr Range kInterpolation{0, 1, "interpolation kind"};

std::string Num(std::int64_t v) {
  return std::to_string(v);
}

}  // namespace

void Writer::Int32(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(u >> (8 * i)));
}

void Writer::Float32(float v) {
  Int32(std::bit_cast<std::int32_t>(v));
}

void Writer::Counted(const std::string& utf8, std::size_t n) {
  std::string text = Utf8ToCp1252(utf8);
  if (text.size() > n) text.resize(n);
  Byte(static_cast<std::uint8_t>(text.size()));
  for (char c : text) Byte(static_cast<std::uint8_t>(c));
  Zeros(n - text.size());
}

std::span<const std::uint8_t> Reader::Take(std::size_t n) {
  if (n > file_.size() - at_) {
    Fail(Shorter(file_.size(), at_ + n));
    scratch_.assign(n, 0);
    return scratch_;
  }
  const auto part = file_.subspan(at_, n);
  at_ += n;
  return part;
}

std::int32_t Reader::Int32() {
  const auto b = Take(4);
  return static_cast<std::int32_t>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 |
                                   std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24);
}

float Reader::Float32() {
  return std::bit_cast<float>(Int32());
}

std::string Reader::Counted(std::size_t n, const char* what) {
  const std::size_t length = Byte();
  const auto chars = Take(n);
  if (length > n) {
    Fail("the length " + Num(static_cast<std::int64_t>(length)) + " of the " + what +
         " is more than " + Num(static_cast<std::int64_t>(n)));
    return {};
  }
  return Cp1252ToUtf8(std::string(chars.begin(), chars.begin() + length));
}

std::int32_t Reader::Ranged(std::int64_t v, const Range& r) {
  if (v < r.lo || v > r.hi)
    Fail("the " + std::string(r.what) + " " + Num(v) + " is outside " + Num(r.lo) + ".." +
         Num(r.hi));
  return static_cast<std::int32_t>(v);
}

std::string Shorter(std::size_t have, std::size_t expected) {
  return "the file is shorter than its layout (" + Num(static_cast<std::int64_t>(have)) +
         " bytes, " + Num(static_cast<std::int64_t>(expected)) + " expected)";
}

void PutProf(Writer& out, const ProfParamsRec& p) {
  out.Int32(p.NbPoints);
  out.Int32(p.Step);
  out.Flag(p.fftValid);
  out.Counted(p.UnitX, kUnitRoom);
  out.Counted(p.UnitY, kUnitRoom);
  out.Int32(p.FftStep);
  out.Byte(p.MaxCurves);
  for (bool f :
       {p.calibration, p.filtrage, p.invert, p.superposition, p.Averaged, p.realgris, p.Grid})
    out.Flag(f);
  out.Int32(p.FilterOrder);
  out.Int32(p.AvgCount);
  out.Counted(p.FileName, kNameRoom);
  out.Int32(p.Level);
  out.Flag(p.opto);
  out.Flag(p.int_);
  out.Flag(p.spectro);
}

void ReadProf(Reader& in, ProfParamsRec& p) {
  p.NbPoints = in.Int32();
  if (p.NbPoints != kPixels)
    in.Fail("the profile point count " + Num(p.NbPoints) + " is not " + Num(kPixels));
  p.Step = in.Ranged(in.Int32(), kProfStep);
  p.fftValid = in.Flag();
  p.UnitX = in.Counted(kUnitRoom, "X unit text");
  p.UnitY = in.Counted(kUnitRoom, "second unit text");
  p.FftStep = in.Ranged(in.Int32(), kProfFftStep);
  p.MaxCurves = static_cast<std::uint8_t>(in.Ranged(in.Byte(), kMaxCurves));
  for (bool* f : {&p.calibration, &p.filtrage, &p.invert, &p.superposition, &p.Averaged,
                  &p.realgris, &p.Grid})
    *f = in.Flag();
  p.FilterOrder = in.Ranged(in.Int32(), kFilterOrder);
  p.AvgCount = in.Ranged(in.Int32(), kAvgCount);
  p.FileName = in.Counted(kNameRoom, "file name");
  p.Level = in.Ranged(in.Int32(), kLevel);
  p.opto = in.Flag();
  p.int_ = in.Flag();
  p.spectro = in.Flag();
}

void PutOpto(Writer& out, const OptoParamsRec& o) {
  out.Flag(o.lutnor);
  out.Flag(o.lutln);
  out.Flag(o.lutexp);
  out.Int32(o.CoefLn);
  out.Int32(o.CoefExp);
  out.Flag(o.gauss);
  out.Flag(o.cumul);
}

void ReadOpto(Reader& in, OptoParamsRec& o) {
  o.lutnor = in.Flag();
  o.lutln = in.Flag();
  o.lutexp = in.Flag();
  o.CoefLn = in.Ranged(in.Int32(), kCoefLn);
  o.CoefExp = in.Ranged(in.Int32(), kCoefExp);
  o.gauss = in.Flag();
  o.cumul = in.Flag();
}

void PutSpectro(Writer& out, const SpectroParamsRec& s) {
  out.Flag(s.spColor);
  out.Flag(s.spColor2);
  for (const optics::CalPoint& p : s.CalPoints) {
    out.Int32(p.pixel);
    out.Float32(p.lambda);
  }
  out.Counted(s.RefFile, kRefFileRoom);
  out.Bytes(s.RefSpectrum);
  out.Flag(s.spCalY);
  out.Int32(s.Interpolation);
}

void ReadSpectro(Reader& in, bool shortForm, SpectroParamsRec& s) {
  s.spColor = in.Flag();
  s.spColor2 = in.Flag();
  const int count = shortForm ? kShortCalPoints : optics::kCalPointCount;
  for (int k = 0; k < count; ++k) {
    optics::CalPoint& p = s.CalPoints[static_cast<std::size_t>(k)];
    p.pixel = in.Int32();
    p.lambda = in.Float32();
    if (p.pixel >= kPixels && p.pixel != kUnusedPixel)
      in.Fail("the pixel " + Num(p.pixel) + " of calibration point " + Num(k + 1) +
              " is neither within 0.." + Num(kPixels - 1) + " nor an unused marker");
    if (!std::isfinite(p.lambda))
      in.Fail("the wavelength of calibration point " + Num(k + 1) + " is not a finite number");
  }
  s.RefFile = in.Counted(kRefFileRoom, "reference file name");
  const auto ref = in.Take(s.RefSpectrum.size());
  std::copy(ref.begin(), ref.end(), s.RefSpectrum.begin());
  s.spCalY = in.Flag();
  s.Interpolation = shortForm ? optics::kLinearKind : in.Ranged(in.Int32(), kInterpolation);
}

void PutMi(Writer& out, const MiParamsRec& m) {
  for (std::int32_t v : {m.NbPoints, m.Level, m.DurationCode, m.Duration, m.Step}) out.Int32(v);
  out.Flag(m.fftValid);
  out.Int32(m.FftSize);
  out.Int32(m.FftStep);
  out.Flag(m.calibration);
  out.Flag(m.filtrage);
  out.Flag(m.invert);
  out.Int32(m.FilterOrder);
  out.Counted(m.FileName, kNameRoom);
}

void ReadMi(Reader& in, bool withName, MiParamsRec& m) {
  m.NbPoints = in.Ranged(in.Int32(), kSeriesPoints);
  m.Level = in.Ranged(in.Int32(), kLevel);
  m.DurationCode = in.Int32();
  m.Duration = in.Int32();
  if (m.Duration < 1) in.Fail("the duration " + Num(m.Duration) + " s is not positive");
  // Duration div quantum - 1, the quantum being at least 1 s; -1 when the
  // duration is shorter than one quantum (old series).
  in.Ranged(m.DurationCode, {-1, std::max(m.Duration, 1) - 1, "duration code"});
  m.Step = in.Ranged(in.Int32(), kSeriesStep);
  m.fftValid = in.Flag();
  m.FftSize = in.Int32();
  if (m.FftSize < 1 || m.FftSize > kMaxCctPoints ||
      !std::has_single_bit(static_cast<std::uint32_t>(m.FftSize)))
    in.Fail("the FFT size " + Num(m.FftSize) + " is not a power of two from 1 to " +
            Num(kMaxCctPoints));
  m.FftStep = in.Ranged(in.Int32(), kSeriesFftStep);
  m.calibration = in.Flag();
  m.filtrage = in.Flag();
  m.invert = in.Flag();
  m.FilterOrder = in.Ranged(in.Int32(), kFilterOrder);
  if (withName) m.FileName = in.Counted(kNameRoom, "file name");
}

void PutNotes(Writer& out, const PrintNotesRec& n) {
  out.Counted(n.NomText, kNameRoom);
  out.Counted(n.ManipText, kNameRoom);
  out.Counted({}, kNameRoom);  // spare
  std::string remark = Utf8ToCp1252(n.RemarkText);
  // A full memo fills all its bytes (the reader stops at a NUL or the end).
  remark.resize(std::min(remark.size(), kRemarkSize));
  for (char c : remark) out.Byte(static_cast<std::uint8_t>(c));
  out.Zeros(kRemarkSize - remark.size());
}

void ReadNotes(Reader& in, PrintNotesRec& n) {
  n.NomText = in.Counted(kNameRoom, "name text");
  n.ManipText = in.Counted(kNameRoom, "experiment text");
  in.Counted(kNameRoom, "spare text");
  // Up to the NUL, or all 300 bytes when a writer filled them.
  const auto remark = in.Take(kRemarkSize);
  const auto end = std::find(remark.begin(), remark.end(), std::uint8_t{0});
  n.RemarkText = Cp1252ToUtf8(std::string(remark.begin(), end));
}

}  // namespace rovanel::app::files_detail
