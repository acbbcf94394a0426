# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Sourced by the scripts that build or test: `need_packages NAME...` installs
# the Debian packages among NAME that are missing, saying which: apt-get
# update, then apt-get install, as root directly or through sudo otherwise.
# While another apt or dpkg run holds the package locks it waits for them,
# up to 10 minutes, instead of failing. `need_packages_for PURPOSE...` does
# the same for the packages scripts/packages.txt lists for each PURPOSE.

need_packages_for() {
  local list line purpose names=() words
  list=$(dirname "${BASH_SOURCE[0]}")/packages.txt
  for purpose in "$@"; do
    line=$(grep "^$purpose:" "$list") || {
      echo "$list: no line for $purpose" >&2
      return 1
    }
    read -ra words <<<"${line#*:}"
    names+=("${words[@]}")
  done
  need_packages "${names[@]}"
}

need_packages() {
  local missing=() name
  if ! command -v dpkg-query >/dev/null; then
    echo "not a Debian system; make sure these are installed: $*" >&2
    return 0
  fi
  for name in "$@"; do
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null)" = installed ] ||
      missing+=("$name")
  done
  [ ${#missing[@]} -gt 0 ] || return 0

  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "missing Debian packages: ${missing[*]}; install them as root (apt-get install ${missing[*]}) or install sudo" >&2
      return 1
    fi
    as_root=(sudo)
  fi
  echo "installing: ${missing[*]}" >&2
  if ! _need_packages_apt_get update ||
    ! _need_packages_apt_get install -y --no-install-recommends "${missing[@]}"; then
    echo "could not install: ${missing[*]}" >&2
    return 1
  fi
}

# apt-get ARG... quietly, through the caller's as_root, waiting while another
# process holds a lock it needs. apt-get waits by itself for dpkg's locks
# (DPkg::Lock::Timeout) but not, on Debian 12's apt, for the lock of the
# package lists (apt-get update) or of the download cache: those fail at
# once with "Could not get lock" and are tried again every 5 s.
_need_packages_apt_get() {
  local log status deadline=$((SECONDS + 600)) timeout=0 waiting=
  log=$(mktemp) || return 1
  while :; do
    status=0
    "${as_root[@]}" env LC_ALL=C DEBIAN_FRONTEND=noninteractive \
      apt-get -qq -o DPkg::Lock::Timeout="$timeout" "$@" >/dev/null 2>"$log" || status=$?
    if [ "$status" -ne 0 ] && [ "$SECONDS" -lt "$deadline" ] &&
      grep -q 'Could not get lock' "$log"; then
      if [ -z "$waiting" ]; then
        echo "another apt or dpkg run holds the package lock; waiting for it (up to 10 minutes)" >&2
        waiting=1
      fi
      sleep 5
      timeout=$((deadline > SECONDS ? deadline - SECONDS : 0))
      continue
    fi
    grep -v '^debconf: delaying package configuration' "$log" >&2
    rm -f "$log"
    return "$status"
  done
}
