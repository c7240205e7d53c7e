// Writing a file so that a failure never leaves half of it: the bytes go to
// a new file beside the target, are flushed to the disk, and the new file is
// renamed over the target.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rovanel {

// On failure `error` is the system's reason; the old file is as it was and
// no temporary file is left behind.
bool WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes,
                        std::string& error);

}  // namespace rovanel
