#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what a user would get
# from it: both programs, the menu entry and its icons, the Qt dependencies, and
# a program that starts from the unpacked files.
#
#   packaging/test_package.sh BUILD_DIR
#
# Everything it makes goes to a temporary folder that is removed on exit.
set -euo pipefail

build_dir=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-pkg.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
# check WHAT COMMAND...: one named check, counted rather than fatal, so one run
# lists every problem with the package.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

for tool in cpack dpkg-deb dpkg-shlibdeps file timeout; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool not found (dpkg-dev, file and coreutils are needed)"; exit 1; }
done

echo "== cpack -G DEB into $work/out"
if ! (cd "$build_dir" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
shopt -s nullglob
debs=("$work"/out/quorvane_*.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || { cat "$work/cpack.log"; echo "FAIL: expected one quorvane_*.deb, found ${#debs[@]}"; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }

check "Package quorvane (is '$(field Package)')" [ "$(field Package)" = quorvane ]
check "Section electronics (is '$(field Section)')" [ "$(field Section)" = electronics ]
check "Maintainer Quorvane developers (is '$(field Maintainer)')" [ "$(field Maintainer)" = "Quorvane developers" ]
check "Version set (is '$(field Version)')" [ -n "$(field Version)" ]
check "Description set" [ -n "$(field Description)" ]
depends=$(field Depends)
echo "Depends: $depends"
for lib in libqt5widgets5 libqt5serialport5 libqt5network5; do
  # Whole package names only: libqt5widgets5 must not be satisfied by a longer name.
  check "Depends names $lib" grep -Eq "(^|[ ,])$lib( |,|\$)" <<<"$depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"

for prog in quorvane quorvane-modemsim; do
  check "usr/bin/$prog is an executable file" test -f "$root/usr/bin/$prog" -a -x "$root/usr/bin/$prog"
done

desktop=$root/usr/share/applications/quorvane.desktop
if [ -f "$desktop" ]; then
  if command -v desktop-file-validate >/dev/null; then
    check "desktop-file-validate" desktop-file-validate "$desktop"
  fi
  # The keys the menu relies on, checked whether or not the validator is installed.
  for key in '\[Desktop Entry\]' 'Type=Application' 'Name=Quorvane' 'Comment=.+' 'Exec=quorvane' \
    'Icon=quorvane' 'Terminal=false' 'Categories=Utility;Engineering;'; do
    check "desktop entry has $key" grep -Exq "$key" "$desktop"
  done
  # The menu starts whatever Exec names from PATH: it must be the packaged program.
  exec_prog=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  check "Exec=$exec_prog is a packaged program" test -n "$exec_prog" -a -f "$root/usr/bin/$exec_prog" -a -x "$root/usr/bin/$exec_prog"
else
  fail "usr/share/applications/quorvane.desktop missing"
fi

for size in 48 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/quorvane.png
  if [ -f "$icon" ] && file -b "$icon" | grep -q "PNG image data, $size x $size"; then
    pass "icon ${size}x${size}"
  else
    fail "icon ${size}x${size} missing or not a ${size} px PNG"
  fi
done

for doc in README copyright; do
  check "usr/share/doc/quorvane/$doc" test -s "$root/usr/share/doc/quorvane/$doc"
done

# The unpacked program must start with the system's Qt: either it answers
# --help and exits, or it is still running when timeout sends SIGTERM.
set +e
QT_QPA_PLATFORM=offscreen HOME=$work XDG_CONFIG_HOME=$work/config \
  timeout -s TERM 2 "$root/usr/bin/quorvane" --help >"$work/run.log" 2>&1
status=$?
set -e
case $status in
  0)
    if grep -q "Usage:" "$work/run.log"; then pass "quorvane --help"; else fail "quorvane --help exited 0 without a usage text"; fi
    ;;
  124 | 143) pass "quorvane started and ran until SIGTERM" ;;
  *)
    cat "$work/run.log"
    fail "quorvane exited with status $status"
    ;;
esac

# From the menu it starts on a desktop: under a virtual X server, with the
# xcb platform a user gets, it must come up and keep running until stopped.
if command -v xvfb-run >/dev/null; then
  set +e
  env -u QT_QPA_PLATFORM HOME="$work" XDG_CONFIG_HOME="$work/config" \
    xvfb-run -a -s "-screen 0 1024x768x24" timeout -s TERM 3 "$root/usr/bin/quorvane" \
    >"$work/x.log" 2>&1
  status=$?
  set -e
  if { [ "$status" -eq 124 ] || [ "$status" -eq 143 ]; } && ! grep -q "qt.qpa" "$work/x.log"; then
    pass "quorvane started under xvfb-run and ran until SIGTERM"
  else
    cat "$work/x.log"
    fail "quorvane under xvfb-run exited with status $status"
  fi
else
  fail "xvfb-run not found (package xvfb)"
fi

if [ -x "$root/usr/bin/quorvane-modemsim" ]; then
  if timeout 5 "$root/usr/bin/quorvane-modemsim" --help 2>&1 | grep -q "Usage:"; then
    pass "quorvane-modemsim --help"
  else
    fail "quorvane-modemsim --help printed no usage text"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures packaging check(s) failed"
  exit 1
fi
echo "all packaging checks passed"
