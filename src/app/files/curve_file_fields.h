// The settings records as the curve files lay them out, field by field, and
// the ranges a reader accepts. Used by curve_files.cpp only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/settings.h"
#include "signal/lut.h"

namespace rovanel::app::files_detail {

// Bytes in file order: little-endian integers, Windows-1252 strings.
class Writer {
 public:
  explicit Writer(std::size_t expected) { out_.reserve(expected); }
  void Byte(std::uint8_t b) { out_.push_back(b); }
  void Flag(bool f) { Byte(f ? 1 : 0); }
  void Int32(std::int32_t v);
  void Float32(float v);
  void Bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void Zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
  // A length byte and n bytes: the text cut to n, then zeros.
  void Counted(const std::string& utf8, std::size_t n);
  std::vector<std::uint8_t> Done() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

// An accepted interval and the field's name in messages.
struct Range {
  std::int64_t lo, hi;
  const char* what;
};
inline constexpr Range kLevel{0, 15, "level"};
// 0 is no smoothing pass: files of earlier releases hold it.
inline constexpr Range kFilterOrder{0, 99, "filter order"};
inline constexpr Range kAvgCount{1, 49, "averaging count"};
inline constexpr Range kCoefLn{signal::kLutLnCoefMin, signal::kLutLnCoefMax,
                               "logarithmic LUT coefficient"};
inline constexpr Range kCoefExp{signal::kLutExpCoefMin, signal::kLutExpCoefMax,
                                "exponential LUT coefficient"};

// Reads from a byte image; the first problem met is kept as the error and
// later reads go on harmlessly (past the end they give zeros), so that a
// decoder runs straight through and looks at Failed() once.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> file) : file_(file) {}
  std::span<const std::uint8_t> Take(std::size_t n);
  std::uint8_t Byte() { return Take(1)[0]; }
  bool Flag() { return Byte() != 0; }  // any non-zero byte is a pressed button
  std::int32_t Int32();
  float Float32();
  // A CountedString[n], as UTF-8; a length over n is an error.
  std::string Counted(std::size_t n, const char* what);
  // v, noting an error when it lies outside r.
  std::int32_t Ranged(std::int64_t v, const Range& r);
  void Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
  }
  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

 private:
  std::span<const std::uint8_t> file_;
  std::size_t at_ = 0;  // never past the end
  std::string error_;
  std::vector<std::uint8_t> scratch_;  // zeros for a read past the end
};

std::string Shorter(std::size_t have, std::size_t expected);

void PutProf(Writer& out, const ProfParamsRec& p);
void PutOpto(Writer& out, const OptoParamsRec& o);
void PutSpectro(Writer& out, const SpectroParamsRec& s);
void PutMi(Writer& out, const MiParamsRec& m);
void PutNotes(Writer& out, const PrintNotesRec& n);

// Each reads its record's fields in file order over `rec`, checking them.
void ReadProf(Reader& in, ProfParamsRec& p);
void ReadOpto(Reader& in, OptoParamsRec& o);
// The short form (version 4) has six calibration points, the others keeping
// their values, and no interpolation kind, which becomes linear.
void ReadSpectro(Reader& in, bool shortForm, SpectroParamsRec& s);
void ReadMi(Reader& in, bool withName, MiParamsRec& m);
void ReadNotes(Reader& in, PrintNotesRec& n);

}  // namespace rovanel::app::files_detail
