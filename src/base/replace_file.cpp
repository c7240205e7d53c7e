#include "base/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace rovanel {

namespace {

// The file a path names, through symbolic links (a dangling one names the
// file it would point at); the path itself when it is no link.
std::string LinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at(path);
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
    const fs::path to = fs::read_symlink(at, ec);
    if (ec) break;
    at = to.is_absolute() ? to : at.parent_path() / to;
  }
  return at.string();
}

}  // namespace

bool WriteFileReplacing(const std::string& requested, std::span<const std::uint8_t> bytes,
                        std::string& error) {
  namespace fs = std::filesystem;
  // A link keeps pointing where it did: its target is the file replaced.
  const std::string path = LinkTarget(requested);
  // A file nobody may write is not replaced behind the user's back (a
  // rename would do it in a writable folder); a writable one keeps its mode.
  mode_t mode = 0666;
  bool keepMode = false;
  if (struct stat st {}; ::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      error = std::strerror(EISDIR);
      return false;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0) {
      error = "the file is read-only";
      return false;
    }
    mode = st.st_mode & 07777;
    keepMode = true;
  }
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
  if (keepMode && ::fchmod(fd, mode) != 0) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return fail(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) return fail(errno);
  return true;
}

}  // namespace rovanel
