#!/usr/bin/env bash
# Retakes the pictures of the README walks: drives ./run.sh (Ethernet modem,
# then QUORVANE_MODEM=gsm) on a virtual X display with xdotool, as a user
# would click, and writes the cropped PNGs into docs/; the section "short"
# shows, on a 1366 x 768 display, the main window fitted to a short screen.
#
#   tools/screenshots.sh            rewrite docs/walk-*.png
#   tools/screenshots.sh file       only the configuration file walk, docs/walk-file-*.png
#   tools/screenshots.sh walk       only the first configuration, on both modem kinds
#   SHOTS_KEEP=1 tools/screenshots.sh   also keep the full-screen captures
#
# Best effort, not a test: the clicks are screen coordinates of the
# 585 x 940 main window at the top left corner (there is no window manager,
# so every window opens at 0,0 or centred over its parent) and the waits are
# fixed sleeps. When a picture comes out wrong, look at the full-screen
# captures (SHOTS_KEEP=1) before touching the coordinates.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

if [ -z "${QUORVANE_SHOTS_DISPLAY:-}" ]; then
    # xdotool drives the windows, xvfb gives them a screen, ImageMagick
    # captures and crops; python3 closes windows the way a window manager would.
    ensure_packages xdotool xvfb xauth imagemagick python3
    # The short screen has a display of its own; the other walks share one.
    sections=${*:-walk file short}
    tall=$(echo $sections | tr ' ' '\n' | grep -vx short | tr '\n' ' ' || true)
    [ -z "$tall" ] || xvfb-run -a -s "-screen 0 1280x1024x24" env QUORVANE_SHOTS_DISPLAY=1 "$0" $tall
    case " $sections " in
    *" short "*) exec xvfb-run -a -s "-screen 0 1366x768x24" env QUORVANE_SHOTS_DISPLAY=1 "$0" short ;;
    esac
    exit 0
fi

work=$(mktemp -d)
# A fresh settings store: the panel starts empty, as on a first run.
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The configurator's diagnostics would only fill the logs.
export QT_LOGGING_RULES="quorvane.*.debug=false"
# No desktop's platform theme: the file dialogs are Qt's own, the same on
# every machine, with the file name field focused.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION QT_QPA_PLATFORMTHEME
# The walk in the README quotes the program's own texts, whatever the locale here.
export QUORVANE_LANG=tr
run_pid=
sim_pid=
cleanup() {
    for pid in "$run_pid" "$sim_pid"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" || true; fi
    done
    if [ "${SHOTS_KEEP:-0}" = 1 ]; then echo "full-screen captures kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# Sends WM_DELETE_WINDOW, the request a window manager's close button sends,
# so the program closes the window through its own close handling.
close_window() {
    python3 - "$1" <<'EOF'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                         ctypes.c_long, ctypes.POINTER(XEvent)]
x.XFlush.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
ev = XEvent()
ev.xclient.type = 33  # ClientMessage
ev.xclient.window = int(sys.argv[1])
ev.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
ev.xclient.format = 32
ev.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, ev.xclient.window, 0, 0, ctypes.byref(ev))
x.XFlush(d)
EOF
}

# wait_window NAME: the id of the newest visible window titled NAME.
wait_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1 || true)
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        sleep 0.2
    done
    echo "screenshots.sh: no window \"$1\"" >&2
    return 1
}

click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.4}"; }

# Keyboard focus does not follow the pointer without a window manager.
type_into() {
    xdotool windowfocus "$main"
    click "$1" "$2" 0.1
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
    xdotool key Tab
    sleep 0.3
}

n=0
capture() {
    n=$((n + 1))
    raw="$work/$(printf %02d $n)-$1.png"
    import -window root "$raw"
}

# save NAME GEOMETRY: crop the last capture and store it, reduced, in docs/.
save() {
    convert "$raw" -crop "$2" +repage -colors 256 -strip "PNG8:docs/$1.png"
    echo "   docs/$1.png"
}

# save_window NAME ID: crop the last capture to that window.
save_window() {
    local geo
    geo=$(xdotool getwindowgeometry --shell "$2")
    eval "$geo"
    save "$1" "${WIDTH}x${HEIGHT}+${X}+${Y}"
}

