#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# clang-tidy with the checks listed in .clang-tidy, and cppcheck with the
# options listed in .cppcheck; either finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for build test static
build=${TIDY_BUILD_DIR:-build-tidy}
# Configuring is enough: the compile database is all clang-tidy reads.
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
sources=$(git ls-files '*.cc' | grep -v '_fuzz\.cc$')
# shellcheck disable=SC2086
clang-tidy -p "$build" --quiet $sources 2> >(grep -v 'warnings generated' >&2)
dirs=$(git ls-files '*.cc' | xargs dirname | sort -u)
# shellcheck disable=SC2046,SC2086
cppcheck $(cat .cppcheck) $(printf -- '-I %s ' $dirs) $dirs
echo "static checks: clean"
