// The program's two curve files: a profile (".CCD") with the settings of the
// profile modes, and a Michelson series (".CCT") with the Michelson settings.
// Both are images of the settings records followed by the samples, little-
// endian, strings in Windows-1252. The writers make the current layout
// (version 6); the readers take it and every older layout.
//
// Bytes only, plus two whole-file helpers; the window decides what to do
// with the records (dialogs, mode buttons, display).
#pragma once

#include "base/replace_file.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/settings.h"

namespace rovanel::app {

inline constexpr std::size_t kCcdSize = 5632;  // version 6
// Fixed part of a version-6 series file; the samples come on top.
inline constexpr std::size_t kCctFixedSize = 1411;
// Most samples a series file may hold: what the series stores keep.
inline constexpr std::int32_t kMaxCctPoints = 131072;
// The largest file of either kind, and so the most ReadWholeFile takes by default.
inline constexpr std::size_t kMaxCurveFileSize = kCctFixedSize + kMaxCctPoints;

// What a .CCD carries.
struct CcdData {
  ProfParamsRec prof;
  OptoParamsRec opto;
  SpectroParamsRec spectro;
  PrintNotesRec notes;
  std::array<std::uint8_t, 2048> curve{};  // the last curve, pixel 0 first
};

// What a .CCT carries.
struct CctData {
  MiParamsRec mi;
  // The samples: written are the first mi.NbPoints (zeros past the end of
  // raw); read are mi.NbPoints, or 8192 from the old fixed-size layouts.
  std::vector<std::uint8_t> raw;
  // The shown series the old fixed-size layouts keep beside the raw one
  // (8192 samples); empty after any other layout.
  std::optional<std::vector<std::uint8_t>> shownSerie;
  std::int32_t durRequested = 0;  // the duration last asked for, seconds
  PrintNotesRec notes;
  // The duration quantum (seconds) the old fixed-size layouts derive; empty
  // after any other layout.
  std::optional<std::int32_t> durStep;
};

// Version 6, every field as laid out, zeros past the length of each string;
// strings are cut to their room in Windows-1252 (the remark to 299 bytes
// and its NUL).
std::vector<std::uint8_t> EncodeCcd(const CcdData& data);
std::vector<std::uint8_t> EncodeCct(const CctData& data);

// What a successful load took from the file.
struct LoadReport {
  std::string layout;      // "version 6", ..., "2057-byte", "16623-byte"
  bool notes = false;      // the print notes came from the file
  bool curveOnly = false;  // only the curve did (the 2057-byte .CCD)
  // The spectrometry settings came from the file (.CCD versions 4 to 6): the
  // working copy of the calibration points should follow spectro.CalPoints.
  bool calPoints = false;
};

// Loads `file` over the current state in `into`, changing only what its
// layout carries, then clearing fftValid (and, for a .CCT, setting
// durRequested and the derived fields of the old layouts). All or nothing:
// on failure `into` and `report` are untouched and `error` is one sentence
// without the file's name. Every value is checked against what the program
// can produce before it is taken; a flag byte other than 0 reads as 1.
bool DecodeCcd(std::span<const std::uint8_t> file, CcdData& into, LoadReport& report,
               std::string& error);
bool DecodeCct(std::span<const std::uint8_t> file, CctData& into, LoadReport& report,
               std::string& error);

// All bytes of a file, refusing folders and files over maxBytes; on failure
// `bytes` is untouched and `error` gives the reason.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error,
                   std::size_t maxBytes = kMaxCurveFileSize);

using rovanel::WriteFileReplacing;

}  // namespace rovanel::app
