#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# bench/bench.sh BUILD [DIR]: times navdump, navcheck and navspan from the
# release build in BUILD in one hyperfine run, so that all share the same
# conditions, against the read(2) floor, navcheck and navspan also on files
# with many NaN times or infinite values, navdump also against the
# record-at-a-time baseline and, on a pipe, cat, on a 1 GiB sample record
# file in DIR (/tmp by default); prints hyperfine's table, the ratios and the
# programs' peak memory on 1 and 4 GiB, then the serial loop
# against the README's xargs -P on 16 files of 256 MiB. Files are read into
# the page cache before every run; with COLD=1 they are dropped from it
# instead, so they come from disk. RUNS: runs of each command (10).
set -euo pipefail
build=$(realpath "${1:?usage: bench/bench.sh BUILD [DIR]}")
dir=$(realpath "${2:-/tmp}")
# shellcheck source=scripts/need_packages.sh
. "$(dirname "$0")/../scripts/need_packages.sh"
need_packages_for bench
export PATH="$build/navdump:$build/navcheck:$build/navspan:$build/bench:$PATH"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

sample() {  # sample FILE MIB: writes FILE, MIB MiB of records, unless it is there
  local records=$(($2 * 1048576 / 136))
  [ "$(stat -c %s "$1" 2>/dev/null)" = $((records * 136)) ] ||
    "$build/tools/write_samples" "$1" "$records" 345600 100
}
timing() {  # timing NAME FILES HYPERFINE_ARG...: prints the table, keeps NAME.csv
  local prepare="cat $2 >/dev/null"
  [ "${COLD:-0}" != 1 ] || prepare="sync $2; for f in $2; do dd if=\"\$f\" iflag=nocache count=0 status=none; done"
  hyperfine --style none --warmup 1 --runs "${RUNS:-10}" --prepare "$prepare" \
    --export-csv "$out/$1.csv" --export-markdown "$out/$1.md" "${@:3}"
  echo; cat "$out/$1.md"
}
ratio() {  # ratio NAME A B: A's median wall time and mean CPU time over B's
  awk -F, -v a="$2" -v b="$3" 'NR > 1 {wall[$1] = $4; cpu[$1] = $5 + $6}
    END {printf "%-24s wall %6.2f   CPU %6.2f\n", a " / " b, wall[a] / wall[b], cpu[a] / cpu[b]}' "$out/$1.csv"
}
peak() {  # peak COMMAND...: peak resident memory in MiB
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | awk 'END {printf "%.2f MiB", $1 / 1024}'
}

echo "$(nproc) cores, Linux $(uname -r), load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
one=$dir/bench_1g.rec
sample "$one" 1024
timing one "$one" \
  -n navdump "navdump $one" \
  -n navcheck "navcheck $one" \
  -n navspan "navspan $one" \
  -n floor "read_floor $one" \
  -n baseline "baseline_navdump $one" \
  -n 'pipe navdump' "cat $one | navdump /dev/stdin" \
  -n 'pipe cat' "cat $one | cat >/dev/null"
ratio one navdump floor
ratio one navcheck floor
ratio one navspan floor
ratio one baseline navdump
ratio one 'pipe navdump' 'pipe cat'

# The same records with 30% of the times NaN, or an infinity among the
# values every 16 to 32 records, at random: navcheck and navspan off their
# fast paths. They find faults there, so status 1 is no failure.
nan=$dir/bench_nan.rec inf=$dir/bench_inf.rec
spoil_samples nan-times "$one" "$nan"
spoil_samples infinite-values "$one" "$inf"
timing spoiled "$nan $inf" -i \
  -n 'navcheck nan' "navcheck $nan" \
  -n 'navspan nan' "navspan $nan" \
  -n 'floor nan' "read_floor $nan" \
  -n 'navcheck inf' "navcheck $inf" \
  -n 'floor inf' "read_floor $inf"
ratio spoiled 'navcheck nan' 'floor nan'
ratio spoiled 'navspan nan' 'floor nan'
ratio spoiled 'navcheck inf' 'floor inf'
rm "$nan" "$inf"
for gib in 1 4; do
  f=$dir/bench_${gib}g.rec
  sample "$f" $((gib * 1024))
  echo "peak memory on $gib GiB: navdump $(peak navdump "$f"), navcheck $(peak navcheck "$f")," \
    "navspan $(peak navspan "$f")"
done
rm "$dir/bench_4g.rec"

mkdir -p "$dir/many"
cd "$dir/many"
for i in $(seq -w 16); do sample "flight $i.rec" 256; done
# shellcheck disable=SC2016  # $f and $1 belong to the shell hyperfine starts
timing many '*.rec' \
  -n serial 'for f in *.rec; do navdump "$f" >"$f.txt" 2>"$f.count"; done' \
  -n "xargs -P$(nproc)" "find . -maxdepth 1 -type f -name '*.rec' -print0 |
    xargs -0 -r -n 1 -P $(nproc) sh -c 'navdump \"\$1\" >\"\$1.txt\" 2>\"\$1.count\"' sh"
ratio many serial "xargs -P$(nproc)"
echo "load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
