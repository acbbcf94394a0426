# SPDX-License-Identifier: MIT
# navcheck on files compressed by the command-line tools gzip, xz, zstd and
# bzip2: the row of cut_record.rec (12000 records and 100 bytes) but for the
# file and the format, and "corrupt" in the verdict for damaged data.
# Included from navcheck/CMakeLists.txt.

# Each format: the whole file; two halves compressed one after the other,
# zero bytes after them; through a pipe in packets of a page; the whole file
# with other bytes after it, or with its last check failed (every record is
# still there); cut short after 8 bytes (inside gzip's and xz's header) or
# half-way.
navtools_cli_test(navcheck_reads_compressed_files [[
  raw=$(navcheck ../checks/cut_record.rec | tail -n 1 | cut -f 3-15)
  row() {  # file, format, verdict: the row is cut_record.rec's, the verdict the one given
    navcheck "$1" >out 2>err; expect 1 ''
    test "$(tail -n 1 out)" = "$1	$2	$raw	$3" || { echo "$(tail -n 1 out), wanted $2 $3"; exit 1; }
  }
  flip() {  # file, offset from the end: its byte there inverted
    at=$(($(wc -c <"$1") - $2))
    byte=$(od -An -tu1 -j "$at" -N 1 "$1" | tr -d ' ')
    printf "\\$(printf %o $((byte ^ 255)))" | dd of="$1" bs=1 seek="$at" conv=notrunc status=none
  }
  head -c 800000 ../checks/cut_record.rec >first
  tail -c +800001 ../checks/cut_record.rec >second
  # The format, and the offset from the end of a byte of its last check.
  for format in gzip:8 xz:12 zstd:4 bzip2:2; do
    tool=${format%:*}
    compress() { "$tool" -c -q "$1"; }
    compress ../checks/cut_record.rec >$tool
    row $tool $tool truncated
    { compress first; compress second; head -c 1000 /dev/zero; } >joined
    row joined $tool truncated
    dd if=$tool bs=4096 oflag=direct status=none 2>/dev/null | navcheck /dev/stdin >out 2>err
    expect 1 ''
    test "$(tail -n 1 out)" = "/dev/stdin	$tool	$raw	truncated" || exit 1
    for bytes in '\000\000\001' x; do
      { cat $tool; printf "$bytes"; } >trailing
      row trailing $tool corrupt,truncated
    done
    cp $tool check && flip check ${format#*:}
    row check $tool corrupt,truncated
    head -c 8 $tool >header
    navcheck header >out 2>err; expect 1 ''
    test "$(tail -n 1 out | cut -f 2,3,4,16)" = "$tool	0	0	corrupt,empty" || exit 1
    head -c $(($(wc -c <$tool) / 2)) $tool >half
    navcheck half >out 2>err; expect 1 ''
    test "$(tail -n 1 out | cut -f 2)" = $tool || exit 1
    tail -n 1 out | cut -f 16 | grep -Eq "^corrupt(,|$)" || exit 1
  done
  # zstd: skippable frames at the start and between frames.
  { printf '\132\052\115\030\003\000\000\000abc'; zstd -c -q first
    printf '\120\052\115\030\000\000\000\000'; zstd -c -q second; } >skippable
  row skippable zstd truncated]] navcheck_cli_files)

# A raw file may begin like a gzip file: here the header's own check fails
# after a name of 20000 bytes, which comes through a pipe in packets of 100
# bytes. Every byte read until then is a record file's.
navtools_cli_test(navcheck_reads_raw_files_that_begin_like_gzip [[
  { printf '\037\213\010\012\000\000\000\000\000\003'; head -c 20000 /dev/zero | tr '\000' a
    printf '\000\000\000'; cat ../checks/cut_record.rec; } >raw
  size=$(wc -c <raw)
  dd if=raw bs=100 oflag=direct status=none 2>/dev/null | navcheck /dev/stdin >out 2>err; expect 1 ''
  test "$(tail -n 1 out | cut -f 2,3,4)" = "raw	$((size / 136))	$((size % 136))"]]
  navcheck_cli_files)

# A file whose decoder would need more than 128 MiB (a window or dictionary
# of 256 or 192 MiB, written from a pipe, so that the tool cannot fit it to
# the data) is unreadable; the run goes on.
navtools_cli_test(navcheck_refuses_decoders_over_128_mib [[
  zstd -c -q --zstd=wlog=28 <../checks/one_record.rec >large.zst
  xz -c --lzma2=dict=192MiB,mf=bt2 <../checks/one_record.rec >large.xz
  navcheck large.zst large.xz ../checks/one_record.rec >out 2>err
  expect 247 'ERROR: cannot read the input file: large.zst
ERROR: cannot read the input file: large.xz'
  { head -n 1 "$SOURCE/navcheck/check_cases.expected"; unreadable_row large.zst
    unreadable_row large.xz
    grep '^one_record' "$SOURCE/navcheck/check_cases.expected" | sed 's|^|../checks/|'; } | diff -u - out]]
  navcheck_cli_files)
