// Running a built program as a child process and capturing what it shows:
// standard output, standard error and the exit status. In a cross build the
// program is started through the build's emulator (qemu-user).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tools {

enum class StdoutMode { kCapture, kClosed, kDevFull };

struct ProcessRun {
  explicit ProcessRun(std::vector<std::string> args, StdoutMode mode = StdoutMode::kCapture)
      : argv(std::move(args)), stdout_mode(mode) {}

  std::vector<std::string> argv;  // argv[0] is the program's path
  std::string stdin_bytes;        // fed through a pipe
  std::size_t stdin_chunk = 0;    // bytes per write; 0 writes all at once
  StdoutMode stdout_mode = StdoutMode::kCapture;
};

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // exit status, or -1 when the child did not exit normally
};

ProcessResult run_process(const ProcessRun& run);

}  // namespace tools
