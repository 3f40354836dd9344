#!/usr/bin/env bash
# install_test.sh BUILD_DIR SOURCE_DIR APP_ID VERSION RELEASE_DATE
# No pipefail: `producer | grep -q` would fail whenever grep, done at its
# first match, closes the pipe before the producer has written everything.
set -u
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd) app_id=$3 version=$4 release_date=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Runs a command; a non-zero exit or any output on its error stream fails.
quiet_ok() {
  local what=$1; shift
  local err
  if ! err=$("$@" 2>&1 >/dev/null) || [ -n "$err" ]; then fail "$what: $err"; fi
}

# DESTDIR on top of a prefix, as a package build does it.
prefix=/opt/halvix-test
DESTDIR="$work/stage" cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
root="$work/stage$prefix"

for f in bin/halvix bin/halvix-navlog \
         share/halvix/doc/halvix.html share/halvix/doc/addcheck.html \
         "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
         share/mime/packages/halvix-plan.xml \
         "share/icons/hicolor/scalable/apps/$app_id.svg" \
         "share/icons/hicolor/48x48/apps/$app_id.png" "share/icons/hicolor/256x256/apps/$app_id.png" \
         share/man/man1/halvix.1.gz share/man/man1/halvix-navlog.1.gz \
         share/halvix/wmm2025/WMM2025.COF share/doc/halvix/copyright share/doc/halvix/changelog.gz; do
  [ -f "$root/$f" ] || fail "not installed: $f"
done
for f in share/halvix/wmm2025/README.md share/halvix/wmm2025/test-values.csv; do
  [ ! -e "$root/$f" ] || fail "installed, though only for developers: $f"
done
# Licence and history as Debian reads them.
head -n 1 "$root/share/doc/halvix/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not machine-readable"
grep -q '^License: public-domain' "$root/share/doc/halvix/copyright" || fail "copyright omits the magnetic model"
zcat "$root/share/doc/halvix/changelog.gz" | head -n 1 | grep -q "^halvix ($version) " ||
  fail "changelog does not begin with $version"
# Nothing of this machine's folders is compiled in (debugging data aside).
for p in halvix halvix-navlog; do
  [ -n "${HALVIX_SANITIZED_BUILD:-}" ] && break
  objcopy --strip-debug "$root/bin/$p" "$work/$p.stripped" &&
    ! grep -q -a -e "$build" -e "$src" "$work/$p.stripped" || fail "$p holds a path of the build"
done
for size in 48 256; do
  file "$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png" | grep -q "$size x $size" ||
    fail "icon of $size px has another size"
done
[ -x "$root/bin/halvix" ] && [ -x "$root/bin/halvix-navlog" ] || fail "programs not executable"

# The desktop entry launches the program with the plan it was given.
desktop="$root/share/applications/$app_id.desktop"
quiet_ok "desktop-file-validate" desktop-file-validate "$desktop"
grep -qx 'Exec=halvix %f' "$desktop" || fail "desktop entry does not pass the file"
grep -qx 'MimeType=application/x-halvix-plan;' "$desktop" || fail "desktop entry lacks the plan type"
grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry names another icon"

# The file type compiles, and a plan is known by its name and by its first section.
mkdir -p "$work/mime/packages"
cp "$root/share/mime/packages/halvix-plan.xml" "$work/mime/packages/"
quiet_ok "xmllint" xmllint --noout "$work/mime/packages/halvix-plan.xml"
# In the search path, so the tool has no reason to warn.
quiet_ok "update-mime-database" env XDG_DATA_HOME="$work" update-mime-database "$work/mime"
# Beside another program's type for *.flt, text or not, only plans are claimed.
cat >"$work/mime/packages/other.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-other-flt">
    <sub-class-of type="text/plain"/><glob pattern="*.flt"/>
  </mime-type>
</mime-info>
XML
check_type() {  # FILE EXPECTED
  local got
  got=$(XDG_DATA_HOME="$work" XDG_DATA_DIRS="$work" gio info -a standard::content-type "$1" |
        sed -n 's/^ *standard::content-type: //p')
  [ "$got" = "$2" ] || fail "$(basename "$1") is '$got', not $2"
}
mkdir "$work/files"
cp "$src/examples/sample.flt" "$work/files/trip.flt"
cp "$src/examples/sample.flt" "$work/files/trip"
{ printf '\xef\xbb\xbf'; cat "$src/examples/sample.flt"; } >"$work/files/bom.flt"
printf 'FILTER 1\n[coefficients]\n' >"$work/files/filter.flt"
printf 'FLT\0\1\2\377' >"$work/files/binary.flt"
for alone in no yes; do
  XDG_DATA_HOME="$work" update-mime-database "$work/mime" || fail "update-mime-database"
  grep -qx 'application/x-halvix-plan text/plain' "$work/mime/subclasses" || fail "a plan is not text"
  check_type "$work/files/trip.flt" application/x-halvix-plan
  check_type "$work/files/trip" application/x-halvix-plan
  check_type "$work/files/bom.flt" application/x-halvix-plan
  if [ $alone = no ]; then
    check_type "$work/files/filter.flt" application/x-other-flt
    check_type "$work/files/binary.flt" application/x-other-flt
    rm "$work/mime/packages/other.xml"
  else
    check_type "$work/files/filter.flt" application/x-halvix-plan
  fi
