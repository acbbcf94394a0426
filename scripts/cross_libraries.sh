#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# cross_libraries.sh ARCH...: the compression libraries that navcheck links
# (zlib, liblzma, libzstd, libbz2), for each Debian architecture ARCH of
# cmake/architectures.txt, in the sysroot of its cross compiler, /usr/TRIPLET,
# beside the C library there: Debian's ARCH packages of them, turned by
# dpkg-cross into packages ARCH-cross, as Debian makes the cross C library.
# For an architecture marked `source` there, of which Debian 12 has no
# packages (riscv64), Debian's source packages of them instead, built with
# the cross compiler into static libraries beside their headers.
#
# Not installed as multiarch packages: those must have the very version of
# the host's own, which Debian 12 cannot give for the architectures outside
# its long-term security support (armel, mips64el, s390x), whose libraries
# lag the host's updated ones.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for cross
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
# The ARCH packages in folder DIR as packages ARCH-cross, beside them.
convert() {  # ARCH DIR
  (cd "$2" && dpkg-cross -a "$1" -b -M -A ./*.deb) 2>&1 >/dev/null |
    { grep -v 'Multi-Arch package detected' >&2 || :; }
}
# The libraries' source packages that are missing from /usr/TRIPLET, from
# the suites of the host's apt sources taken as deb-src ones for this run
# only (lists of their own, the host's configuration untouched), or from the
# release's suite where a mirror lacks the newest; built with TRIPLET-gcc.
from_source() {  # TRIPLET
  local triplet=$1 usr=/usr/$1 sources=() source make
  [ -e "$usr/lib/libz.a" ] || sources+=(zlib)
  [ -e "$usr/lib/liblzma.a" ] || sources+=(xz-utils)
  [ -e "$usr/lib/libzstd.a" ] || sources+=(libzstd)
  [ -e "$usr/lib/libbz2.a" ] || sources+=(bzip2)
  [ ${#sources[@]} -gt 0 ] || return 0
  echo "building for $triplet from Debian's sources: ${sources[*]}" >&2
  work=$(mktemp -d)
  chmod a+rwx "$work"  # apt downloads as a user of its own
  mkdir -p "$work/apt/parts" "$work/apt/lists"
  for source in /etc/apt/sources.list.d/*.sources; do
    [ ! -e "$source" ] || { sed 's/^Types:.*/Types: deb-src/' "$source" && echo; }
  done >"$work/apt/parts/src.sources"
  for source in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ ! -e "$source" ] || sed -n 's/^deb /deb-src /p' "$source"
  done >"$work/apt/parts/src.list"
  local apt=(apt-get -qq -o Dir::Etc::sourcelist=/dev/null
    -o Dir::Etc::sourceparts="$work/apt/parts" -o Dir::State::Lists="$work/apt/lists"
    -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
  "${as_root[@]}" "${apt[@]}" update
  for source in "${sources[@]}"; do
    (cd "$work" && { "${apt[@]}" source "$source" 2>/dev/null ||
      "${apt[@]}" source "$source/$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)"; }) >/dev/null
  done
  make=(make -s -j"$(nproc)" CC="$triplet-gcc" AR="$triplet-ar" RANLIB="$triplet-ranlib")
  for source in "${sources[@]}"; do
    cd "$work/$source"-*/
    case $source in
      zlib)
        CHOST=$triplet ./configure --static >/dev/null
        "${make[@]}" libz.a
        "${as_root[@]}" install -D -m644 -t "$usr/include" zlib.h zconf.h
        "${as_root[@]}" install -D -m644 -t "$usr/lib" libz.a ;;
      xz-utils)
        ./configure -q --host="$triplet" --disable-shared --disable-xz --disable-xzdec \
          --disable-lzmadec --disable-lzmainfo --disable-lzma-links --disable-scripts \
          --disable-doc --disable-nls >/dev/null
        "${make[@]}" -C src/liblzma >/dev/null
        "${as_root[@]}" install -D -m644 -t "$usr/include" src/liblzma/api/lzma.h
        "${as_root[@]}" install -D -m644 -t "$usr/include/lzma" src/liblzma/api/lzma/*.h
        "${as_root[@]}" install -D -m644 -t "$usr/lib" src/liblzma/.libs/liblzma.a ;;
      libzstd)
        "${make[@]}" -C lib libzstd.a >/dev/null
        "${as_root[@]}" install -D -m644 -t "$usr/include" lib/zstd.h lib/zstd_errors.h lib/zdict.h
        "${as_root[@]}" install -D -m644 -t "$usr/lib" lib/libzstd.a ;;
      bzip2)
        "${make[@]}" libbz2.a CFLAGS="-O2 -g -D_FILE_OFFSET_BITS=64" >/dev/null
        "${as_root[@]}" install -D -m644 -t "$usr/include" bzlib.h
        "${as_root[@]}" install -D -m644 -t "$usr/lib" libbz2.a ;;
    esac
    cd - >/dev/null
  done
  "${as_root[@]}" rm -rf "$work"
}
work=
trap '[ -z "$work" ] || "${as_root[@]}" rm -rf "$work"' EXIT

packages=(zlib1g zlib1g-dev liblzma5 liblzma-dev libzstd1 libzstd-dev libbz2-1.0 libbz2-dev)
for arch in "$@"; do
  read -r triplet how < <(awk -v arch="$arch" '$1 == arch {print $2, $4}' cmake/architectures.txt) ||
    { echo "$arch is not in cmake/architectures.txt" >&2; exit 1; }
  if [ "$how" = source ]; then
    from_source "$triplet"
    continue
  fi
  missing=()
  for package in "${packages[@]}"; do
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$package-$arch-cross" 2>/dev/null)" = installed ] ||
      missing+=("$package:$arch")
  done
  [ ${#missing[@]} -gt 0 ] || continue
  echo "installing for $arch: ${missing[*]}" >&2
  # apt sees ARCH's packages while ARCH is a foreign architecture of dpkg's;
  # one added here is removed again, since the packages made are for all.
  added=
  if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    "${as_root[@]}" dpkg --add-architecture "$arch"
    added=1
  fi
  # apt-get update fails when some index could not be fetched; ARCH's may
  # still have come, which the download tells.
  _need_packages_apt_get update || true
  work=$(mktemp -d)
  chmod a+rwx "$work"  # apt downloads as a user of its own
  status=0
  (cd "$work" && apt-get -qq download "${missing[@]}") && convert "$arch" "$work" &&
    _need_packages_apt_get install -y --no-install-recommends "$work"/*-"$arch"-cross_*.deb || status=1
  rm -rf "$work"
  [ -z "$added" ] || "${as_root[@]}" dpkg --remove-architecture "$arch"
  [ "$status" -eq 0 ] || { echo "could not install for $arch: ${missing[*]}" >&2; exit 1; }
done
