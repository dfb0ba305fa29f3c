#!/usr/bin/env bash
# quorvane-cli against a fleet of 1,000 simulated Ethernet modems with a
# 50 ms answer delay: a verified write of every modem with --jobs 64, the
# same write again (nothing to change), and --jobs 1 against --jobs 64 on 50
# modems. Prints table rows (measurement, figure, compared with, ratio,
# target), tab-separated; bench/run.sh puts them into its table.
#   bench/fleet.sh BUILD_DIR [LOG_DIR]
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [LOG_DIR]}
logs=${2:-$(mktemp -d)}
root=$(cd "$(dirname "$0")/.." && pwd)
count=1000 delay=50 jobs=64 few=50
cli=$build/quorvane-cli

# Below the system's range of ephemeral ports: the client's own connections
# of an earlier run, left in TIME_WAIT there, cannot take a modem's port.
first_port=${QUORVANE_FLEET_PORT:-21000}
work=$(mktemp -d)
sim=
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT
"$build/quorvane-modemsim" --kind eth --count $count --config-port "$first_port" --delay $delay \
    --journal "$work/journal" >"$work/ready" 2>"$logs/fleet-sim.err" &
sim=$!
for _ in $(seq 100); do grep -q '^READY' "$work/ready" && break; sleep 0.1; done
first=$(sed -n 's/^READY.* first=\([0-9]*\).*/\1/p' "$work/ready")
[ -n "$first" ] || { echo "bench/fleet.sh: the simulator did not start" >&2; exit 1; }
for i in $(seq 0 $((count - 1))); do echo "--tcp 127.0.0.1:$((first + i))"; done >"$work/all.txt"
head -$few "$work/all.txt" >"$work/few.txt"

site=$root/docs/examples/ethernet.json
other=$root/tests/data/ethernet-every-value-changed.json
# run NAME FILE TARGETS JOBS: wall seconds and peak KiB of one CLI run.
run() {
    /usr/bin/time -f '%e %M' -o "$work/$1.time" "$cli" write "$2" --targets "$3" --jobs "$4" \
        --report "$logs/fleet-$1.json" >"$logs/fleet-$1.txt" 2>&1 || true
    cat "$work/$1.time"
}
results() {
    grep -o '"result": "[a-z_]*"' "$logs/fleet-$1.json" | tr -d '"' | sort | uniq -c |
        awk '{ s = s (NR > 1 ? ", " : "") $1 " " $3 } END { print s }'
}
writes() { grep -c ' OK AT+WRITEALL' "$work/journal" || true; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
met() { awk -v r="$1" -v t="$2" 'BEGIN { print (r <= t ? "met" : "MISSED") }'; }

# Three round trips per modem (read, write, read back), $jobs at a time.
floor=$(awk -v n=$count -v j=$jobs -v d=$delay 'BEGIN { printf "%.2f", 3 * d / 1000 * n / j }')
read -r first_s first_kib < <(run first "$site" "$work/all.txt" $jobs)
first_writes=$(writes)
read -r again_s again_kib < <(run again "$site" "$work/all.txt" $jobs)
again_writes=$(( $(writes) - first_writes ))
r=$(ratio "$first_s" "$floor")
printf '%s\t%s\t%s\t%s\t%s\n' \
    "fleet write, $count modems, ${delay} ms delay, --jobs $jobs" "$first_s s ($(results first); $first_writes frames)" \
    "network floor $floor s" "$r" "<= 1.50 $(met "$r" 1.5)" \
    "fleet write again, same modems" "$again_s s ($(results again); $again_writes frames)" \
    "first run $first_s s" "$(ratio "$again_s" "$first_s")" "0 frames $( [ "$again_writes" -eq 0 ] && echo met || echo MISSED)" \
    "peak resident memory of quorvane-cli, fleet write" "$first_kib KiB (again: $again_kib KiB)" \
    "64 MiB = 65536 KiB" "$(ratio "$first_kib" 65536)" "<= 1.00 $(met "$first_kib" 65536)"
# The same 50 modems, written from one file and back to the other.
read -r one_s _ < <(run one "$other" "$work/few.txt" 1)
read -r many_s _ < <(run many "$site" "$work/few.txt" $jobs)
printf '%s\t%s\t%s\t%s\t%s\n' \
    "fleet write, $few modems, --jobs 1" "$one_s s ($(results one))" \
    "--jobs $jobs: $many_s s ($(results many))" "$(ratio "$one_s" "$many_s")" "(speed-up)"
