// SPDX-License-Identifier: MIT
// read_floor FILE: reads every byte of FILE with read(2) into a 1 MiB buffer
// and does nothing with it: the floor for a program that reads every byte.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  const int fd = ::open(argv[1], O_RDONLY);
  if (fd < 0) return 1;
  std::vector<char> buffer(1 << 20);
  long long total = 0;
  for (ssize_t got = 0; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) total += got;
  std::fprintf(stderr, "bytes %lld\n", total);
  return 0;
}
