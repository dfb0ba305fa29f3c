#!/usr/bin/env bash
# The example playbook of docs/ansible.md against six simulated modems: check
# mode writes nothing and shows the differences, the first run changes every
# modem, the second none, and a silent modem fails its own task alone.
#   tests/ansible_provision.sh QUORVANE_CLI QUORVANE_MODEMSIM
# QUORVANE_ANSIBLE_BASE_PORT moves the simulators' ports (base + 1 to base + 16).
set -euo pipefail
cli=$1 sim=$2
src=$(cd "$(dirname "$0")/.." && pwd)
base=${QUORVANE_ANSIBLE_BASE_PORT:-$((20000 + $$ % 600 * 20))}
work=$(mktemp -d)
declare -A pids
trap 'kill "${pids[@]}" 2>/dev/null; wait; rm -rf "$work"' EXIT
fail() { [ -z "${log:-}" ] || cat "$work/$log" >&2; echo "FAIL: $*" >&2; exit 1; }

# start HOST ARGS...: the simulator behind inventory host HOST, journal in $work/HOST.journal
start() {
    local host=$1; shift
    "$sim" --journal "$work/$host.journal" "$@" >"$work/$host.out" 2>&1 &
    pids[$host]=$!
    for _ in $(seq 50); do
        grep -q '^READY' "$work/$host.out" && return
        kill -0 "${pids[$host]}" 2>/dev/null || break
        sleep 0.1
    done
    fail "simulator for $host did not start: $(cat "$work/$host.out")"
}
gsm() { start "b-4g-$1" --kind gsm --port485 $((base + 9 + 2 * $1)) --port232 $((base + 10 + 2 * $1)) "${@:2}"; }

# play LOG ARGS...: the example playbook with quorvane-cli from the build
play() {
    log=$1
    PATH=$(dirname "$cli"):$PATH ANSIBLE_NOCOLOR=1 ANSIBLE_PIPELINING=1 ANSIBLE_HOME=$work/ansible-home \
        ansible-playbook -c local -f 6 -i "$src/ansible/example/inventory.yml" \
        "$src/ansible/provision.yml" -e quorvane_base_port="$base" "${@:2}" >"$work/$1" 2>&1 || true
}
# recap LOG 'COUNT...' HOST...: each host's line of the play recap has every count
recap() {
    local line
    for h in "${@:3}"; do
        line=$(grep -E "^$h +:" "$work/$1") || fail "$1: no recap for $h"
        for c in $2; do [[ " $line " == *" $c "* ]] || fail "$1: $h has no $c: $line"; done
    done
}
# journals N: every simulator has N write frames in its journal, all taken
journals() {
    for j in "$work"/*.journal; do
        [ "$(wc -l <"$j")" = "$1" ] && [ "$(grep -c '^OK ' "$j")" = "$1" ] || fail "$j: $(cat "$j")"
    done
}
count() { [ "$(grep -cE "$2" "$work/$1")" = "$3" ] || fail "$1: not $3 lines like $2"; }

all=(a-eth-1 a-eth-2 a-eth-3 b-4g-1 b-4g-2 b-4g-3)
for i in 1 2 3; do start "a-eth-$i" --kind eth --config-port $((base + i)); gsm $i; done

play check.log --check --diff
recap check.log 'changed=1 failed=0' "${all[@]}"
journals 0
count check.log '^-    "rs485.baud_rate": 9600,?$' 6
count check.log '^\+    "rs485.baud_rate": 19200,?$' 3
count check.log '^\+    "general.apn": "m2m.site-b",?$' 3

play first.log --diff
recap first.log 'ok=2 changed=1 failed=0' "${all[@]}"
journals 1
count first.log '^\+    "rs485.baud_rate": 19200,?$' 3

play second.log
recap second.log 'ok=2 changed=0 failed=0' "${all[@]}"
journals 1

kill "${pids[b-4g-2]}" && wait "${pids[b-4g-2]}" || true
gsm 2 --silent
play silent.log -e quorvane_timeout=1
recap silent.log 'ok=0 failed=1' b-4g-2
recap silent.log 'ok=2 changed=0 failed=0' a-eth-1 a-eth-2 a-eth-3 b-4g-1 b-4g-3
count silent.log '^fatal: \[b-4g-2\]: FAILED!.*"msg": "no answer within 1 s"' 1
echo "PASS (simulators on ports $((base + 1))-$((base + 16)))"
