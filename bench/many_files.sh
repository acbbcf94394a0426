#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times listing a folder of record files one after another against one
# navdump per core through xargs -P (the README's command), alternating the
# two and which goes first, and prints each run and the medians. BUILD: a
# build folder with navdump and write_samples. FILES files of MIB MiB each go
# to DIR. With COLD=1 every run starts with the files out of the page cache,
# so they come from disk; otherwise from memory.
set -euo pipefail
build=${1:?usage: many_files.sh BUILD [DIR [FILES [MIB [RUNS]]]]}
dir=${2:-/tmp/navtools-many-files}
files=${3:-16}
mib=${4:-256}
runs=${5:-5}
navdump=$(realpath "$build/navdump/navdump")
records=$((mib * 1024 * 1024 / 136))
mkdir -p "$dir"
for i in $(seq -w 1 "$files"); do
  [ -f "$dir/flight $i.rec" ] ||
    "$build/tools/write_samples" "$dir/flight $i.rec" "$records" $((345600 + 10#$i * 86400)) 50
done

prepare() {
  local f
  for f in "$dir"/*.rec; do
    if [ "${COLD:-0}" = 1 ]; then
      dd if="$f" iflag=nocache count=0 status=none  # drop it from the page cache
    else
      cat "$f" >/dev/null
    fi
  done
}

serial() {
  for f in "$dir"/*.rec; do "$navdump" "$f" >"$f.txt" 2>"$f.count"; done
}
parallel_xargs() {
  # shellcheck disable=SC2016  # $0 and $1 belong to the inner shell
  find "$dir" -maxdepth 1 -type f -name '*.rec' -print0 |
    xargs -0 -r -n 1 -P "$(nproc)" sh -c '"$0" "$1" >"$1.txt" 2>"$1.count"' "$navdump"
}
seconds() {  # prints how long the command took
  local start
  prepare
  start=$(date +%s.%N)
  "$@"
  awk -v start="$start" -v end="$(date +%s.%N)" 'BEGIN {printf "%.3f\n", end - start}'
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

serial_times=() parallel_times=()
for run in $(seq "$runs"); do
  if [ $((run % 2)) = 1 ]; then
    s=$(seconds serial)
    p=$(seconds parallel_xargs)
  else
    p=$(seconds parallel_xargs)
    s=$(seconds serial)
  fi
  echo "run $run: serial ${s} s, xargs -P$(nproc) ${p} s"
  serial_times+=("$s") parallel_times+=("$p")
done
ms=$(printf '%s\n' "${serial_times[@]}" | median)
mp=$(printf '%s\n' "${parallel_times[@]}" | median)
from=$([ "${COLD:-0}" = 1 ] && echo disk || echo "page cache")
echo "$files files of $mib MiB from $from, $(nproc) cores, median of $runs: serial $ms s, xargs -P$(nproc) $mp s, speed-up $(awk -v s="$ms" -v p="$mp" 'BEGIN {printf "%.2f", s / p}')"
