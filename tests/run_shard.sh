#!/usr/bin/env bash
# Runs one shard of a test program in one process: the tests whose place in the program's list,
# counted from 0, leaves INDEX when divided by COUNT. Starting a sanitized Qt program costs far more
# than most tests, so a process per test would spend the run on start-ups. A test that ends the
# process (an abort, a sanitizer report) is named, and the shard goes on with the tests after it,
# so one abort hides no other result.
#   run_shard.sh PROGRAM INDEX COUNT
set -u
prog=$1
index=$2
count=$3

# The program's tests as Suite.Name, without the disabled ones.
mapfile -t all < <("$prog" --gtest_list_tests 2>/dev/null |
    awk '/^[^ ]/ { suite = $1; next } /^  / { print suite $1 }' | grep -v 'DISABLED_')
if [ ${#all[@]} -eq 0 ]; then
    echo "run_shard: $prog lists no tests" >&2
    exit 1
fi
pending=()
for i in "${!all[@]}"; do
    if [ $((i % count)) -eq "$index" ]; then pending+=("${all[$i]}"); fi
done
if [ ${#pending[@]} -eq 0 ]; then
    echo "run_shard: shard $index of $count is empty"
    exit 0
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
bad=()
while [ ${#pending[@]} -gt 0 ]; do
    filter=$(IFS=:; echo "${pending[*]}")
    "$prog" --gtest_filter="$filter" 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    mapfile -t -O ${#bad[@]} bad < <(sed -n 's/^\[  FAILED  \] \([^ ]*\) (.*/\1/p' "$log")
    if grep -q '^\[==========\] .* ran\.' "$log"; then
        # The program finished its run; a non-zero end is a failed test or a leak report.
        if [ "$rc" -ne 0 ]; then
            status=1
            grep -q '^\[  FAILED  \]' "$log" ||
                bad+=("the process itself: exit $rc after its tests (see the report above)")
        fi
        break
    fi
    status=1
    last=$(sed -n 's/^\[ RUN      \] //p' "$log" | tail -n 1)
    if [ -z "$last" ]; then
        echo "run_shard: $prog ended (exit $rc) before its first test" >&2
        break
    fi
    echo "run_shard: $last ended the process (exit $rc); the shard goes on after it" >&2
    bad+=("$last (ended the process)")
    # Every test that started has its result (or ended the process): run the others.
    mapfile -t started < <(sed -n 's/^\[ RUN      \] //p' "$log")
    rest=()
    for t in "${pending[@]}"; do
        seen=0
        for s in "${started[@]}"; do [ "$s" = "$t" ] && seen=1 && break; done
        [ $seen -eq 0 ] && rest+=("$t")
    done
    pending=("${rest[@]+"${rest[@]}"}")
done
if [ ${#bad[@]} -gt 0 ]; then
    echo "run_shard: failed in this shard:"
    printf '  %s\n' "${bad[@]}"
fi
exit $status
