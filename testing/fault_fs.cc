// SPDX-License-Identifier: MIT
// fault_fs BACKING MOUNTPOINT [FUSE OPTIONS]: a FUSE filesystem for tests
// that serves the bytes of BACKING as /fail_at_N, where every request that
// reaches byte N or beyond fails with EIO; with N a multiple of the page
// size the program under test gets exactly the bytes before N, through the
// page cache as sendfile(2) reads it. And as /stale_size, whose size is
// given as 0 while its reads, past the page cache (direct_io), return
// every byte: sendfile(2) then ends at once.
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::vector<char>& served() {
  return *static_cast<const std::vector<char>*>(fuse_get_context()->private_data);
}

// The failing offset a path names, or -1 for no such file.
off_t fail_at(const char* path) {
  constexpr const char* kPrefix = "/fail_at_";
  if (std::strncmp(path, kPrefix, std::strlen(kPrefix)) != 0) return -1;
  char* end = nullptr;
  const long long offset = std::strtoll(path + std::strlen(kPrefix), &end, 10);
  return *end == '\0' && end != path + std::strlen(kPrefix) ? offset : -1;
}

int get_attributes(const char* path, struct stat* info, fuse_file_info* /*file*/) {
  *info = {};
  if (std::strcmp(path, "/") == 0) {
    info->st_mode = S_IFDIR | 0755;
    info->st_nlink = 2;
    return 0;
  }
  const bool stale = std::strcmp(path, "/stale_size") == 0;
  if (fail_at(path) < 0 && !stale) return -ENOENT;
  info->st_mode = S_IFREG | 0444;
  info->st_nlink = 1;
  info->st_size = stale ? 0 : static_cast<off_t>(served().size());
  return 0;
}

int open_file(const char* path, fuse_file_info* file) {
  file->direct_io = std::strcmp(path, "/stale_size") == 0 ? 1 : 0;
  return 0;
}

int read_file(const char* path, char* buffer, std::size_t size, off_t offset,
              fuse_file_info* /*file*/) {
  const off_t failing = std::strcmp(path, "/stale_size") == 0 ? INT64_MAX : fail_at(path);
  if (failing < 0) return -ENOENT;
  if (offset + static_cast<off_t>(size) > failing) return -EIO;
  const auto end = static_cast<off_t>(served().size());
  if (offset >= end) return 0;
  const std::size_t n = std::min(size, static_cast<std::size_t>(end - offset));
  std::memcpy(buffer, served().data() + offset, n);
  return static_cast<int>(n);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s BACKING MOUNTPOINT [FUSE OPTIONS]\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  fuse_operations operations{};
  operations.getattr = get_attributes;
  operations.open = open_file;
  operations.read = read_file;
  // The backing file's name is not FUSE's business.
  std::vector<char*> fuse_args = {argv[0]};
  fuse_args.insert(fuse_args.end(), argv + 2, argv + argc);
  return fuse_main(static_cast<int>(fuse_args.size()), fuse_args.data(), &operations, &bytes);
}
