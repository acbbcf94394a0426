#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with the release workflow, then checks it as a
# Debian developer would: lintian --pedantic must print no tag at all, and
# hardening-check must pass on both programs inside the package.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages g++ cmake make dpkg-dev lintian devscripts
rm -rf build-release
log=$(mktemp)
if ! cmake --workflow --preset release >"$log" 2>&1; then
  cat "$log"
  rm -f "$log"
  exit 1
fi
rm -f "$log"
mapfile -t debs < <(find build-release -maxdepth 1 -name '*.deb')
[ ${#debs[@]} -eq 1 ] || { echo "expected one .deb in build-release, found ${#debs[@]}" >&2; exit 1; }
deb=${debs[0]}
echo "package: $deb"
tags=$(lintian --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges' || true)
if [ -n "$tags" ]; then
  echo "$tags"
  echo "lintian: tags found" >&2
  exit 1
fi
echo "lintian --pedantic: clean"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
hardening-check "$unpacked/usr/bin/navdump" "$unpacked/usr/bin/radcon"
