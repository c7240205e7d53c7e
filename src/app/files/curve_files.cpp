#include "app/files/curve_files.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <string_view>

#include "app/files/curve_file_fields.h"
#include "base/read_file.h"
#include "base/sizes.h"

namespace rovanel::app {
namespace {

using files_detail::Reader;
using files_detail::Writer;

constexpr std::size_t kSignatureSize = 50, kHeaderSize = kSignatureSize + 1;
constexpr std::size_t kProfSize = 304, kOptoSize = 13, kSpectroSize = 2148;
constexpr std::size_t kShortSpectroSize = 2120, kNotesSize = 1068;
constexpr std::size_t kMiSize = 292, kMiShortSize = 36;
constexpr std::size_t kCurveSize = kPixels;
// The curve-only and the flags-and-integers profiles of earlier releases.
constexpr std::size_t kCcdCurveOnlySize = 2057, kCcdFlagsSize = 2269;
constexpr std::size_t kOldCurveBlock = 2049, kOldFlags = 20, kOldInts = 200;
// The two-array series of earlier releases.
constexpr std::size_t kCctTwoArraysSize = 16403, kCctFlagsSize = 16623;
constexpr std::size_t kOldArray = 8193, kOldSamples = 8192;
constexpr std::int32_t kOldMinPoints = 512, kOldMaxPoints = 8192;

static_assert(kHeaderSize + kProfSize + kOptoSize + kSpectroSize + kCurveSize + kNotesSize ==
              kCcdSize);
static_assert(kHeaderSize + kMiSize + kNotesSize == kCctFixedSize);

void PutSignature(Writer& out) {
  constexpr std::string_view kName = "ROVANEL";
  for (char c : kName) out.Byte(static_cast<std::uint8_t>(c));
  out.Zeros(kSignatureSize - kName.size());
  out.Byte(6);
}

std::string Num(std::int64_t v) {
  return std::to_string(v);
}

// An old text field as the earlier releases converted it: blanks before the
// digits allowed, nothing after them, no sign.
bool ParseDecimal(std::string_view text, std::int32_t& value) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9' || v > 100000000) return false;
    v = v * 10 + (text[i] - '0');
  }
  value = static_cast<std::int32_t>(v);
  return true;
}

// round(points * (10 + 2.5 level) / 1000), halves to even, in integers:
// points * (4 + level) / 400.
std::int32_t DurationQuantum(std::int32_t points, std::int32_t level) {
  const std::int64_t num = std::int64_t{points} * (4 + level);
  std::int64_t q = num / 400;
  const std::int64_t rest = num % 400;
  if (rest > 200 || (rest == 200 && q % 2 != 0)) ++q;
  return static_cast<std::int32_t>(q);
}

// The flags and 16-bit integers of the 2269-byte profile.
void ReadFlagsBlocks(Reader& in, CcdData& d) {
  const auto f = in.Take(kOldFlags);
  const auto ints = in.Take(kOldInts);
  const auto i16 = [&](std::size_t at) {
    return static_cast<std::int16_t>(ints[at] | (ints[at + 1] << 8));
  };
  ProfParamsRec& p = d.prof;
  p.opto = f[0] != 0;
  p.calibration = f[1] != 0;
  p.invert = f[2] != 0;
  p.filtrage = f[3] != 0;
  if (f[6] != 0) p.UnitY = "ln";
  p.Averaged = f[7] != 0;
  p.realgris = f[13] != 0 || f[16] != 0;
  p.int_ = f[15] != 0;
  p.spectro = false;
  p.FilterOrder = in.Ranged(i16(0), files_detail::kFilterOrder);
  p.AvgCount = in.Ranged(i16(2), files_detail::kAvgCount);
  p.Level = in.Ranged(i16(20) / 4, files_detail::kLevel);
  if (f[0] != 0) {
    OptoParamsRec& o = d.opto;
    o.lutln = f[4] != 0;
    o.lutexp = f[5] != 0;
    o.gauss = f[11] != 0;
    o.cumul = f[12] != 0;
    o.CoefLn = in.Ranged(i16(16), files_detail::kCoefLn);
    o.CoefExp = in.Ranged(i16(18), files_detail::kCoefExp);
  }
}

