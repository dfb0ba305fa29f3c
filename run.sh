#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the configurator.
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

exec build/quorvane "$@"
