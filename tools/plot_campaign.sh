#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# plot_campaign.sh TABLE [OUTPUT.svg]: draws navspan's table of a campaign
# with gnuplot: one line per file, in the table's order, each span a bar
# over the hours from the campaign's first time; a marker where a span
# begins after a gap, a step back, a hole or an overlap; a dashed line where
# a flight begins; a note on the files without a span. The title holds the
# files, the hours from first to last time and the time missing. Above 60
# files every n-th is named. OUTPUT defaults to docs/campaign.svg. Installs
# gnuplot-nox when no gnuplot is found.
set -euo pipefail
table=${1:?usage: plot_campaign.sh TABLE [OUTPUT.svg]}
output=${2:-docs/campaign.svg}
[ -r "$table" ] || { echo "plot_campaign.sh: cannot read $table" >&2; exit 1; }
if ! command -v gnuplot >/dev/null; then
  # shellcheck source=scripts/need_packages.sh
  . "$(dirname "$0")/../scripts/need_packages.sh"
  need_packages_for plot
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Into $dir: bars (start end line, in hours), one file of markers per kind
# (start line), notes (x line word), flights (start), and setup.gp: ranges,
# title, and the file names as y tics, in gnuplot's single quotes, which take
# any text. Bytes that are not UTF-8 are dropped, control characters
# shown as ?, so that the SVG stays well-formed.
iconv -c -f UTF-8 -t UTF-8 <"$table" | LC_ALL=C awk -F '\t' -v dir="$dir" '
function hours(t) { return (t - t0) / 3600 }
function span(s) {
  s = s < 0 ? -s : s
  return s < 60 ? sprintf("%.1f s", s) : s < 3600 ? sprintf("%.1f min", s / 60) : sprintf("%.2f h", s / 3600)
}
BEGIN { files = spans = notes = 0 }
NR == 1 {
  if ($0 != "file\trecord\trecords\tstart_s\tend_s\tmissing_s\tkind") { print "not a navspan table" > "/dev/stderr"; bad = 1; exit 1 }
  next
}
$7 == "total" { start = $4; end = $5; missing = $6; next }
{
  if ($1 != last || $7 !~ /^(gap|back|corrupt)$/) { name[files++] = $1; x_end = "" }
  last = $1
  if ($4 == "-") { note_y[notes] = files - 1; note_x[notes] = x_end; note[notes++] = $7; next }
  s_start[spans] = $4; s_end[spans] = $5; s_y[spans] = files - 1; s_kind[spans++] = $7
  x_end = $5
  if (first == "" || $4 + 0 < first + 0) first = $4
}
END {
  if (bad) exit 1
  if (files == 0) { print "no files in the table" > "/dev/stderr"; exit 1 }
  t0 = start != "" && start != "-" ? start : first + 0
  lo = hi = 0
  for (i = 0; i < spans; i++) {
    a = hours(s_start[i]); b = hours(s_end[i])
    if (a < lo) lo = a
    if (b > hi) hi = b
    printf "%.6f\t%.6f\t%d\n", a, b, s_y[i] > (dir "/bars")
    if (s_kind[i] ~ /^(gap|back|hole|overlap)$/) printf "%.6f\t%d\n", a, s_y[i] > (dir "/" s_kind[i])
    if (s_kind[i] ~ /^(start|flight)$/) printf "%.6f\n", a > (dir "/flights")
  }
  if (hi == lo) hi = lo + 1
  for (i = 0; i < notes; i++)
    printf "%.6f\t%d\t%s\n", (note_x[i] == "" ? lo : hours(note_x[i])), note_y[i], note[i] > (dir "/notes")
  setup = dir "/setup.gp"
  pad = (hi - lo) / 50
  printf "set xrange [%.6f:%.6f]\nset yrange [%.1f:-0.5]\nfiles = %d\n", lo - pad, hi + (notes ? 4 : 1) * pad, files - 0.5, files > setup
  height = files < 14 ? 360 : 150 + 16 * files
  printf "set terminal svg size 1000,%d dynamic noenhanced font \"sans,12\" background rgb \"white\"\n", (height > 1000 ? 1000 : height) > setup
  title = "navspan: " files " file" (files == 1 ? "" : "s")
  if (spans) title = title ", " span(end != "" && end != "-" ? end - t0 : hi * 3600) " from first to last time"
  else title = title ", none with a good time"
  if (missing != "" && missing != "-") title = title ", " span(missing) (missing < 0 ? " overlapping" : " missing")
  printf "set title \"%s\"\n", title > setup
  printf "set xlabel \"hours from the first time (%.3f s)\"\nset tmargin 4\n", t0 > setup
  printf "set pointsize %.1f\n", (files > 60 ? 0.8 : 1.3) > setup
  step = int((files + 59) / 60)
  printf "set ytics (" > setup
  for (i = 0; i < files; i += step) {
    label = name[i]
    if (length(label) > 40) { label = substr(label, length(label) - 36); sub(/^[\200-\277]+/, "", label); label = "..." label }
    gsub(/[\001-\037]/, "?", label); gsub(/\047/, "\047\047", label)
    printf "%s\\\n  \047%s\047 %d", i ? "," : "", label, i > setup
  }
  print ")" > setup
}'
# draw FILE HOW: plots FILE of $dir HOW, if awk wrote it.
plots=()
draw() { [ ! -s "$dir/$1" ] || plots+=("'$1' $2"); }
draw bars "using ((\$1+\$2)/2):3:1:2:(\$3-0.3):(\$3+0.3) with boxxyerror fillstyle solid 1.0 linecolor rgb '#7a9cc6' title 'span'"
draw gap "using 1:2 with points pointtype 9 linecolor rgb '#e08a00' title 'gap in a file'"
draw back "using 1:2 with points pointtype 11 linecolor rgb '#8c564b' title 'step back in a file'"
draw hole "using 1:2 with points pointtype 7 linecolor rgb '#d62728' title 'hole between files'"
draw overlap "using 1:2 with points pointtype 13 linecolor rgb '#9467bd' title 'overlap of files'"
draw notes "using 1:2:3 with labels left offset 0.5,0 textcolor rgb 'gray30' notitle"
draw flights "using 1:(-0.5):(0):(files) with vectors nohead dashtype 2 linecolor rgb 'gray30' title 'new flight'"
draw flights "using 1:(-0.5):(sprintf('flight %d', \$0 + 1)) with labels offset 0,0.6 textcolor rgb 'gray30' font ',10' notitle"
(
  cd "$dir"
  IFS=,
  gnuplot <<GNUPLOT
load "setup.gp"
set key outside below horizontal reverse Left samplen 2 maxcols 3
set grid xtics ytics linecolor rgb "gray85"
set datafile separator "\t"
plot ${plots[*]}
GNUPLOT
) >"$dir/plot.svg"
mv "$dir/plot.svg" "$output"
echo "wrote $output"
