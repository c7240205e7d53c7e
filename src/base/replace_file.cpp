#include "base/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace rovanel {

bool WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes,
                        std::string& error) {
  namespace fs = std::filesystem;
  // A short name of our own beside the target, whatever the target's length.
  const fs::path folder = fs::path(path).parent_path();
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = (folder / (".rovanel-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp")).string();
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100)) {
      error = std::strerror(errno);
      return false;
    }
  }
  const auto fail = [&](int err) {
    error = std::strerror(err);
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    return false;
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(errno);
    if (n == 0) return fail(ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) return fail(errno);
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return fail(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) return fail(errno);
  return true;
}

}  // namespace rovanel
