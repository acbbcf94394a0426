#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with the release workflow, then checks it as a
# Debian developer would: lintian --pedantic must print no tag at all, and
# hardening-check must pass on both programs inside the package. A second
# build, of a copy of the tree at another path with another umask, time zone
# and locale, must give the same package byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages g++ cmake make dpkg-dev lintian devscripts git
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The release workflow in the folder given; prints the package's path.
build_package() {
  rm -rf "$1/build-release"
  if ! (cd "$1" && cmake --workflow --preset release) >"$work/log" 2>&1; then
    cat "$work/log" >&2
    exit 1
  fi
  mapfile -t debs < <(find "$1/build-release" -maxdepth 1 -name '*.deb')
  [ ${#debs[@]} -eq 1 ] || { echo "expected one .deb in $1/build-release, found ${#debs[@]}" >&2; exit 1; }
  echo "${debs[0]}"
}

# What a package holds, member by member, for a readable difference.
describe() {
  ar tv "$1"
  dpkg-deb --ctrl-tarfile "$1" | tar -tv --full-time
  dpkg-deb -I "$1"
  dpkg-deb --fsys-tarfile "$1" | tar -tv --full-time
  dpkg-deb --ctrl-tarfile "$1" | tar -xOf - ./md5sums
}

deb=$(umask 022 && TZ=UTC LC_ALL=C LANG=C build_package .)
echo "package: $deb"

# The copy is a checkout of HEAD, so that its last commit is the same, with
# the working tree's uncommitted files laid over it.
copy=$work/another/path/navtools
(
  umask 002
  git init -q "$copy"
  git -C "$copy" fetch -q "$PWD" HEAD
  git -C "$copy" checkout -q --detach FETCH_HEAD
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -xmf - -C "$copy"
)
again=$(umask 002 && TZ=NZST-12:45 LC_ALL=C.UTF-8 LANG=C.UTF-8 build_package "$copy")
if ! cmp "$deb" "$again"; then
  if command -v diffoscope >/dev/null; then
    diffoscope "$deb" "$again" || true
  else
    diff <(describe "$deb" 2>&1) <(describe "$again" 2>&1) || true
  fi
  echo "the package is not reproducible: a build in another folder, umask, time zone and locale differs" >&2
  exit 1
fi
echo "reproducible: $(sha256sum <"$deb" | cut -d' ' -f1) from both builds"
tags=$(lintian --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges' || true)
if [ -n "$tags" ]; then
  echo "$tags"
  echo "lintian: tags found" >&2
  exit 1
fi
echo "lintian --pedantic: clean"
unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
hardening-check "$unpacked/usr/bin/navdump" "$unpacked/usr/bin/radcon"
