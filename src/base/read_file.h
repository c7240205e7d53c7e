// Reading a whole file the program was pointed at, safely: only a regular
// file is read (a FIFO, a device or a folder is refused without blocking),
// and never more than the largest valid file of its kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rovanel {

enum class ReadFault { None, Missing, NotRegular, TooLarge, Failed };

struct ReadOutcome {
  ReadFault fault = ReadFault::None;
  std::size_t size = 0;  // with TooLarge: the size seen
  std::string why;       // the system's reason with Missing and Failed
  explicit operator bool() const { return fault == ReadFault::None; }
};

// Reads `path` into `bytes` (left as it was on failure); at most maxBytes.
ReadOutcome ReadRegularFile(const std::string& path, std::size_t maxBytes,
                            std::vector<std::uint8_t>& bytes);

}  // namespace rovanel
