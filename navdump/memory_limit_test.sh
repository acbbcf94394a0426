#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# memory_limit_test.sh WRITE_SAMPLES NAVDUMP: runs navdump on a file and on a
# pipe, skipping and (with strace refusing every skip) reading, under
# address-space limits rising from 3000 KiB in steps of 200 KiB. Below some
# limit the loader cannot start it (127); from there on every run must list
# correctly (0) or report an ERROR line (247), never abort or crash, and the
# last limit must list correctly. Prints the statuses seen.
set -u
write_samples=$1 navdump=$2
work=$(mktemp -d /tmp/navdump_memory_limit.XXXXXX)
trap 'rm -rf "$work"' EXIT
records=6001
"$write_samples" "$work/in.rec" $records 345600 50 >/dev/null || exit 1
head -c 100 /dev/zero >>"$work/in.rec"
want=$("$navdump" "$work/in.rec" 2>/dev/null) && [ -n "$want" ] || { echo "FAIL: no listing"; exit 1; }
refuse_skips=(strace -f -qq -o /dev/null -e trace=sendfile,splice
  -e inject=sendfile,splice:error=EPERM)
ways=("skipping")
if "${refuse_skips[@]}" true 2>/dev/null; then ways+=("reading"); else echo "strace cannot trace here: skips only"; fi

failures=0
for way in "${ways[@]}"; do
  for input in file pipe; do
    seen= started=0 status=
    for ((limit = 3000; limit <= 9000; limit += 200)); do
      limited=(timeout 10 prlimit --as=$((limit * 1024)) "$navdump")
      [ "$way" = reading ] && limited=(timeout 10 "${refuse_skips[@]}" prlimit --as=$((limit * 1024)) "$navdump")
      if [ $input = file ]; then
        out=$("${limited[@]}" "$work/in.rec" 2>"$work/err")
      else
        out=$(cat "$work/in.rec" | "${limited[@]}" /dev/stdin 2>"$work/err")
      fi
      status=$?
      err=$(cat "$work/err")
      case $status in
        127) ok=$((1 - started)) ;;
        0) started=1; [ "$out" = "$want" ] && [ "$err" = "record # $records" ] && ok=1 || ok=0 ;;
        247) started=1; grep -q '^ERROR: ' <<<"$err" && ok=1 || ok=0 ;;
        *) ok=0 ;;
      esac
      if [ $ok -ne 1 ]; then
        echo "FAIL: $way $input at $limit KiB: status $status: $err"
        failures=$((failures + 1))
      fi
      last=${seen##* }
      [ "${last%%@*}" = "$status" ] || seen="$seen $status@$limit"
    done
    [ "$status" = 0 ] || { echo "FAIL: $way $input does not list at the last limit"; failures=$((failures + 1)); }
    echo "$way $input: status@from-KiB:$seen"
  done
done
[ $failures -eq 0 ]
