#!/usr/bin/env bash
# The long soak: builds if needed, then runs tests/tst_soak.cpp for 1,000
# read, edit, write and read-back cycles per modem kind against the modem
# simulator injecting faults. ./test.sh runs the same test with 20 cycles.
#   tools/soak.sh [CYCLES]          default 1000
#   QUORVANE_SOAK_SEED=S tools/soak.sh   replays the run that printed seed S
#   QUORVANE_SOAK_TRACE=1 tools/soak.sh  prints every step of every cycle
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

cycles=${1:-1000}
[[ $cycles =~ ^[0-9]+$ ]] || { echo "usage: tools/soak.sh [CYCLES]" >&2; exit 2; }

ensure_packages "${QUORVANE_PACKAGES[@]}"
build_tree build

echo "== soak: $cycles cycles per modem kind"
export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="quorvane.*.debug=false"
export QUORVANE_SOAK_CYCLES=$cycles
# Qt Test ends a test function after five minutes unless told otherwise.
export QTEST_FUNCTION_TIMEOUT=$((cycles * 3000 + 600000))
start=$(date +%s)
build/tests/tst_soak -maxwarnings 0
echo "== soak finished in $(($(date +%s) - start)) s"
