# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Sourced by the scripts that build or test: `need_packages NAME...` installs
# the Debian packages among NAME that are missing, saying which: apt-get
# update, then apt-get install, as root directly or through sudo otherwise.

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
  if ! "${as_root[@]}" apt-get update -qq ||
    ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
      2> >(grep -v '^debconf: delaying package configuration' >&2); then
    echo "could not install: ${missing[*]}" >&2
    return 1
  fi
}
