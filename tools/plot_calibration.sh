#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# plot_calibration.sh RADCON [OUTPUT.svg]: draws radcon's count calibration
# table with gnuplot: xzhh and xzff against the count, the bracketed linear
# values below the quadratic-to-linear switch, and the switch at 400.
# RADCON is the program to run (build-demo/radcon/radcon after the demo, or
# radcon once installed); OUTPUT defaults to docs/calibration.svg. Installs
# gnuplot-nox when no gnuplot is found.
set -euo pipefail
radcon=${1:?usage: plot_calibration.sh RADCON [OUTPUT.svg]}
output=${2:-docs/calibration.svg}
command -v "$radcon" >/dev/null || { echo "plot_calibration.sh: no program $radcon" >&2; exit 1; }
if ! command -v gnuplot >/dev/null; then
  # shellcheck source=scripts/need_packages.sh
  . "$(dirname "$0")/../scripts/need_packages.sh"
  need_packages_for plot
fi
data=$(mktemp)
below=$(mktemp)
trap 'rm -f "$data" "$below"' EXIT
# count xzhh linear_h xzff linear_f, from rows like
#  i= 400  rrm= 5.0 km | xzhh=  31.52( 31.93)  xzff=  32.33( 32.46)
"$radcon" | sed -n 's/^ i= *\([0-9]*\) .*xzhh= *\([-0-9.]*\)( *\([-0-9.]*\))  xzff= *\([-0-9.]*\)( *\([-0-9.]*\))$/\1 \2 \3 \4 \5/p' >"$data"
awk '$1 <= 400' "$data" >"$below"
gnuplot <<GNUPLOT
set terminal svg size 900,520 dynamic enhanced font "sans,13" background rgb "white"
set output "$output"
set title "radcon: calibrated value over the count (range 5 km)"
set xlabel "count n"
set ylabel "calibrated value (dB)"
set key right bottom
set grid
set xrange [0:4095]
set yrange [-40:120]
set arrow from 400, graph 0 to 400, graph 1 nohead dashtype 2 linecolor rgb "gray40"
set label "quadratic | linear fit" at 420, graph 0.06 textcolor rgb "gray30"
plot "$data" using 1:2 with lines linewidth 2 linecolor rgb "#1f77b4" title "xzhh (H)", \
     "$data" using 1:4 with lines linewidth 2 linecolor rgb "#d62728" title "xzff (F)", \
     "$below" using 1:3 with lines linewidth 1.5 linecolor rgb "#6baed6" title "H linear fit (bracketed), n <= 400", \
     "$below" using 1:5 with lines linewidth 1.5 linecolor rgb "#fc9272" title "F linear fit (bracketed), n <= 400"
GNUPLOT
echo "wrote $output"
