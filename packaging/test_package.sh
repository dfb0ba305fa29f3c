#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what a user would get
# from it: both programs, the menu entry and its icons, the Qt dependencies, and
# a program that starts from the unpacked files. Everything it makes goes to a
# temporary folder that is removed on exit.
#   packaging/test_package.sh BUILD_DIR
set -euo pipefail

build_dir=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-pkg.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0 usage=
# check WHAT COMMAND...: counted rather than fatal, so one run lists every problem.
check() { if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
# die WHAT: a problem that leaves nothing to check; shows cpack's log when there is one.
die() { cat "$work/cpack.log" 2>/dev/null || true; echo "FAIL: $1"; exit 1; }
# ran STATUS LOG: still running when timeout sent SIGTERM or, where $usage names a
# usage text, done after printing it; else shows the log.
ran() { [ "$1" -eq 124 ] || [ "$1" -eq 143 ] || { [ "$1" -eq 0 ] && [ -n "$usage" ] && grep -q "$usage" "$2"; } ||
  { cat "$2"; false; }; }
# starts WHAT LOG COMMAND...: the command, with its status in WHAT, judged by ran.
starts() { local status=0; "${@:3}" >"$2" 2>&1 || status=$?; check "$1 (status $status)" ran $status "$2"; }

for tool in cpack dpkg-deb dpkg-shlibdeps file timeout; do command -v "$tool" >/dev/null ||
  die "$tool not found (dpkg-dev, file and coreutils are needed)"; done
(cd "$build_dir" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || die "cpack -G DEB"
debs=("$work"/out/quorvane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "expected one quorvane_*.deb: ${debs[*]}"
deb=${debs[0]} root=$work/root bin=$work/root/usr/bin share=$work/root/usr/share
echo "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
for pair in Package=quorvane Section=electronics "Maintainer=Quorvane developers" Version=.+ Description=.+; do
  name=${pair%%=*} want=${pair#*=}
  check "$name $want (is '$(field "$name" | head -1)')" grep -Exq "$want" <<<"$(field "$name")"
done
# Whole package names only: libqt5widgets5 must not be satisfied by a longer name.
for lib in libqt5widgets5 libqt5serialport5 libqt5network5; do
  check "Depends names $lib (is '$(field Depends)')" grep -Eq "(^|[ ,])$lib( |,|\$)" <<<"$(field Depends)"
done

dpkg-deb -x "$deb" "$root"
for prog in quorvane quorvane-cli quorvane-modemsim; do
  check "usr/bin/$prog is an executable file" test -f "$bin/$prog" -a -x "$bin/$prog"; done
desktop=$share/applications/quorvane.desktop
check "usr/share/applications/quorvane.desktop present" test -f "$desktop"
! command -v desktop-file-validate >/dev/null || check "desktop-file-validate" desktop-file-validate "$desktop"
# The keys the menu relies on, checked whether or not the validator is installed.
for key in '\[Desktop Entry\]' Type=Application Name=Quorvane Comment=.+ Exec=quorvane Icon=quorvane \
  Terminal=false 'Categories=Utility;Engineering;'; do check "desktop entry has $key" grep -Exqs "$key" "$desktop"; done
# The menu starts whatever Exec names from PATH: it must be the packaged program.
exec_prog=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" 2>/dev/null || true)
check "Exec=$exec_prog is a packaged program" test -n "$exec_prog" -a -f "$bin/$exec_prog" -a -x "$bin/$exec_prog"
for size in 48 128 256; do check "icon ${size}x${size} is a $size px PNG" grep -q "PNG image data, $size x $size" \
  <<<"$(file -b "$share/icons/hicolor/${size}x${size}/apps/quorvane.png")"; done
for doc in README copyright; do check "usr/share/doc/quorvane/$doc" test -s "$share/doc/quorvane/$doc"; done

# The unpacked program must start with the system's Qt: offscreen it answers
# --help or is still running when timeout sends SIGTERM. From the menu it starts
# on a desktop: under a virtual X server, with the xcb platform a user gets, it
# must come up and keep running until stopped.
export HOME=$work XDG_CONFIG_HOME=$work/config
usage=Usage: starts "quorvane --help offscreen: a usage text, or running until SIGTERM" "$work/run.log" \
  env QT_QPA_PLATFORM=offscreen timeout -s TERM 2 "$bin/quorvane" --help
starts "quorvane under xvfb-run (package xvfb) running until SIGTERM" "$work/x.log" \
  env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1024x768x24" timeout -s TERM 3 "$bin/quorvane"
check "no platform plugin complaint under xvfb-run" sh -c '! grep -m1 qt.qpa "$1"' - "$work/x.log"
for prog in quorvane-modemsim quorvane-cli; do
  check "$prog --help prints a usage text" grep -q "Usage:" <(timeout 5 "$bin/$prog" --help 2>&1); done

[ "$failures" -eq 0 ] || { echo "$failures packaging check(s) failed"; exit 1; }
echo "all packaging checks passed"
