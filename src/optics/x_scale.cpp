#include "optics/x_scale.h"

namespace rovanel::optics {

double XOfSample(std::string_view unit, std::int64_t i, const XScale& scale) {
  const double x = static_cast<double>(i);
  const double k1 = scale.durationCode + 1.0;
  if (unit == "µm") return 14 * x;
  if (unit == "mm") return 0.014 * x;
  if (unit == "s") return x * k1 * scale.integrationMs / 1000;
  if (unit == "Hz") {
    const double span = static_cast<double>(scale.points) * scale.integrationMs * k1;
    return span > 0 ? x * 1000 / span : 0.0;
  }
  if (unit == "/m") return x * kPerMetrePerBin;
  if (unit == "nm")
    return i >= 0 && static_cast<std::size_t>(i) < scale.lambda.size() ? scale.lambda[i] : 0.0;
  return x;  // "pix" and anything else
}

}  // namespace rovanel::optics
