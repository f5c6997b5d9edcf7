#!/bin/sh
# with_secret_service.sh unlocked|none COMMAND...
# Runs COMMAND in a D-Bus session of its own, with its home and XDG folders in
# a temporary folder: "unlocked" with a Secret Service (gnome-keyring-daemon)
# whose login keyring is created and unlocked, "none" with no Secret Service
# at all. The bus starts no service by itself, so nothing can show a prompt.
# Everything it started is ended and the folder removed when COMMAND ends.
set -eu
if [ "${1:-}" = --inside ]; then
    mode=$2
    shift 2
    daemon=
    if [ "$mode" = unlocked ]; then
        printf 'keyring test password' | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null 2>&1 &
        daemon=$!
        gdbus wait --session --timeout 20 org.freedesktop.secrets
    fi
    status=0
    "$@" || status=$?
    [ -z "$daemon" ] || { kill "$daemon" 2>/dev/null || true; wait "$daemon" 2>/dev/null || true; }
    exit $status
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
export HOME="$tmp" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" XDG_CACHE_HOME="$tmp/cache" \
       XDG_RUNTIME_DIR="$tmp/run" VORLU_TEST_KEYRING="$1"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY GNOME_KEYRING_CONTROL SSH_AUTH_SOCK
cat >"$tmp/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$tmp/run</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
dbus-run-session --config-file="$tmp/session.conf" -- "$0" --inside "$@"
