// SPDX-License-Identifier: MIT
#include "test_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>

#include "emulator.h"

namespace tools {
namespace {

using Clock = std::chrono::steady_clock;

void move_fd(int from, int to) {
  if (from != to) {
    ::dup2(from, to);
    ::close(from);
  }
}

[[noreturn]] void exec_child(const ProcessRun& run, int in_read, int out_write,
                             int err_write) {
  move_fd(in_read, STDIN_FILENO);
  switch (run.stdout_mode) {
    case StdoutMode::kCapture:
      move_fd(out_write, STDOUT_FILENO);
      break;
    case StdoutMode::kToStderr:
      ::close(out_write);
      ::dup2(err_write, STDOUT_FILENO);
      break;
    case StdoutMode::kClosed:
    case StdoutMode::kDevFull:
      ::close(out_write);
      ::close(STDOUT_FILENO);
      if (run.stdout_mode == StdoutMode::kDevFull) {
        move_fd(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
      }
      break;
  }
  move_fd(err_write, STDERR_FILENO);
  std::vector<char*> args;
  for (const char* const* e = kEmulator; *e != nullptr; ++e) {
    args.push_back(const_cast<char*>(*e));
  }
  const bool emulated = !args.empty();
  if (run.empty_argv && emulated) {
    // qemu-user hands the program the argv[0] given with -0 and nothing else,
    // which is what the kernel gives a program started with no arguments.
    args.push_back(const_cast<char*>("-0"));
    args.push_back(const_cast<char*>(""));
    args.push_back(const_cast<char*>(run.argv.at(0).c_str()));
  } else if (!run.empty_argv) {
    for (const auto& a : run.argv) args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  ::execv(emulated ? args.front() : run.argv.at(0).c_str(), args.data());
  ::_exit(127);
}

int milliseconds_until(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(
      std::clamp<decltype(left)>(left, 0, std::numeric_limits<int>::max()));
}

}  // namespace

ProcessResult run_process(const ProcessRun& run) {
  int in[2];
  int out[2];
  int err[2];
  if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return {};
  std::signal(SIGPIPE, SIG_IGN);
  const Clock::time_point deadline = Clock::now() + run.time_limit;
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
  // Readable once the child has ended, even if it closed its output early
  // or left a descendant holding it open.
  const int child_ended = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  bool ended = false;
  const auto busy = [&] {
    return from_out >= 0 || from_err >= 0 || (!ended && child_ended >= 0);
  };
  char chunk[65536];
  while (busy()) {
    pollfd fds[4] = {{from_out, POLLIN, 0},
                     {from_err, POLLIN, 0},
                     {to_child, POLLOUT, 0},
                     {ended ? -1 : child_ended, POLLIN, 0}};
    const int ready = ::poll(fds, 4, milliseconds_until(deadline));
    if (ready == 0) break;  // out of time
    if (ready < 0) {
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
    if ((fds[3].revents & POLLIN) != 0) ended = true;
  }
  if (busy()) {
    ::kill(pid, SIGKILL);
    result.timed_out = true;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  for (int fd : {to_child, from_out, from_err, child_ended}) {
    if (fd >= 0) ::close(fd);
  }
  result.status = !result.timed_out && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace tools
