#!/usr/bin/env bash
# Builds the benchmarks (Release, into build-bench/) and prints one table:
# protocol micro-benchmarks, the read-all round trip against a bare socket,
# start-up and peak memory against a bare Qt program, a fleet write of 1,000
# simulated modems against the network's floor, and instruction counts
# of the read-all decode under callgrind. docs/performance.md explains it.
#   QUORVANE_BENCH_RUNS=20        start-up runs per program (median reported)
#   QUORVANE_BENCH_ROUNDS=1000    read-all round trips per modem kind
# Everything but the table goes to build-bench/bench-logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

ensure_packages "${QUORVANE_PACKAGES[@]}" libbenchmark-dev valgrind

build=build-bench
echo "== building in $build (Release)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVANE_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target protocol_bench roundtrip startup_harness bare_window \
    spawn_timer decode_count quorvane-modemsim quorvane-cli >/dev/null

bin=$build/bench
logs=$build/bench-logs
rm -rf "$logs"
mkdir -p "$logs"
runs=${QUORVANE_BENCH_RUNS:-20}
rounds=${QUORVANE_BENCH_ROUNDS:-1000}

# Same conditions for every program: no display server, a settings store of
# its own (the user's remembered addresses stay untouched).
scratch=$(mktemp -d)
sim=
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME=$scratch/config
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

