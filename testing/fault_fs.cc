// SPDX-License-Identifier: MIT
// fault_fs BACKING MOUNTPOINT [FUSE OPTIONS]: a FUSE filesystem for tests
// that serves the bytes of BACKING under names that pick a fault:
//   /odd_reads    reads return odd numbers of bytes, often short;
//   /fail_at_N    every request that reaches byte N or beyond fails with
//                 EIO; with N a multiple of the page size the program under
//                 test gets exactly the bytes before N.
// FUSE takes a short reply to a page-cache request for the end of the file,
// so only /odd_reads is opened for direct I/O, where read(2) sees each reply
// as it is; page-cache requests (sendfile, splice) are still served whole.
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Served {
  std::vector<char> bytes;
};

Served& served() { return *static_cast<Served*>(fuse_get_context()->private_data); }

enum class Fault { kOddReads, kFailAt, kNoSuchFile };

// The fault a path names, and for kFailAt the failing offset.
Fault fault_of(const char* path, off_t& fail_at) {
  const std::string name(path);
  if (name == "/odd_reads") return Fault::kOddReads;
  constexpr const char* kFailAt = "/fail_at_";
  if (name.rfind(kFailAt, 0) == 0 && name.size() > std::strlen(kFailAt)) {
    char* end = nullptr;
    fail_at = std::strtoll(name.c_str() + std::strlen(kFailAt), &end, 10);
    if (*end == '\0' && fail_at >= 0) return Fault::kFailAt;
  }
  return Fault::kNoSuchFile;
}

int get_attributes(const char* path, struct stat* info, fuse_file_info* /*file*/) {
  *info = {};
  if (std::strcmp(path, "/") == 0) {
    info->st_mode = S_IFDIR | 0755;
    info->st_nlink = 2;
    return 0;
  }
  off_t fail_at = 0;
  if (fault_of(path, fail_at) == Fault::kNoSuchFile) return -ENOENT;
  info->st_mode = S_IFREG | 0444;
  info->st_nlink = 1;
  info->st_size = static_cast<off_t>(served().bytes.size());
  return 0;
}

int open_file(const char* path, fuse_file_info* file) {
  off_t fail_at = 0;
  const Fault fault = fault_of(path, fail_at);
  if (fault == Fault::kNoSuchFile) return -ENOENT;
  file->direct_io = fault == Fault::kOddReads ? 1 : 0;
  return 0;
}

int read_file(const char* path, char* buffer, std::size_t size, off_t offset,
              fuse_file_info* /*file*/) {
  const std::vector<char>& bytes = served().bytes;
  off_t fail_at = 0;
  const Fault fault = fault_of(path, fail_at);
  if (fault == Fault::kNoSuchFile) return -ENOENT;
  const auto end = static_cast<off_t>(bytes.size());
  if (fault == Fault::kFailAt && offset + static_cast<off_t>(size) > fail_at) return -EIO;
  if (offset >= end) return 0;
  std::size_t n = std::min(size, static_cast<std::size_t>(end - offset));
  const bool from_page_cache = offset % 4096 == 0 && size % 4096 == 0;
  if (fault == Fault::kOddReads && !from_page_cache) {
    constexpr std::array<std::size_t, 6> kOdd = {1, 135, 137, 4099, 77, 65537};
    n = std::min(n, kOdd[static_cast<std::size_t>(offset / 7) % kOdd.size()]);
  }
  std::memcpy(buffer, bytes.data() + offset, n);
  return static_cast<int>(n);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s BACKING MOUNTPOINT [FUSE OPTIONS]\n", argv[0]);
    return 2;
  }
  Served files;
  std::ifstream in(argv[1], std::ios::binary);
  files.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
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
  return fuse_main(static_cast<int>(fuse_args.size()), fuse_args.data(), &operations, &files);
}