// The two-array series: mapping, then the fields the newer layouts store.
void ReadTwoArrays(Reader& in, bool withFlags, CctData& d) {
  const auto first = in.Take(kOldArray);
  const auto second = in.Take(kOldArray);
  const auto level = in.Take(2);
  const std::string count = in.Counted(4, "point-count text");
  const std::string duration = in.Counted(6, "duration text");
  in.Take(3);
  MiParamsRec& mi = d.mi;
  if (withFlags) {
    const auto f = in.Take(kOldFlags);
    const auto ints = in.Take(kOldInts);
    mi.calibration = f[0] != 0;
    mi.invert = f[1] != 0;
    mi.filtrage = f[2] != 0;
    mi.FilterOrder =
        in.Ranged(static_cast<std::int16_t>(ints[0] | (ints[1] << 8)), files_detail::kFilterOrder);
  }
  d.raw.assign(first.begin(), first.begin() + kOldSamples);
  const auto shown = withFlags ? first : second;
  d.shownSerie.emplace(shown.begin(), shown.begin() + kOldSamples);
  mi.Level =
      in.Ranged(static_cast<std::int16_t>(level[0] | (level[1] << 8)) / 4, files_detail::kLevel);

  std::int32_t points = 0, minutes = 0, seconds = 0;
  if (!ParseDecimal(count, points)) in.Fail("the point count \"" + count + "\" is not a number");
  const std::string_view dur(duration);
  if (!ParseDecimal(dur.substr(0, 2), minutes) ||
      !ParseDecimal(dur.size() > 3 ? dur.substr(3, 2) : std::string_view(), seconds))
    in.Fail("the duration text \"" + duration + "\" does not hold minutes and seconds as numbers");
  if (in.Failed()) return;
  mi.NbPoints = in.Ranged(points, {1, kOldMaxPoints, "point count"});
  mi.Duration = minutes * 60 + seconds;
  if (mi.Duration < 1) in.Fail("the duration " + Num(mi.Duration) + " s is not positive");
  d.durRequested = mi.Duration;
  if (in.Failed()) return;

  mi.fftValid = false;
  mi.FftSize = mi.NbPoints;
  mi.FftStep = mi.NbPoints / 1024;
  mi.Step = mi.NbPoints / 512;
  const std::int32_t step = DurationQuantum(mi.NbPoints, mi.Level);
  if (step == 0) return in.Fail("the duration quantum works out to 0");
  d.durStep = step;
  mi.DurationCode = mi.Duration / step - 1;
  // The sizes derived from the count must be ones the newer layouts accept.
  if (!std::has_single_bit(static_cast<std::uint32_t>(mi.NbPoints)) || mi.NbPoints < kOldMinPoints)
    in.Fail("the point count " + Num(mi.NbPoints) + " is not a power of two from " +
            Num(kOldMinPoints) + " to " + Num(kOldMaxPoints));
}

bool Finish(const Reader& in, std::string& error) {
  if (!in.Failed()) return true;
  error = in.Error();
  return false;
}

}  // namespace

std::vector<std::uint8_t> EncodeCcd(const CcdData& data) {
  Writer out(kCcdSize);
  PutSignature(out);
  files_detail::PutProf(out, data.prof);
  files_detail::PutOpto(out, data.opto);
  files_detail::PutSpectro(out, data.spectro);
  out.Bytes(data.curve);
  files_detail::PutNotes(out, data.notes);
  return out.Done();
}

std::vector<std::uint8_t> EncodeCct(const CctData& data) {
  const std::size_t n = static_cast<std::size_t>(std::max(data.mi.NbPoints, 0));
  Writer out(kCctFixedSize + n);
  PutSignature(out);
  files_detail::PutMi(out, data.mi);
  const std::size_t have = std::min(n, data.raw.size());
  out.Bytes(std::span(data.raw).first(have));
  out.Zeros(n - have);
  files_detail::PutNotes(out, data.notes);
  return out.Done();
}

