// Settings records of the modes: their fields and start values. The file
// layout of these records belongs to the curve files.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "optics/wavelength_table.h"

namespace rovanel::app {

struct ProfParamsRec {
  std::int32_t NbPoints = 2048;
  std::int32_t Step = 4;
  bool fftValid = false;
  std::string UnitX = "µm";
  std::string UnitY;
  std::int32_t FftStep = 2;
  std::uint8_t MaxCurves = 3;
  bool calibration = false;
  bool filtrage = true;
  bool invert = false;
  bool superposition = false;
  bool Averaged = false;
  bool realgris = true;
  bool Grid = false;
  std::int32_t FilterOrder = 8;
  std::int32_t AvgCount = 4;
  std::string FileName;
  std::int32_t Level = 0;
  bool opto = false;
  bool int_ = false;
  bool spectro = false;
};

struct MiParamsRec {
  std::int32_t NbPoints = 8192;
  std::int32_t Level = 0;
  std::int32_t DurationCode = 0;
  std::int32_t Duration = 6;
  std::int32_t Step = 4;
  bool fftValid = false;
  std::int32_t FftSize = 8192;
  std::int32_t FftStep = 4;
  bool calibration = false;
  bool filtrage = false;
  bool invert = false;
  std::int32_t FilterOrder = 8;
  std::string FileName;
};

// The analysis mode's saved buttons and LUT coefficients.
struct OptoParamsRec {
  bool lutnor = true;
  bool lutln = false;
  bool lutexp = false;
  std::int32_t CoefLn = 2;
  std::int32_t CoefExp = 2;
  bool gauss = false;
  bool cumul = false;
};

// The spectrometry mode's saved buttons and reference spectrum (the
// calibration points come with the spectrometer calibration).
struct SpectroParamsRec {
  bool spColor = false;
  bool spColor2 = false;
  std::string RefFile;
  std::array<std::uint8_t, 2048> RefSpectrum = [] {
    std::array<std::uint8_t, 2048> a{};
    a.fill(255);
    return a;
  }();
  bool spCalY = false;
  std::int32_t Interpolation = 0;
  // The reference lines: pixel and wavelength.
  optics::CalPoints CalPoints = optics::DefaultCalPoints();
};

// The print dialog's annotations, kept in the curve files.
struct PrintNotesRec {
  std::string NomText;     // at most 50 characters typed
  std::string ManipText;   // at most 50 characters typed
  std::string RemarkText;  // at most 300 characters
};

// The live view's settings: 512 points, one sample per column.
struct RtParamsRec {
  std::int32_t NbPoints = 512;
  std::int32_t Step = 1;
};

}  // namespace rovanel::app
