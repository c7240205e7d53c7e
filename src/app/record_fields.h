// The settings records as name=value pairs, named as in the curve files'
// layouts: what dump:ProfParams and the like print.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rovanel::app {

class TFp;

using RecordLines = std::vector<std::pair<std::string, std::string>>;

// ProfParams, OptoParams, SpectroParams, MiParams or PrintNotes; nullopt for
// any other name. Flags read 0 or 1, CalPoints[k] "pixel,wavelength", the
// reference spectrum its 2048 levels separated by spaces.
std::optional<RecordLines> RecordFields(const TFp& fp, std::string_view record);

// A number as the dumps write it: "C" notation, all digits kept.
std::string Real(double v);

}  // namespace rovanel::app
