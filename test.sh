#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh

ensure_packages "${QUORVANE_PACKAGES[@]}"
build_tree build

echo "== running tests"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
