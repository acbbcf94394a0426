// SPDX-License-Identifier: MIT
// What the programs that read record files share at their edges: the name
// in the usage line, the standard streams, the opening and reading of each
// input, the file's name in a table row and the status of a failed run.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <span>

namespace records {

// Status of a failed run; the shell sees it as 247.
inline constexpr int kFailureStatus = -9;

// The name the program was started by, or fallback when it was started with
// no argument vector: Linux then hands it argc 1 and an empty argv[0]
// (older kernels argc 0).
const char* invocation_name(int argc, const char* const* argv, const char* fallback);

// Whether the stream's descriptor is open. Asked of standard output and
// standard error before anything is opened, which may then take their
// descriptors: a stream closed at the start fails the run.
bool is_open(std::FILE* stream);

// Closes the stream, which flushes it and reports errors some filesystems
// keep until the close. False when it was closed at the start (was_open
// false), a write failed on the way (its error flag) or the close failed.
bool close_stream(std::FILE* stream, bool was_open);

// A read-only descriptor on the path, or -1 after writing the error to err.
// A directory counts as a file that cannot be opened. The file, pipe, FIFO,
// socket or terminal that descriptor output_fd writes to (-1: none) is
// refused, since what a run writes there would be read back as records, or
// the run would wait for itself.
int open_input(const char* path, int output_fd, std::FILE* err);

// One read(2) of up to into.size() bytes from fd, made again when a signal
// interrupts it: the bytes read, 0 at the end, or -1 with errno set.
ssize_t read_some(int fd, std::span<std::byte> into);

// Writes the path as given, with a tab, newline, carriage return or
// backslash escaped (\t \n \r \\), so that a table row stays one line of
// its columns.
void print_path(std::FILE* out, const char* path);

}  // namespace records
