#!/bin/sh
# Starts the demo on the current X display (normally a virtual one made by
# xvfb-run), saves a picture of the screen and ends the program the way a
# user would, by closing its main window.
#   usage: tools/demo-screenshot.sh BUILD_DIR OUT.png
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR OUT.png" >&2
    exit 2
fi
build=$1
out=$2
title="Vorlu Optical"
xdrive="$build/xdrive"

for f in "$build/vorlu-optical" "$xdrive"; do
    if [ ! -x "$f" ]; then
        echo "$0: $f is missing; build first (make build)" >&2
        exit 1
    fi
done
if [ -z "${DISPLAY:-}" ]; then
    echo "$0: no X display; run it under xvfb-run" >&2
    exit 1
fi

# The time limit keeps a hung program from hanging the build.
timeout 300 "$build/vorlu-optical" --demo &
pid=$!

fail() {
    echo "$0: $1" >&2
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit 1
}

"$xdrive" ready "$title" 120 || fail "the main window did not appear"
sleep 1 # let the window finish painting
import -window root "$out" || fail "could not take the screenshot"
"$xdrive" close "$title" || fail "could not close the main window"
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
    echo "$0: the program ended with status $status" >&2
    exit 1
fi
echo "Screenshot of the main window saved to $out"