# wait_line FILE PATTERN PID: the line of FILE that matches, once the program
# PID has written it (the first build takes minutes).
wait_line() {
    while kill -0 "$3" 2>/dev/null && ! grep -q "$2" "$1"; do sleep 0.2; done
    grep "$2" "$1" || { echo "screenshots.sh: no \"$2\" in $1" >&2; return 1; }
}

# start_run KIND: ./run.sh in the background; sets main to the selection window.
start_run() {
    log="$work/run-$1.log"
    QUORVANE_MODEM=$1 ./run.sh >"$log" 2>&1 &
    run_pid=$!
    ready=$(wait_line "$log" '^== simulated modem running' "$run_pid")
    echo "$ready"
    main=$(wait_window 'Quorvane v2.01')
}
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$ready"; }

# The main window opens over the hidden selection window; the selection
# window's id was the only one with that title until then.
continue_as() {
    local chooser=$main
    click 199 276 0.8          # the modem kind list
    click 190 "$1" 0.5         # its item
    capture choose
    click 136 328 1.5          # Devam Et
    main=$(xdotool search --onlyvisible --name '^Quorvane v2.01$' | grep -v "^$chooser\$" | tail -1)
}

# address_tcp PORT: the ETHERNET address of a simulator on this machine.
address_tcp() {
    type_into 249 123 127.0.0.1                 # SERVER IP
    type_into 249 153 "$1"                      # SERVER PORT
}
# The Ethernet image button connects, and disconnects when pressed again.
toggle_tcp() { click 479 137 "${1:-0.4}"; }

# apply_configuration [NAME]: Apply Configuration and Yes to its question,
# keeping a picture of the question as NAME when one is given.
apply_configuration() {
    local box
    click 461 873 0.2
    box=$(wait_window 'Dikkat !')
    sleep 0.3
    if [ -n "${1:-}" ]; then
        capture question
        save "$1" 585x330+0+370
    fi
    xdotool mousemove --window "$box" 363 67 click 1  # Yes
    sleep 0.3
}

# file_dialog KEY TITLE PATH: a Configuration menu entry by its shortcut; the
# path is typed into the dialog's file name field.
file_dialog() {
    local dialog
    xdotool windowfocus "$main"
    xdotool key "$1"
    dialog=$(wait_window "$2")
    sleep 0.5
    xdotool windowfocus "$dialog"
    xdotool type --delay 20 "$3"
    xdotool key Return
    sleep 0.4
}

stop_run() {
    for name in 'Device Infos' 'Static IP Configurations'; do
        for id in $(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null || true); do close_window "$id"; done
    done
    close_window "$main"
    wait "$run_pid" || true
    run_pid=
}

main_window=585x940+0+0
form_and_status=585x540+0+400

walk_first() {
    echo "== Ethernet modem"
    start_run eth
    continue_as 302
    save walk-01-choose 390x390+0+0

    address_tcp "$(field config)"
    capture eth-before
    save walk-02-eth-before "$main_window"

    toggle_tcp
    capture eth-connected
    save walk-03-eth-connected "$main_window"
    save screen-1280x1024 1280x1024+0+0

    click 300 650 0.8                           # RS485 BAUDRATE
    click 280 676 0.4                           # 19200
    apply_configuration walk-04-question
    capture written
    save walk-05-written "$form_and_status"

    click 441 650 0.8                           # RS232 BAUDRATE, changed here only
    click 420 626 0.4                           # 4800
    click 300 873 0.5                           # Read Configuration
    capture read-back
    save walk-06-read-back "$form_and_status"

    type_into 290 468 0                         # RS485 PORT 0, which the modem refuses
    apply_configuration
    click 368 10 0.5                            # View
    click 400 34 0.2                            # Traffic…
    win=$(wait_window Traffic)
    sleep 0.5
    capture traffic
    save_window traffic "$win"
    close_window "$win"
    sleep 0.3
    click 300 873 0.5                           # Read Configuration: the modem's values again

    click 147 873 0.2                           # Static IP Settings
    win=$(wait_window 'Static IP Configurations')
    sleep 0.5
    capture staticip-tcp
    save_window walk-07-staticip-tcp "$win"
    close_window "$win"
    sleep 0.3

    click 68 10 0.5                             # Device Commands
    click 64 59 0.2                             # GET INFO
    win=$(wait_window 'Device Infos')
    sleep 0.3
    capture devinfo
    save_window walk-08-devinfo "$win"
    close_window "$win"
    sleep 0.3

    toggle_tcp 0.8                              # disconnect
    click 297 248 0.8                           # COM PORT list
    click 285 274 0.5                           # the simulator's pseudo-terminal
    click 479 248 0.5                           # the USB connect button
    capture usb-connected
    save walk-09-usb-connected 585x400+0+0
    click 147 873 0.2                           # Static IP Settings, now editable
    win=$(wait_window 'Static IP Configurations')
    sleep 0.5
    capture staticip-usb
    save_window walk-10-staticip-usb "$win"
    stop_run

    echo "== GSM modem"
    start_run gsm
    continue_as 327
    type_into 249 312 127.0.0.1                 # TCP SERVER IP
    type_into 249 342 "$(field port485)"        # PORT 485
    type_into 249 372 "$(field port232)"        # PORT 232
    click 350 342 0.8                           # Connect, RS485 tunnel
    capture gsm-connected
    save walk-11-gsm-connected "$main_window"
    stop_run
}

