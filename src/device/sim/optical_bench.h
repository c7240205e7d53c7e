// The simulated optical bench in front of the simulated box's sensor: what
// light reaches the 2048 pixels for a frame, or the centre of the sensor
// during a time series. Deterministic for a given seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/sizes.h"
#include "device/sim/grating.h"

namespace rovanel::device::sim {

enum class Scene { Slit, TwoSlits, Lamp, Michelson, Dark };

// Scene names as typed by the user: "slit", "slits", "lamp", "michelson", "dark".
std::optional<Scene> SceneFromName(std::string_view name);
std::string_view SceneName(Scene s);
std::vector<std::string_view> SceneNames();

// One spectral line of the lamp scene.
struct LampLine {
  double wavelengthNm;
  double height;  // relative to the strongest line (1.0)
};

class OpticalBench {
 public:
  static constexpr int kPixels = rovanel::kPixels;
  static constexpr double kPixelPitchUm = 14.0;
  // Integration time at which a full-scale light gives PeakLevel above the dark level.
  static constexpr double kReferenceMs = 10.0;

  explicit OpticalBench(Scene scene = Scene::Slit, std::uint64_t seed = 1);

  void SetScene(Scene s) { scene_ = s; }
  Scene GetScene() const { return scene_; }
  // Restarts the noise sequence and the bench time.
  void Reseed(std::uint64_t seed);

  // Light levels 0..255 (brighter = larger) of one frame taken with this
  // integration time. Advances the bench time by the integration time.
  void Frame(double integrationMs, std::uint8_t* out2048);
  // n samples of a time series, one per integration period, at the
  // sensor's centre. Advances the bench time by n integration periods.
  void Series(double integrationMs, std::size_t n, std::uint8_t* out);
  // n readings of light-shielded pixels: the dark level with its noise.
  void Dark(double integrationMs, std::size_t n, std::uint8_t* out);

  // Noise-free relative light (0..1, full scale 1) of the current scene at
  // pixel position x (pixels, may be fractional) and bench time tS.
  double Light(double x, double tS) const;
  // Bench time in seconds: sum of the integration periods taken so far.
  double TimeS() const { return timeS_; }

  // Centre of the sensor in pixel coordinates (between pixels 1023 and 1024).
  static constexpr double kCentre = (kPixels - 1) / 2.0;

  // Tunables. Levels are 0..255 units.
  double NoiseSigma = 2.5;   // Gaussian read noise, independent per pixel and frame
  double DarkLevel = 10.0;   // level with no light, whatever the integration time
  double PeakLevel = 190.0;  // full-scale light above the dark level at kReferenceMs

  // Geometry of the diffraction scenes (a helium-neon laser by default).
  double WavelengthNm = 632.8;
  double ScreenDistanceMm = 1000.0;  // aperture to sensor
  double SlitWidthMm = 0.2;          // width a of each slit
  double SlitSpacingMm = 0.6;        // centre distance d of the two slits

  // Lamp: a mercury lamp seen through a grating spectrometer; each line
  // lands where the grating equation puts it (lines off the sensor's order
  // are left out). Wavelengths in air. A compact spectrometer: 1200
  // lines/mm and a 60 mm camera lens put 392 to 682 nm on the sensor, bent
  // enough that a spline through the references beats straight segments.
  GratingGeometry LampGrating{1200.0, 0.0, 60.0, 41.5, 1};
  double LampLineSigmaPx = 3.0;
  std::vector<LampLine> LampLines = {{404.656, 0.45}, {435.833, 1.0}, {491.607, 0.12},
                                     {546.074, 0.85}, {576.960, 0.5}, {579.066, 0.45}};

  // Michelson: fringes crossing the centre, with a slow drift of the fringe
  // rate and of the contrast.
  double FringeRateHz = 3.0;
  double FringeContrast = 0.8;
  double DriftPeriodS = 40.0;
  double RateDrift = 0.15;      // relative swing of the fringe rate
  double BaselineDrift = 0.05;  // swing of the mean light, full scale 1
  double RingRadiusPx = 400.0;  // first ring radius of the frame pattern

 private:
  // Level units per unit of light at this integration time.
  double Gain(double integrationMs) const;
  std::uint8_t Level(double light, double gain);
  double Gauss();
  std::uint64_t Next();
  double MichelsonPhase(double tS) const;
  // The light of the scenes that do not change with time, computed once
  // for the scene and tunables it was computed with.
  const std::vector<double>& StillProfile();

  Scene scene_;
  std::uint64_t state_ = 0;
  double timeS_ = 0.0;
  bool haveSpare_ = false;
  double spare_ = 0.0;
  std::vector<double> still_;
  std::vector<double> stillKey_;
};

}  // namespace rovanel::device::sim
