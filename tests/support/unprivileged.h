// Runs a piece of a test where file modes bind: in a child process that, when
// the tests run as root, drops to the unprivileged user "nobody" first.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace rovanel::test {

// What fn returned in the child, or a line starting with "child:" when the
// child could not run it.
inline std::string RunUnprivileged(const std::function<std::string()>& fn) {
  int fds[2];
  if (::pipe(fds) != 0) return "child: no pipe";
  const pid_t pid = ::fork();
  if (pid < 0) return "child: no fork";
  if (pid == 0) {
    ::close(fds[0]);
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      ::_exit(2);
    const std::string out = fn();
    for (std::size_t done = 0; done < out.size();) {
      const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
      if (n <= 0) ::_exit(3);
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);  // no exit handlers: they belong to the parent
  }
  ::close(fds[1]);
  std::string out;
  char buf[256];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return "child: ended with status " + std::to_string(status);
  return out;
}

}  // namespace rovanel::test
