// SPDX-License-Identifier: MIT
// Running a built program as a child process and capturing what it shows:
// standard output, standard error and the exit status. A child that runs
// past its time bound is killed, so a hung program fails its test instead
// of hanging it. In a cross build the program is started through the
// build's emulator (qemu-user).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tools {

enum class StdoutMode {
  kCapture,   // its own pipe, read into out
  kClosed,    // no standard output at all
  kDevFull,   // every write fails with ENOSPC
  kToStderr,  // the standard error pipe: both streams land in err, in the order written
};

struct ProcessRun {
  explicit ProcessRun(std::vector<std::string> args, StdoutMode mode = StdoutMode::kCapture)
      : argv(std::move(args)), stdout_mode(mode) {}

  std::vector<std::string> argv;  // argv[0] is the program's path
  std::string stdin_bytes;        // fed through a pipe
  std::size_t stdin_chunk = 0;    // bytes per write; 0 writes all at once
  StdoutMode stdout_mode = StdoutMode::kCapture;
  // Starts argv[0] with no argument vector at all (not even argv[0]).
  bool empty_argv = false;
  std::chrono::milliseconds time_limit{30000};
};

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;         // exit status, or -1 when the child did not exit normally
  bool timed_out = false;  // killed for running past the time limit
};

ProcessResult run_process(const ProcessRun& run);

}  // namespace tools
