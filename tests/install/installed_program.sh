#!/bin/sh
# Runs the program installed under ROOT (a staged root: DESTDIR or an unpacked
# package) as an installed program: its data from ROOT's share folder, its
# program folder in the user's data folder, here a HOME of the test's own.
set -eu
root=$1
prefix=$root/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

for f in bin/vorlu-optical share/vorlu-optical/demo/network.json share/vorlu-optical/docs/user-guide.html \
         share/vorlu-optical/media/vid1.x share/applications/org.vorlu.Optical.desktop \
         share/metainfo/org.vorlu.Optical.metainfo.xml share/icons/hicolor/scalable/apps/org.vorlu.Optical.svg \
         share/icons/hicolor/48x48/apps/org.vorlu.Optical.png share/icons/hicolor/128x128/apps/org.vorlu.Optical.png \
         share/man/man1/vorlu-optical.1.gz; do
    [ -e "$prefix/$f" ] || fail "$f not installed"
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
unset DISPLAY WAYLAND_DISPLAY

version=$("$prefix/bin/vorlu-optical" --version)
case $version in "vorlu-optical "[0-9]*) ;; *) fail "--version printed '$version'" ;; esac

# The demo network of the install, checked with no display; the demo has a red drive.
status=0
"$prefix/bin/vorlu-optical" --diagnose-all --demo --export "$home/fleet.prom" >"$home/out.txt" || status=$?
head -1 "$home/out.txt" | grep -q '^OPTICAL [A-Z]* - .* | ' || fail "no check output: $(cat "$home/out.txt")"
[ "$status" -le 2 ] || fail "the check could not run ($status): $(cat "$home/out.txt")"
[ -s "$XDG_DATA_HOME/vorlu-optical/demo/lg.ini" ] || fail "the demo folder is not in the user's data folder"
grep -q '^vorlu_optical_drive_state{' "$home/fleet.prom" || fail "no drive in the exported file"
# Nothing written beside the installed program.
[ -z "$(find "$root" -newer "$prefix/bin/vorlu-optical" -name '*.ini')" ] || fail "files written into the install"
echo "installed program ok: $version, check status $status"
