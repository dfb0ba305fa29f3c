#!/usr/bin/env bash
# Installs what is missing, builds into build/, starts a simulated modem on
# 127.0.0.1 and the configurator against it.
#   QUORVANE_MODEM=gsm ./run.sh    simulate the 4G/GSM modem instead of the Ethernet one
#   QUORVANE_MODEM=none ./run.sh   start the configurator alone (for a real modem)
# Further arguments go to the configurator.
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh

ensure_packages "${QUORVANE_PACKAGES[@]}"
build_tree build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
    echo "        Start it from a desktop session, or under a virtual one: xvfb-run ./run.sh" >&2
    exit 1
fi

modem=${QUORVANE_MODEM:-eth}
args=("$@")
if [ "$modem" != none ]; then
    ready=$(mktemp)
    sim_args=(--kind "$modem")
    [ "$modem" = eth ] && sim_args+=(--pty)
    build/quorvane-modemsim "${sim_args[@]}" >"$ready" &
    sim=$!
    trap 'kill $sim 2>/dev/null || true; rm -f "$ready"' EXIT
    for _ in $(seq 50); do grep -q '^READY' "$ready" && break; sleep 0.1; done
    line=$(grep '^READY' "$ready" || true)
    if [ -z "$line" ]; then
        echo "run.sh: the modem simulator did not start" >&2
        exit 1
    fi
    field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$line"; }
    echo "== simulated modem running: $line"
    if [ "$modem" = eth ]; then
        pty=$(field pty)
        echo "   Choose \"Ethernet Modem\". Over TCP: SERVER IP 127.0.0.1, SERVER PORT $(field config)."
        echo "   Over USB: pick $pty in the COM PORT list."
        args+=(--serial-device "$pty")
    else
        echo "   Choose \"4G Modem\". SERVER IP 127.0.0.1, PORT 485 $(field port485), PORT 232 $(field port232)."
    fi
    build/quorvane "${args[@]}"
    exit $?
fi

exec build/quorvane "${args[@]}"
