#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# io_fault_test.sh FAULT_FS WRITE_SAMPLES NAVDUMP: runs navdump on files
# served by fault_fs (odd-sized reads; EIO from a chosen offset) and checks
# blocks, count line, error line and exit status against a run on the plain
# file; once as it runs, skipping in the kernel, and once with strace failing
# every sendfile and splice with EPERM, as a sandbox may, so that navdump
# reads everything. Exits 77 (skipped) where FUSE cannot be mounted.
set -u
fault_fs=$1 write_samples=$2 navdump=$3
skip() { echo "SKIPPED: $*"; exit 77; }
[ -n "$fault_fs" ] && [ -x "$fault_fs" ] || skip "fault_fs was not built (libfuse3-dev missing)"
[ -e /dev/fuse ] || skip "/dev/fuse is missing"
command -v fusermount3 >/dev/null || skip "fusermount3 is missing (package fuse3)"
command -v strace >/dev/null || { echo "strace is missing (package strace)"; exit 1; }
# LeakSanitizer cannot run under ptrace: a sanitized build checks for leaks
# in the runs without strace.
refuse_skips=(env ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o /dev/null
  -e trace=sendfile,splice -e inject=sendfile,splice:error=EPERM)
"${refuse_skips[@]}" true || skip "strace cannot trace here"

work=$(mktemp -d /tmp/navdump_io_fault.XXXXXX)
mnt=$work/mnt
fs_pid=
cleanup() {
  if mountpoint -q "$mnt" 2>/dev/null; then
    fusermount3 -u "$mnt" 2>/dev/null || fusermount3 -uz "$mnt" 2>/dev/null
  fi
  [ -n "$fs_pid" ] && kill "$fs_pid" 2>/dev/null && wait "$fs_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# 69001 records and a trailing partial one.
records=69001
"$write_samples" "$work/backing.rec" $records 345600 50 >/dev/null || exit 1
head -c 77 /dev/zero >>"$work/backing.rec"
mkdir "$mnt"
"$fault_fs" "$work/backing.rec" "$mnt" -f -s -o auto_unmount >"$work/fs.log" 2>&1 &
fs_pid=$!
for _ in $(seq 100); do
  [ -e "$mnt/odd_reads" ] && break
  kill -0 "$fs_pid" 2>/dev/null || skip "cannot mount a FUSE filesystem here: $(head -c 300 "$work/fs.log")"
  sleep 0.1
done
[ -e "$mnt/odd_reads" ] || { echo "fault_fs did not come up"; exit 1; }

failures=0
check() {  # NAME WANT GOT
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"
    echo "  want: $(printf '%q' "$2")"
    echo "  got:  $(printf '%q' "$3")"
    failures=$((failures + 1))
  fi
}

want_out=$(timeout 30 "$navdump" "$work/backing.rec" 2>/dev/null)
for build in skipping reading; do
  run=(timeout 30 "$navdump")
  [ $build = reading ] && run=(timeout 30 "${refuse_skips[@]}" "$navdump")
  got_out=$("${run[@]}" "$mnt/odd_reads" 2>"$work/err")
  status=$?
  check "$build odd reads: status" 0 $status
  check "$build odd reads: listing" "$want_out" "$got_out"
  check "$build odd reads: count" "record # $records" "$(cat "$work/err")"

  # Page-aligned offsets (the page cache fails whole pages): the first
  # record; a skipped span; 72 bytes into listed record 69000.
  for case in "0 0" "$((150 * 4096)) 4517" "$((2291 * 4096)) 68999"; do
    read -r offset count <<<"$case"
    path=$mnt/fail_at_$offset
    got_out=$("${run[@]}" "$path" 2>"$work/err")
    status=$?
    check "$build EIO at $offset: status" 247 $status
    check "$build EIO at $offset: listing" \
      "$(head -n $((count / 3000 * 3)) <<<"$want_out")" "$got_out"
    check "$build EIO at $offset: messages" \
      "record # $count"$'\n'"ERROR: cannot read the input file: $path" "$(cat "$work/err")"
  done
done
[ $failures -eq 0 ] && echo "all I/O fault runs passed"
[ $failures -eq 0 ]