done

# The software centre's description is valid, and names this release.
metainfo="$root/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/as.out" 2>&1 || fail "appstreamcli: $(cat "$work/as.out")"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "metainfo lacks the licence"

# Manual pages render without a warning and show the version and date.
for page in halvix halvix-navlog; do
  out=$(MANWIDTH=80 man --warnings -l "$root/share/man/man1/$page.1.gz" 2>"$work/man.err") ||
    fail "man -l $page"
  [ -s "$work/man.err" ] && fail "man $page warns: $(cat "$work/man.err")"
  grep -q "Halvix $version" <<<"$out" || fail "man $page lacks the version"
  grep -q "$release_date" <<<"$out" || fail "man $page lacks the release date"
done
manual="$root/share/halvix/doc/halvix.html"
grep -q "Halvix Version $version " "$manual" || fail "the manual lacks the version"
grep -q "$release_date" "$manual" || fail "the manual lacks the release date"
grep -q '@[A-Z_]*@' "$manual" && fail "the manual keeps a placeholder"

# The installed programs run from a directory whose stray manual page does not
# stand in for the installed one.
cd "$work" || exit 1
echo '<html></html>' >"$work/halvix.html"
"$root/bin/halvix-navlog" "$src/examples/sample.flt" >"$work/log.txt" || fail "installed halvix-navlog"
grep -q Total "$work/log.txt" || fail "installed halvix-navlog printed no Total row"
# GRIB2 forecasts are decoded by the installed module, loaded on first use;
# the sample plan's legs have no coordinates, which only a read file reports.
for p in u v t gh; do
  grib_set -s shortName=$p,level=850 "$(codes_info -s)/regular_ll_pl_grib2.tmpl" "$work/$p.grib2"
done
cat "$work"/{u,v,t,gh}.grib2 >"$work/winds.grib2"
out=$("$root/bin/halvix-navlog" --winds "$work/winds.grib2" "$src/examples/sample.flt" 2>&1 >/dev/null)
grep -q "not filled: no coordinates" <<<"$out" || fail "installed halvix-navlog reads no GRIB2 file: $out"
# So is the chart's GeoTIFF writer; and the desktop program starts without
# loading any library its modules bring.
XDG_CACHE_HOME="$work" "$root/bin/halvix-navlog" --chart "$work/route.tif" --chart-size 300x200 \
  "$src/examples/sample-route.gpx" >/dev/null 2>&1 && [ -s "$work/route.tif" ] ||
  fail "installed halvix-navlog writes no chart"
ldd "$root/bin/halvix" | grep -E 'lib(eccodes|netcdf|hdf5|tiff|geotiff)' &&
  fail "halvix links a library its modules load"
found=$("$root/bin/halvix" --manual-path) || fail "installed halvix finds no manual"
[ "$found" = "$root/share/halvix/doc/halvix.html" ] || fail "manual found at '$found'"
found=$("$root/bin/halvix" --manual-path addcheck) || fail "installed halvix finds no addcheck page"
[ "$found" = "$root/share/halvix/doc/addcheck.html" ] || fail "addcheck page found at '$found'"
# Beside a toolkit option too, and without starting the window.
found=$(timeout 20 "$root/bin/halvix" -platform offscreen --manual-path) || fail "with -platform"
[ "$found" = "$root/share/halvix/doc/halvix.html" ] || fail "with -platform: manual at '$found'"
timeout 20 "$root/bin/halvix" --no-such-option 2>/dev/null
[ $? -eq 2 ] || fail "an unknown option does not exit with status 2"
"$root/bin/halvix" --version | grep -qx "halvix $version" || fail "halvix --version"

# A per-user install (no DESTDIR) registers the plan type at once: the desktop
# finds Halvix for a plan and starts it with the plan, as on a double click.
home="$work/home" data="$work/home/.local/share"
mkdir -p "$work/stub"
printf '#!/bin/sh\necho "$@" >"%s"\n' "$work/started" >"$work/stub/halvix"
chmod +x "$work/stub/halvix"
as_user() { env -u DESTDIR HOME="$home" XDG_DATA_HOME="$data" XDG_DATA_DIRS="$work/none" \
              XDG_CONFIG_HOME="$home/.config" PATH="$work/stub:$PATH" "$@"; }
as_user cmake --install "$build" --prefix "$home/.local" >/dev/null || fail "per-user install"
grep -qx "application/x-halvix-plan=$app_id.desktop;" "$data/applications/mimeinfo.cache" ||
  fail "per-user install: the desktop database lacks the plan type"
as_user gio mime application/x-halvix-plan | grep -q "^Default application.*: $app_id.desktop" ||
  fail "per-user install: no default program for plans"
[ "$(as_user gio info -a standard::content-type "$work/files/trip.flt" |
     sed -n 's/^ *standard::content-type: //p')" = application/x-halvix-plan ] ||
  fail "per-user install: a plan is not known"
as_user gio open "$work/files/trip.flt"
for _ in $(seq 50); do [ -s "$work/started" ] && break; sleep 0.1; done
[ "$(cat "$work/started" 2>/dev/null)" = "$work/files/trip.flt" ] || fail "opening a plan does not start halvix"

[ "$failures" -eq 0 ] && echo "installed tree under $prefix is complete"
exit $((failures > 0))
