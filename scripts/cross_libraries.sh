#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# cross_libraries.sh ARCH...: the compression libraries that navcheck links
# (zlib, liblzma, libzstd, libbz2), for each Debian architecture ARCH of
# cmake/architectures.txt, in the sysroot of its cross compiler, /usr/TRIPLET,
# beside the C library there: Debian's ARCH packages of them, turned by
# dpkg-cross into packages ARCH-cross, as Debian makes the cross C library.
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
packages=(zlib1g zlib1g-dev liblzma5 liblzma-dev libzstd1 libzstd-dev libbz2-1.0 libbz2-dev)
for arch in "$@"; do
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
