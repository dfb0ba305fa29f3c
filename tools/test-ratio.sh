#!/usr/bin/env bash
# Test code against program code, over tracked files only, counting lines
# that are neither blank nor comments.
#   test: C++ in tests/ and fuzz/, and every shell or Python file that holds
#         test logic (anything in tests/ or fuzz/, the package check, the
#         soak driver, the Ansible test)
#   code: every other tracked C++ file outside bench/
set -euo pipefail
cd "$(dirname "$0")/.."

# C and C++: // lines and /* ... */ blocks; shell and Python: # lines
# (the #! line included), not counting #include and friends as comments.
count() {
    [ $# -eq 0 ] && { echo 0; return; }
    awk '
        FNR == 1 { block = 0; cxx = FILENAME ~ /\.(c|cc|cpp|h|hpp)$/ }
        {
            line = $0
            sub(/^[ \t]+/, "", line); sub(/[ \t\r]+$/, "", line)
            if (line == "") next
            if (cxx) {
                if (block) { if (index(line, "*/")) { block = 0; rest = substr(line, index(line, "*/") + 2); if (rest !~ /^[ \t]*$/) n++ } next }
                if (line ~ /^\/\//) next
                if (line ~ /^\/\*/) { if (!index(substr(line, 3), "*/")) block = 1; next }
            } else if (line ~ /^#/) next
            n++
        }
        END { print n + 0 }' "$@"
}

mapfile -t files < <(git ls-files)
tests=() code=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    case "$f" in
        tests/*|fuzz/*)
            case "$f" in *.cpp|*.h|*.hpp|*.sh|*.py|*.yml|*.yaml) tests+=("$f") ;; esac ;;
        packaging/test_*.sh|tools/soak.sh|ansible/tests/*.py|ansible/tests/*.sh)
            tests+=("$f") ;;
        bench/*) ;;
        *.cpp|*.h|*.hpp) code+=("$f") ;;
    esac
done

t=$(count "${tests[@]}")
c=$(count "${code[@]}")
printf 'test lines %d\ncode lines %d\nratio %s\n' "$t" "$c" "$(awk -v t="$t" -v c="$c" 'BEGIN { printf "%.2f", c ? t / c : 0 }')"
