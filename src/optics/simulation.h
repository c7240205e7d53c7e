// The computed profiles of the interference mode: one slit, two slits, a
// grating of N slits, or a Gaussian beam, on the 2048 pixels of the sensor,
// laid beside the measured profile for comparison.
#pragma once

#include <array>
#include <cstdint>

#include "base/sizes.h"

namespace rovanel::optics {

// Parameters of the models, SI units. Kept for the whole run.
struct SimulationParams {
  double SlitWidth = 1e-4;       // a, m (entered in µm)
  double SlitSpacing = 6e-4;     // d, m (entered in mm)
  double ScreenDistance = 0.2;   // L, m (entered in cm)
  double Wavelength = 6.328e-7;  // λ, m (entered in nm)
  double SlitCount = 10.0;       // N, a real number
  double Waist = 1e-3;           // w, m (entered in mm)
};

// The model in force is the page of the parameter notebook.
inline constexpr int kPageOneSlit = 0;
inline constexpr int kPageTwoSlits = 1;
inline constexpr int kPageGrating = 2;
inline constexpr int kPageGaussian = 3;
inline constexpr int kStartPage = kPageGaussian;

// Sensor geometry of the computation: optical axis at pixel 1024.
inline constexpr double kSimPitch = 1.4e-5;  // m
inline constexpr int kSimAxisPixel = 1024;

// Height scroll bar: the level scale is g = (Max - Position) / Max + 0.5.
inline constexpr int kIntensBarMin = 1;
inline constexpr int kIntensBarMax = 255;
inline constexpr int kIntensBarStart = 255;  // g = 0.5
// Shift scroll bar, in pixels; the computation takes Shift = -Position.
inline constexpr int kShiftBarMin = -2048;
inline constexpr int kShiftBarMax = 2048;
// Waist scroll bar, in steps of 10 µm.
inline constexpr int kWaistBarMin = 1;
inline constexpr int kWaistBarMax = 1000;
inline constexpr double kWaistStep = 1e-5;  // m

// sin(u)/u; 1 at u = 0 and 0 for an infinite u (its limits).
double Sinc(double u);

// sin(N u) / (N sin u): 1 at sin u = 0. Near sin u = 0 with sin(N u) also
// near 0 (a principal maximum of a whole N) it gives the limit
// cos(N u) / cos u, which the direct quotient loses to rounding. N = 0 (no
// slits) gives 0 instead of 0/0.
double GratingFactor(double u, double n);

// Relative intensity 0..1 at x (m, from the axis) on a screen at L behind
// the aperture, for pages 0..2 (any other page: 0). λ = 0 gives 1. A value
// the formula leaves above 1 (a grating of a fractional N near sin β = 0) is
// clamped to 1, one it leaves undefined (NaN) reads 0.
double SlitIntensity(int page, double a, double lambda, double l, double x, double d,
                     double n);

// exp(-(x/w')²); 0 when w' <= 1e-6 m or (x/w')² > 1e6. Callers pass
// w' = w / √2 for the profile exp(-2 x²/w²).
double GaussIntensity(double wPrime, double x);

// Level scale of the height scroll bar at this position (clamped to 1..255):
// 0.5 at the bottom (255), about 1.496 at the top (1).
double IntensityScale(int intensPosition);

// The computed profile: for pixel i, x = (i - 1024 + shift) × 14 µm, the
// model of `page` (Gaussian with w/√2 on page 3), times IntensityScale,
// times 255, rounded half to even and capped at 255. The caller passes
// shift = -(shift bar position), which centres the pattern at pixel
// 1024 + position.
std::array<std::uint8_t, kPixels> ComputeSimulation(const SimulationParams& p, int page,
                                                    int shift, int intensPosition);

// The waist of a waist-bar position (m, the position clamped to 1..1000), and the position showing a waist:
// Round(w / 10 µm) clamped to 1..1000.
double WaistOfBar(int position);
int BarOfWaist(double w);
// A waist typed in mm, held as a whole number of 10 µm: Round(mm / 0.01) × 1e-5.
double WaistOfMm(double mm);

}  // namespace rovanel::optics
