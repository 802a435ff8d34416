#!/usr/bin/env bash
# Start-up time of the configurator against an empty Qt main window (bench/EmptyWindowBench.cpp):
# both run headless (offscreen) from a Release build, in alternating pairs, each timed from its
# start to its first idle after its main window's first paint (bench/StartupProbe.h). Prints each
# pair and the median of the pairs' ratios (configurator / empty window), for the wall-clock time
# and for the processor time until then (steadier when the machine is busy).
#     bash scripts/startup_bench.sh [pairs]      (default 10; the build goes to build/rel)
# CONFIGURATOR=<program> times another build of the configurator (an earlier one, say) instead.
# STARTUP_BENCH_RT=1 runs both programs with real-time priority (chrt -f 10), which keeps other
# work on a busy machine from stretching the wall-clock times; it needs the right to use it.
set -euo pipefail
source "$(dirname "$0")/env.sh"
PAIRS="${1:-10}"
BUILD="$ROOT/build/rel"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$BUILD" -j "${BENCH_JOBS:-4}" --target configurator bench_empty_window >/dev/null

export QT_QPA_PLATFORM=offscreen
# The configurator keeps its settings beside the program: run a copy in a scratch folder so the
# measurement neither reads nor leaves anything in the build.
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cp "${CONFIGURATOR:-$BUILD/bin/configurator}" "$WORK/configurator"
EMPTY="$BUILD/bin/bench_empty_window"
PRIO=""
if [ "${STARTUP_BENCH_RT:-0}" = 1 ]; then PRIO="chrt -f 10"; fi

# "<wall ms> <processor ms>" from the start to the first idle, as the program reports them.
run() {
    local out
    out="$(cd "$WORK" && VELMORA_STARTUP_PROBE="$EPOCHREALTIME" $PRIO "$1" 2>/dev/null </dev/null)"
    awk '/^startup_ms /{print $2, $4; found=1} END{if(!found) exit 1}' <<<"$out"
}
median() { sort -g | awk '{a[NR]=$1} END{print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

# One untimed run of each first, so both start from warm file caches.
run "$EMPTY" >/dev/null
run "$WORK/configurator" >/dev/null

walls=() cpus=()
printf "%-5s %10s %10s %7s %10s %10s %7s\n" pair empty_ms conf_ms ratio empty_cpu conf_cpu ratio
for ((i = 1; i <= PAIRS; i++)); do
    if ((i % 2)); then
        e="$(run "$EMPTY")"
        c="$(run "$WORK/configurator")"
    else
        c="$(run "$WORK/configurator")"
        e="$(run "$EMPTY")"
    fi
    read -r ew ec <<<"$e"
    read -r cw cc <<<"$c"
    rw="$(awk -v c="$cw" -v e="$ew" 'BEGIN{printf "%.2f", c / e}')"
    rc="$(awk -v c="$cc" -v e="$ec" 'BEGIN{printf "%.2f", c / e}')"
    walls+=("$rw")
    cpus+=("$rc")
    printf "%-5s %10s %10s %7s %10s %10s %7s\n" "$i" "$ew" "$cw" "$rw" "$ec" "$cc" "$rc"
done
echo "median ratio, wall-clock time to first idle: $(printf "%s\n" "${walls[@]}" | median)"
echo "median ratio, processor time to first idle:  $(printf "%s\n" "${cpus[@]}" | median)"
