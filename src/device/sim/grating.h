// The simulated spectrometer's optics: a plane grating lit by a collimated
// beam, a camera lens of focal length f, and the 2048-pixel sensor in its
// focal plane, centred on the lens axis, which looks along a chosen
// diffraction angle. Maps wavelengths to (fractional) pixels and back.
//
// Grating equation in order m: m λ = d (sin α + sin β), d = 1 mm / lines.
// A ray at β lands at f tan(β - β0) from the sensor's centre, between
// pixels 1023 and 1024; pixels grow with the wavelength (positive m and f).
#pragma once

namespace rovanel::device::sim {

struct GratingGeometry {
  double linesPerMm = 600.0;
  double incidenceDeg = 0.0;  // α
  double focalMm = 150.0;     // f of the camera lens
  double axisDeg = 19.36;     // β0, the diffraction angle on the lens axis
  int order = 1;              // m
  // The defaults put 400.5 nm on pixel 0 and 699.5 nm on pixel 2047.
};

class Grating {
 public:
  static constexpr int kPixels = 2048;
  static constexpr double kPitchMm = 0.014;
  static constexpr double kCentre = (kPixels - 1) / 2.0;

  explicit Grating(const GratingGeometry& g = {});

  // The pixel a wavelength reaches; NaN when the order does not exist
  // (|sin β| > 1) or the ray points away from the sensor plane.
  double PixelOfWavelength(double nm) const;
  // The wavelength reaching a pixel; the exact inverse of PixelOfWavelength.
  double WavelengthOfPixel(double pixel) const;

  const GratingGeometry& Geometry() const { return g_; }

 private:
  GratingGeometry g_;
  double spacingNm_;  // d
  double sinIncidence_;
  double axisRad_;
};

}  // namespace rovanel::device::sim
