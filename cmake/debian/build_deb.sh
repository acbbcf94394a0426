#!/bin/sh
# SPDX-License-Identifier: MIT
# build_deb.sh SOURCE_DIR BUILD_DIR VERSION SUMMARY: the Debian package of
# what BUILD_DIR's install rules install, as BUILD_DIR/navtools_VERSION_ARCH.deb.
# One commit gives the same bytes whatever the build folder, umask, time
# zone, locale and time of day.
set -eu
src=$1 build=$2 version=$3 summary=$4
changelog=$src/cmake/debian/changelog
head -n 1 "$changelog" | grep -q "^navtools ($version) " ||
  { echo "$changelog: the newest entry is not version $version" >&2; exit 1; }

# Every time in the package: SOURCE_DATE_EPOCH when set, else the time of the
# last commit of the source tree's own repository (not of one it happens to
# lie in), else the newest changelog entry's date.
if [ -z "${SOURCE_DATE_EPOCH+set}" ]; then
  if [ "$(git -c safe.directory='*' -C "$src" rev-parse --show-toplevel 2>/dev/null)" = "$(realpath "$src")" ]; then
    SOURCE_DATE_EPOCH=$(git -c safe.directory='*' -C "$src" log -1 --format=%ct)
  else
    SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$changelog" -STimestamp)
  fi
  export SOURCE_DATE_EPOCH
fi

# The staging root lies in debian/ beside the control file dpkg-shlibdeps reads.
work=$build/deb
root=$work/debian/navtools
rm -rf "$work"
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
doc=$root/usr/share/doc/navtools
mkdir -p "$doc" "$root/DEBIAN"
cp "$src/cmake/debian/copyright" "$doc"
gzip -9n <"$changelog" >"$doc/changelog.gz"
find "$root/usr/share/man" -type f -exec gzip -9n {} +
strip --remove-section=.comment --remove-section=.note "$root"/usr/bin/*

printf 'Source: navtools\n\nPackage: navtools\nArchitecture: any\n' >"$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O "$root"/usr/bin/*)
# In KiB: each file's size rounded up, 1 for each folder.
size=$(find "$root/usr" -printf '%y %s\n' | awk '{ k += $1 == "f" ? int(($2 + 1023) / 1024) : 1 } END { print k }')
arch=$(dpkg --print-architecture)
cat >"$root/DEBIAN/control" <<END
Package: navtools
Version: $version
Architecture: $arch
Maintainer: navtools maintainers <maintainers@users.noreply.c-seed-0ae1b8b5.example>
Installed-Size: $size
Depends: ${depends#shlibs:Depends=}
Section: science
Priority: optional
Description: $summary
 navdump lists every 3000th record of a flat binary file of 136-byte sample
 records (a GPS time and sixteen values, six of them angles converted to
 degrees) and reports the record count; navcheck tells which of many such
 files, plain or compressed by gzip, xz, zstd or bzip2, are damaged (cut
 short, with gaps, steps back in time, values that are not finite or
 corrupt compressed data), one table row per file; radcon prints the
 calibration constants of radar channels H, V and F and the calibrated
 value of H and F over a 12-bit count. All print exact, diffable text.
END
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$root/DEBIAN/md5sums"

chmod -R a-st,u=rwX,go=rX "$root"
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
# dpkg-deb sorts the members and takes the ar and tar times from
# SOURCE_DATE_EPOCH; its gzip header holds neither a name nor a time.
dpkg-deb --root-owner-group -Zgzip --build "$root" "$build/navtools_${version}_$arch.deb"
