#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# memory_limit_test.sh WRITE_SAMPLES NAVDUMP...: runs each navdump build on a
# file and on a pipe under address-space limits from 3000 to 12000 KiB.
# Every run must fail to start (127), list correctly (0), or report an
# ERROR line (247); never abort or crash. Prints the statuses seen.
set -u
write_samples=$1
shift
work=$(mktemp -d /tmp/navdump_memory_limit.XXXXXX)
trap 'rm -rf "$work"' EXIT
records=6001
"$write_samples" "$work/in.rec" $records 345600 50 >/dev/null || exit 1
head -c 100 /dev/zero >>"$work/in.rec"

failures=0
for navdump in "$@"; do
  want=$("$navdump" "$work/in.rec" 2>/dev/null)
  for input in file pipe; do
    seen=
    for ((limit = 3000; limit <= 12000; limit += 100)); do
      limited=(timeout 10 prlimit --as=$((limit * 1024)) "$navdump")
      if [ $input = file ]; then
        out=$("${limited[@]}" "$work/in.rec" 2>"$work/err")
      else
        out=$(cat "$work/in.rec" | "${limited[@]}" /dev/stdin 2>"$work/err")
      fi
      status=$?
      err=$(cat "$work/err")
      case $status in
        127) ok=1 ;;
        0) [ "$out" = "$want" ] && [ "$err" = "record # $records" ] && ok=1 || ok=0 ;;
        247) grep -q '^ERROR: ' <<<"$err" && ok=1 || ok=0 ;;
        *) ok=0 ;;
      esac
      if [ $ok -ne 1 ]; then
        echo "FAIL: $(basename "$navdump") $input at $limit KiB: status $status: $err"
        failures=$((failures + 1))
      fi
      last=${seen##* }
      [ "${last%%@*}" = "$status" ] || seen="$seen $status@$limit"
    done
    echo "$(basename "$navdump") $input: status@from-KiB:$seen"
  done
done
[ $failures -eq 0 ]
