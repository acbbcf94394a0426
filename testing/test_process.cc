#include "test_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "emulator.h"

namespace tools {
namespace {

void move_fd(int from, int to) {
  if (from != to) {
    ::dup2(from, to);
    ::close(from);
  }
}

[[noreturn]] void exec_child(const ProcessRun& run, int in_read, int out_write,
                             int err_write) {
  move_fd(in_read, STDIN_FILENO);
  move_fd(err_write, STDERR_FILENO);
  if (run.stdout_mode == StdoutMode::kCapture) {
    move_fd(out_write, STDOUT_FILENO);
  } else {
    ::close(out_write);
    ::close(STDOUT_FILENO);
    if (run.stdout_mode == StdoutMode::kDevFull) {
      move_fd(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
    }
  }
  std::vector<char*> args;
  for (const char* const* e = kEmulator; *e != nullptr; ++e) {
    args.push_back(const_cast<char*>(*e));
  }
  for (const auto& a : run.argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  ::execv(args[0], args.data());
  ::_exit(127);
}

}  // namespace

ProcessResult run_process(const ProcessRun& run) {
  int in[2];
  int out[2];
  int err[2];
  if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return {};
  std::signal(SIGPIPE, SIG_IGN);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(in[1]);
    ::close(out[0]);
    ::close(err[0]);
    exec_child(run, in[0], out[1], err[1]);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);

  ProcessResult result;
  std::size_t fed = 0;
  int to_child = in[1];
  // Never block on the child's input while its output waits to be read.
  ::fcntl(to_child, F_SETFL, ::fcntl(to_child, F_GETFL) | O_NONBLOCK);
  if (run.stdin_bytes.empty()) {
    ::close(to_child);
    to_child = -1;
  }
  int from_out = out[0];
  int from_err = err[0];
  char chunk[65536];
  while (from_out >= 0 || from_err >= 0) {
    pollfd fds[3] = {{from_out, POLLIN, 0}, {from_err, POLLIN, 0}, {to_child, POLLOUT, 0}};
    if (::poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      const ssize_t got = ::read(fds[i].fd, chunk, sizeof chunk);
      std::string& sink = i == 0 ? result.out : result.err;
      int& fd = i == 0 ? from_out : from_err;
      if (got > 0) {
        sink.append(chunk, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ::close(fd);
        fd = -1;
      }
    }
    if (to_child >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      const std::size_t left = run.stdin_bytes.size() - fed;
      const std::size_t size = run.stdin_chunk == 0 ? left : std::min(left, run.stdin_chunk);
      const ssize_t put = ::write(to_child, run.stdin_bytes.data() + fed, size);
      if (put > 0) fed += static_cast<std::size_t>(put);
      if ((put < 0 && errno != EINTR && errno != EAGAIN) || fed == run.stdin_bytes.size()) {
        ::close(to_child);
        to_child = -1;
      }
    }
  }
  if (to_child >= 0) ::close(to_child);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace tools
