#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package as the README does, then checks it as a Debian
# developer would: lintian --pedantic must print no tag at all, and
# hardening-check must pass on every program inside the package. A second
# build, of a copy of the tree at another path with another umask, time zone
# and locale, must give the same package byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for build package
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The README's build in the folder given, into a fresh build-release/: the
# two steps of the release workflow, with warnings as errors when
# NAVTOOLS_WERROR=ON (which changes no byte of the package).
build_package() {
  rm -rf "$1/build-release"
  (cd "$1" && cmake --preset release -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}" &&
    cmake --build --preset release) >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
}

# What a package holds, member by member, for a readable difference.
describe() {
  ar tv "$1"
  for part in ctrl fsys; do dpkg-deb --$part-tarfile "$1" | tar -tv --full-time; done
  dpkg-deb -I "$1" control md5sums
}

(umask 022 && TZ=UTC LC_ALL=C LANG=C build_package .)
deb=$(echo build-release/navtools_*.deb)
echo "package: $deb"

# The copy holds the working tree's files, uncommitted ones included, and a
# repository whose last commit is this one's.
copy=$work/another/path/navtools
(
  umask 002
  mkdir -p "$copy"
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -xmf - -C "$copy"
  git init -q "$copy"
  git -C "$copy" fetch -q "$PWD" HEAD
  git -C "$copy" update-ref HEAD FETCH_HEAD
  TZ=NZST-12:45 LC_ALL=C.UTF-8 LANG=C.UTF-8 build_package "$copy"
)
again=$(echo "$copy"/build-release/navtools_*.deb)
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
[ -z "$tags" ] || { echo "$tags"; echo "lintian: tags found" >&2; exit 1; }
echo "lintian --pedantic: clean"
dpkg-deb -x "$deb" "$work/unpacked"
hardening-check "$work"/unpacked/usr/bin/*
