#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks every shell script of the repository with shellcheck, the C++
# sources with clang-tidy (checks listed in .clang-tidy) and cppcheck
# (options listed in .cppcheck); any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for build test static
# The shell scripts: tracked files that start with a #! line naming sh or
# bash, and sourced ones, which name their shell to shellcheck instead.
scripts=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  if head -n 1 "$file" | grep -qE '^#!.*[/ ](ba|da)?sh( |$)' ||
    grep -q '^# shellcheck shell=' "$file"; then
    scripts+=("$file")
  fi
done < <(git ls-files -z)
shellcheck --external-sources "${scripts[@]}"
build=${TIDY_BUILD_DIR:-build-tidy}
# Configuring is enough: the compile database is all clang-tidy reads.
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
mapfile -t sources < <(git ls-files '*.cc' | grep -v '_fuzz\.cc$')
clang-tidy -p "$build" --quiet "${sources[@]}" 2> >(grep -v 'warnings generated' >&2)
mapfile -t options <.cppcheck
mapfile -t dirs < <(git ls-files '*.cc' | xargs dirname | sort -u)
cppcheck "${options[@]}" "${dirs[@]/#/-I}" "${dirs[@]}"
echo "static checks: clean"
