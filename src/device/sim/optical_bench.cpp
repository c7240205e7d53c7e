#include "device/sim/optical_bench.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace rovanel::device::sim {
namespace {

struct NamedScene {
  std::string_view name;
  Scene scene;
};

constexpr std::array<NamedScene, 5> kScenes = {{{"slit", Scene::Slit},
                                                {"slits", Scene::TwoSlits},
                                                {"lamp", Scene::Lamp},
                                                {"michelson", Scene::Michelson},
                                                {"dark", Scene::Dark}}};

constexpr double kPi = std::numbers::pi;

double Sinc2(double u) {
  if (std::abs(u) < 1e-12) return 1.0;
  const double s = std::sin(kPi * u) / (kPi * u);
  return s * s;
}

}  // namespace

std::optional<Scene> SceneFromName(std::string_view name) {
  for (const auto& s : kScenes) {
    if (s.name == name) return s.scene;
  }
  return std::nullopt;
}

std::string_view SceneName(Scene scene) {
  for (const auto& s : kScenes) {
    if (s.scene == scene) return s.name;
  }
  return {};
}

std::vector<std::string_view> SceneNames() {
  std::vector<std::string_view> names;
  for (const auto& s : kScenes) names.push_back(s.name);
  return names;
}

OpticalBench::OpticalBench(Scene scene, std::uint64_t seed) : scene_(scene) {
  Reseed(seed);
}

void OpticalBench::Reseed(std::uint64_t seed) {
  state_ = seed;
  timeS_ = 0.0;
  haveSpare_ = false;
}

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not), so a seed gives the same frames everywhere.
std::uint64_t OpticalBench::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Standard normal deviates in pairs by Marsaglia's polar method (no sine
// or cosine: a live frame draws 2048 of them).
double OpticalBench::Gauss() {
  if (haveSpare_) {
    haveSpare_ = false;
    return spare_;
  }
  double u = 0, v = 0, s = 0;
  do {
    u = static_cast<double>(Next() >> 11) * 0x1.0p-52 - 1.0;
    v = static_cast<double>(Next() >> 11) * 0x1.0p-52 - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  const double m = std::sqrt(-2.0 * std::log(s) / s);
  spare_ = v * m;
  haveSpare_ = true;
  return u * m;
}

double OpticalBench::Gain(double integrationMs) const {
  return PeakLevel * std::max(integrationMs, 0.0) / kReferenceMs;
}

std::uint8_t OpticalBench::Level(double light, double gain) {
  double v = DarkLevel + gain * light;
  if (NoiseSigma > 0.0) v += NoiseSigma * Gauss();
  v = std::nearbyint(v);
  return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

// Phase of the Michelson fringes at the centre: the fringe rate swings
// slowly around FringeRateHz, integrated in closed form.
double OpticalBench::MichelsonPhase(double tS) const {
  const double w = 2.0 * kPi / DriftPeriodS;
  return 2.0 * kPi * FringeRateHz * (tS + RateDrift * (1.0 - std::cos(w * tS)) / w);
}

double OpticalBench::Light(double x, double tS) const {
  const double dx = x - kCentre;
  switch (scene_) {
    case Scene::Slit:
    case Scene::TwoSlits: {
      // Fraunhofer pattern: u = a x / (lambda L), all lengths in metres.
      const double xm = dx * kPixelPitchUm * 1e-6;
      const double lambdaL = WavelengthNm * 1e-9 * ScreenDistanceMm * 1e-3;
      const double envelope = Sinc2(SlitWidthMm * 1e-3 * xm / lambdaL);
      if (scene_ == Scene::Slit) return envelope;
      const double c = std::cos(kPi * SlitSpacingMm * 1e-3 * xm / lambdaL);
      return envelope * c * c;
    }
    case Scene::Lamp: {
      double sum = 0.0;
      const Grating grating(LampGrating);
      for (const auto& line : LampLines) {
        const double px = grating.PixelOfWavelength(line.wavelengthNm);
        if (std::isnan(px)) continue;
        const double z = (x - px) / LampLineSigmaPx;
        sum += line.height * std::exp(-0.5 * z * z);
      }
      return std::min(sum, 1.0);
    }
    case Scene::Michelson: {
      // Circular fringes: the path difference grows with the square of the
      // distance to the centre; the whole pattern moves with the phase.
      const double w = 2.0 * kPi / DriftPeriodS;
      const double r = dx / RingRadiusPx;
      const double beam = std::exp(-0.5 * (dx / 900.0) * (dx / 900.0));
      const double mean = 0.5 + BaselineDrift * std::sin(0.37 * w * tS);
      const double fringe = 0.5 * FringeContrast * std::cos(2.0 * kPi * r * r + MichelsonPhase(tS));
      return beam * (mean + fringe);
    }
    case Scene::Dark:
      return 0.0;
  }
  return 0.0;
}

const std::vector<double>& OpticalBench::StillProfile() {
  const GratingGeometry& g = LampGrating;
  std::vector<double> key = {static_cast<double>(scene_),
                             WavelengthNm,
                             ScreenDistanceMm,
                             SlitWidthMm,
                             SlitSpacingMm,
                             g.linesPerMm,
                             g.incidenceDeg,
                             g.focalMm,
                             g.axisDeg,
                             static_cast<double>(g.order),
                             LampLineSigmaPx};
  for (const LampLine& line : LampLines) key.insert(key.end(), {line.wavelengthNm, line.height});
  if (key != stillKey_ || still_.size() != kPixels) {
    still_.resize(kPixels);
    for (int i = 0; i < kPixels; ++i) still_[i] = Light(i, 0.0);
    stillKey_ = std::move(key);
  }
  return still_;
}

void OpticalBench::Frame(double integrationMs, std::uint8_t* out2048) {
  const double gain = Gain(integrationMs);
  if (scene_ == Scene::Michelson) {
    for (int i = 0; i < kPixels; ++i) out2048[i] = Level(Light(i, timeS_), gain);
  } else {
    const std::vector<double>& light = StillProfile();
    for (int i = 0; i < kPixels; ++i) out2048[i] = Level(light[i], gain);
  }
  timeS_ += integrationMs * 1e-3;
}

void OpticalBench::Series(double integrationMs, std::size_t n, std::uint8_t* out) {
  const double periodS = integrationMs * 1e-3;
  const double gain = Gain(integrationMs);
  for (std::size_t k = 0; k < n; ++k) {
    out[k] = Level(Light(kCentre, timeS_), gain);
    timeS_ += periodS;
  }
}

void OpticalBench::Dark(double integrationMs, std::size_t n, std::uint8_t* out) {
  const double gain = Gain(integrationMs);
  for (std::size_t k = 0; k < n; ++k) out[k] = Level(0.0, gain);
}

}  // namespace rovanel::device::sim
