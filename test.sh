#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test through
# CTest; then builds again with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs every test there too.
#   QUORVANE_SKIP_SANITIZE=1 ./test.sh   skips the sanitizer pass (quick local runs)
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh

ensure_packages "${QUORVANE_PACKAGES[@]}" "${QUORVANE_TEST_PACKAGES[@]}"
build_tree build

echo "== running tests"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure)

if [ "${QUORVANE_SKIP_SANITIZE:-0}" = 1 ]; then
    echo "== sanitizer pass skipped (QUORVANE_SKIP_SANITIZE=1)"
    exit 0
fi

# Debug, so that the program's own assertions are live as well.
build_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON -DQUORVANE_BENCH=OFF
echo "== running tests with AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure)
