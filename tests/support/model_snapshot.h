// Everything a script can read of the window model, as one text, to check
// that a refused input changed nothing. Free of gtest: the fuzz targets
// use it too.
#pragma once

#include <string>

#include "app/main_window.h"

namespace rovanel::support {

// The dumps of the model's state, in a fixed order. A dump that fails
// leaves a line "dump failed: NAME" in the text.
std::string ModelSnapshot(app::TFp& fp);

// The first line where two snapshots differ ("" when they are equal).
std::string FirstDifference(const std::string& a, const std::string& b);

}  // namespace rovanel::support