bool DecodeCcd(std::span<const std::uint8_t> file, CcdData& into, LoadReport& report,
               std::string& error) {
  CcdData d = into;
  LoadReport r;
  Reader in(file);
  if (file.size() == kCcdCurveOnlySize || file.size() == kCcdFlagsSize) {
    const auto curve = in.Take(kOldCurveBlock);
    std::copy_n(curve.begin(), kCurveSize, d.curve.begin());
    if (file.size() == kCcdFlagsSize) {
      ReadFlagsBlocks(in, d);
      r.layout = "2269-byte";
    } else {
      r.layout = "2057-byte";
      r.curveOnly = true;
    }
  } else {
    const int version = file.size() > kSignatureSize ? file[kSignatureSize] : -1;
    std::size_t size = kHeaderSize + kProfSize + kOptoSize + kCurveSize;
    size += version == 4 ? kShortSpectroSize : kSpectroSize;
    if (version == 6) size += kNotesSize;
    if (file.size() < kHeaderSize || (version >= 4 && version <= 6 && file.size() < size)) {
      error = files_detail::Shorter(file.size(), file.size() < kHeaderSize ? kHeaderSize : size);
      return false;
    }
    if (version < 4 || version > 6) {
      error = "the version byte " + Num(version) + " is not one of 4, 5 and 6 of a profile file";
      return false;
    }
    in.Take(kHeaderSize);
    files_detail::ReadProf(in, d.prof);
    files_detail::ReadOpto(in, d.opto);
    files_detail::ReadSpectro(in, version == 4, d.spectro);
    const auto curve = in.Take(kCurveSize);
    std::copy(curve.begin(), curve.end(), d.curve.begin());
    if (version == 6) files_detail::ReadNotes(in, d.notes);
    r.layout = "version " + Num(version);
    r.notes = version == 6;
    r.calPoints = true;
  }
  d.prof.fftValid = false;
  if (!Finish(in, error)) return false;
  into = std::move(d);
  report = std::move(r);
  return true;
}

bool DecodeCct(std::span<const std::uint8_t> file, CctData& into, LoadReport& report,
               std::string& error) {
  CctData d = into;
  LoadReport r;
  Reader in(file);
  if (file.size() == kCctTwoArraysSize || file.size() == kCctFlagsSize) {
    const bool withFlags = file.size() == kCctFlagsSize;
    ReadTwoArrays(in, withFlags, d);
    r.layout = withFlags ? "16623-byte" : "16403-byte";
  } else {
    const int version = file.size() > kSignatureSize ? file[kSignatureSize] : -1;
    const std::size_t header = kHeaderSize + (version == 3 ? kMiShortSize : kMiSize);
    if (file.size() < kHeaderSize || (version >= 3 && version <= 6 && file.size() < header)) {
      error = files_detail::Shorter(file.size(), file.size() < kHeaderSize ? kHeaderSize : header);
      return false;
    }
    if (version < 3 || version > 6) {
      error = "the version byte " + Num(version) + " is not one of 3, 4, 5 and 6 of a series file";
      return false;
    }
    in.Take(kHeaderSize);
    files_detail::ReadMi(in, version > 3, d.mi);
    if (version == 3) d.mi.FileName.clear();
    if (in.Failed()) return Finish(in, error);
    const std::size_t n = static_cast<std::size_t>(d.mi.NbPoints);
    const std::size_t size = header + n + (version == 6 ? kNotesSize : 0);
    if (file.size() < size) {
      error = files_detail::Shorter(file.size(), size);
      return false;
    }
    const auto samples = in.Take(n);
    d.raw.assign(samples.begin(), samples.end());
    if (version == 6) files_detail::ReadNotes(in, d.notes);
    d.shownSerie.reset();
    d.durStep.reset();
    d.durRequested = d.mi.Duration;
    r.layout = "version " + Num(version);
    r.notes = version == 6;
  }
  d.mi.fftValid = false;
  if (!Finish(in, error)) return false;
  into = std::move(d);
  report = std::move(r);
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error,
                   std::size_t maxBytes) {
  const ReadOutcome got = ReadRegularFile(path, maxBytes, bytes);
  if (got) return true;
  if (got.fault == ReadFault::TooLarge)
    error = "the file is larger than a curve file can be (" +
            Num(static_cast<std::int64_t>(got.size)) + " bytes, at most " +
            Num(static_cast<std::int64_t>(maxBytes)) + ")";
  else
    error = got.why;
  return false;
}

}  // namespace rovanel::app