load() { cut -d' ' -f1 /proc/loadavg; }
load_start=$(load)
rows=$logs/table.tsv
: >"$rows"
row() { printf '%s\t%s\t%s\t%s\t%s\n' "$@" >>"$rows"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" -v t="$2" 'BEGIN { print (r <= t ? "met" : "MISSED") }'; }

echo "== protocol micro-benchmarks"
# Diagnostics are off by default; stderr (Qt's own warnings) is dropped.
"$bin/protocol_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.2 --benchmark_out="$logs/protocol.csv" \
    --benchmark_out_format=csv >"$logs/protocol.txt" 2>/dev/null
# Median of five repetitions: wall time, and the CPU time that load hardly moves.
micro() {
    awk -v real="$1" -v cpu="$2" -v unit="$3" 'BEGIN {
        if (unit == "ns" && real >= 1000) { real /= 1000; cpu /= 1000; unit = "us" }
        printf "%.2f %s (cpu %.2f)", real, unit, cpu }'
}
while IFS=, read -r name _ real cpu unit _; do
    name=${name//\"/}
    name=${name%_median}
    row "${name#BM_}" "$(micro "$real" "$cpu" "$unit")" "" "" ""
done < <(grep '_median"' "$logs/protocol.csv")

echo "== read-all round trip ($rounds rounds per modem kind)"
"$bin/roundtrip" "$rounds" >"$logs/roundtrip.txt" 2>"$logs/roundtrip.err"
# Once more with the diagnostic lines switched on, to show what they cost.
QT_LOGGING_RULES="quorvane.*.debug=true" "$bin/roundtrip" "$rounds" \
    >"$logs/roundtrip-debug.txt" 2>"$logs/roundtrip-debug.err"
roundtrip_rows() {
    local file=$1 label=$2 target=$3
    while read -r _ kind product bare product90 bare90 productCpu bareCpu _; do
        r=$(ratio "$product" "$bare")
        row "read-all round trip, $kind$label (median)" \
            "$product us (p90 $product90, cpu $productCpu)" \
            "bare socket $bare us (p90 $bare90, cpu $bareCpu)" \
            "$r (cpu $(ratio "$productCpu" "$bareCpu"))" \
            "${target:-<= 1.50 $(verdict "$r" 1.5)}"
    done <"$file"
}
roundtrip_rows "$logs/roundtrip.txt" "" ""
roundtrip_rows "$logs/roundtrip-debug.txt" ", diagnostics on" "(for comparison)"

echo "== start-up ($runs runs of each program, taking turns)"
"$bin/spawn_timer" "$runs" --label bare "$bin/bare_window" \
    --label label "$bin/bare_window" label \
    --label selection "$bin/startup_harness" selection \
    --label eth "$bin/startup_harness" eth \
    --label gsm "$bin/startup_harness" gsm >"$logs/startup.txt" 2>"$logs/startup.err"
read -r _ bare_ms _ _ bare_cpu _ < <(grep '^bare ' "$logs/startup.txt")
for what in "selection:selection window" "eth:main window, Ethernet" "gsm:main window, 4G"; do
    read -r _ ms lo hi cpu _ < <(grep "^${what%%:*} " "$logs/startup.txt")
    r=$(ratio "$ms" "$bare_ms")
    row "start-up to ${what#*:} shown (median)" "$ms ms ($lo..$hi, cpu $cpu)" \
        "bare window $bare_ms ms (cpu $bare_cpu)" "$r (cpu $(ratio "$cpu" "$bare_cpu"))" \
        "<= 1.15 $(verdict "$r" 1.15)"
done
read -r _ ms lo hi cpu _ < <(grep '^label ' "$logs/startup.txt")
row "start-up, bare window with one label (median)" "$ms ms ($lo..$hi, cpu $cpu)" \
    "bare window $bare_ms ms (cpu $bare_cpu)" \
    "$(ratio "$ms" "$bare_ms") (cpu $(ratio "$cpu" "$bare_cpu"))" "(for comparison)"

echo "== peak memory"
ready=$scratch/ready
"$build/quorvane-modemsim" --kind eth --config-port 0 >"$ready" 2>"$logs/modemsim.err" &
sim=$!
for _ in $(seq 50); do grep -q '^READY' "$ready" && break; sleep 0.1; done
port=$(sed -n 's/^READY.* config=\([0-9]*\).*/\1/p' "$ready")
[ -n "$port" ] || { echo "bench/run.sh: the modem simulator did not start" >&2; exit 1; }
# Five runs each; the run with the median peak is reported whole.
memory() {
    for _ in 1 2 3 4 5; do "$@" 2>>"$logs/memory.err" | grep '^peak_kib'; done \
        | sort -n -k2 | sed -n 3p | awk '{ printf "%s KiB (anon %s, files %s)", $2, $4, $6 }'
}
product_mem=$(memory "$bin/startup_harness" memory "$port")
bare_mem=$(memory "$bin/bare_window" memory)
label_mem=$(memory "$bin/bare_window" label memory)
kill "$sim" 2>/dev/null || true
sim=
r=$(ratio "${product_mem%% *}" "${bare_mem%% *}")
row "peak resident memory, main window + read" "$product_mem" "bare window $bare_mem" \
    "$r" "<= 1.20 $(verdict "$r" 1.2)"
row "peak resident memory, bare window with one label" "$label_mem" "bare window $bare_mem" \
    "$(ratio "${label_mem%% *}" "${bare_mem%% *}")" "(for comparison)"

echo "== quorvane-cli against 1,000 simulated modems"
bench/fleet.sh "$build" "$logs" >>"$rows"

echo "== instruction counts (callgrind)"
# Start-up from process start to the window painted (the harness stops the
# count there): a ratio that no other load on the machine can move.
instructions() { sed -n 's/^totals: //p' "$1"; }
grind_startup() {
    local out=$logs/callgrind.startup.$1.out
    shift
    QT_HASH_SEED=0 valgrind --tool=callgrind --callgrind-out-file="$out" "$@" \
        >/dev/null 2>>"$logs/callgrind.err"
    instructions "$out"
}
bare_ir=$(grind_startup bare "$bin/bare_window")
for what in "selection:selection window" "eth:main window, Ethernet"; do
    ir=$(grind_startup "${what%%:*}" "$bin/startup_harness" "${what%%:*}")
    row "instructions to ${what#*:} shown" "$ir" "bare window $bare_ir" \
        "$(ratio "$ir" "$bare_ir")" "(profile)"
done

decodes=100
for kind in eth gsm; do
    counts=()
    for pass in 1 2; do
        out=$logs/callgrind.$kind.$pass.out
        QT_HASH_SEED=0 valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" \
            "$bin/decode_count" "$kind" "$decodes" >/dev/null 2>>"$logs/callgrind.err"
        counts+=("$(($(instructions "$out") / decodes))")
    done
    row "instructions per read-all decode, $kind" "${counts[0]} / ${counts[1]} (two runs)" "" \
        "" "spread $(awk -v a="${counts[0]}" -v b="${counts[1]}" \
            'BEGIN { d = a - b; if (d < 0) d = -d; printf "%.3f%%", 100 * d / a }')"
done

load_end=$(load)
echo
echo "Quorvane benchmarks: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), load average ${load_start} at start, ${load_end} at end"
{
    printf 'measurement\tfigure\tcompared with\tratio\ttarget\n'
    cat "$rows"
} | awk -F'\t' '{ printf "%-50s %-40s %-42s %-16s %s\n", $1, $2, $3, $4, $5 }'