# The wheel over a label scrolls the window's content; up is button 4.
scroll_content() {
    xdotool mousemove 150 600
    for _ in $(seq 15); do xdotool click "$1"; done
    sleep 0.3
}

# On a 1366 x 768 display the main window fits the screen and scrolls.
walk_short() {
    echo "== Ethernet modem on a 1366 x 768 screen"
    start_run eth
    continue_as 302
    address_tcp "$(field config)"
    toggle_tcp 1
    capture short-top
    save screen-1366x768-top 1366x768+0+0
    scroll_content 5
    click 68 10 0.5                             # Device Commands
    click 64 82 0.3                             # PING, for a status text
    capture short-bottom
    save screen-1366x768-bottom 1366x768+0+0
    stop_run
}

# Modem A is the simulator of run.sh, B a second one on port 10503.
walk_file() {
    echo "== Configuration file: from Ethernet modem A to B"
    # A settings store of its own: the same pictures with or without the
    # first walk before.
    export XDG_CONFIG_HOME="$work/config-file"
    start_run eth
    build/quorvane-modemsim --kind eth --config-port 10503 >"$work/sim-b.log" &
    sim_pid=$!
    wait_line "$work/sim-b.log" '^READY' "$sim_pid"
    continue_as 302
    address_tcp "$(field config)"
    toggle_tcp 1
    # A first takes a value other than the simulator's default in every
    # field, so that the pictures show B taking every one of them.
    file_dialog ctrl+o 'Load Configuration' "$PWD/tests/data/ethernet-every-value-changed.json"
    apply_configuration
    toggle_tcp 0.8
    toggle_tcp
    capture file-read-a
    save walk-file-01-read-a "$main_window"

    mkdir -p "$work/files"
    file_dialog ctrl+s 'Save Configuration As' "$work/files/modem-a.json"
    capture file-saved
    save walk-file-02-save "$form_and_status"

    toggle_tcp 0.8
    address_tcp 10503
    toggle_tcp
    capture file-connect-b
    save walk-file-03-connect-b "$main_window"

    file_dialog ctrl+o 'Load Configuration' "$work/files/modem-a.json"
    capture file-loaded
    save walk-file-04-load "$form_and_status"

    apply_configuration
    capture file-applied
    save walk-file-05-apply "$form_and_status"

    click 300 873 0.5                           # Read Configuration
    capture file-read-back
    save walk-file-06-read-back-b "$main_window"
    stop_run
    kill "$sim_pid"
    wait "$sim_pid" || true
    sim_pid=
}

for section in ${*:-walk file}; do
    case $section in
    walk) walk_first ;;
    file) walk_file ;;
    short) walk_short ;;
    *)
        echo "screenshots.sh: no walk \"$section\" (walk, file, short)" >&2
        exit 2
        ;;
    esac
done
echo "== done"
