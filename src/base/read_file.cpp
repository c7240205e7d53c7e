#include "base/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace rovanel {

ReadOutcome ReadRegularFile(const std::string& path, std::size_t maxBytes,
                            std::vector<std::uint8_t>& bytes) {
  ReadOutcome out;
  // Non-blocking: opening a FIFO with no writer must not wait for one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    out.fault = errno == ENOENT || errno == ENOTDIR ? ReadFault::Missing : ReadFault::Failed;
    out.why = std::strerror(errno);
    return out;
  }
  const auto fail = [&](ReadFault fault, std::string why) {
    ::close(fd);
    out.fault = fault;
    out.why = std::move(why);
    return out;
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(ReadFault::Failed, std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return fail(ReadFault::NotRegular, std::strerror(EISDIR));
  if (!S_ISREG(st.st_mode)) return fail(ReadFault::NotRegular, "not a regular file");
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
    out.size = static_cast<std::size_t>(st.st_size);
    return fail(ReadFault::TooLarge, {});
  }
  // Read to the end rather than trusting the size: the file may grow meanwhile.
  std::vector<std::uint8_t> got(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t done = 0;
  for (;;) {
    if (done == got.size()) {
      if (done > maxBytes) {
        out.size = done;
        return fail(ReadFault::TooLarge, {});
      }
      got.resize(std::min(done * 2, maxBytes + 1));
    }
    const ssize_t n = ::read(fd, got.data() + done, got.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(ReadFault::Failed, std::strerror(errno));
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  got.resize(done);
  bytes = std::move(got);
  return out;
}

}  // namespace rovanel
