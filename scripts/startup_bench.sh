#!/usr/bin/env bash
# Start-up time of the configurator against an empty Qt main window (bench/EmptyWindowBench.cpp):
# both run headless (offscreen) from a Release build, in alternating pairs, each timed from its
# start to its first idle after its main window's first paint (bench/StartupProbe.h). Prints each
# pair and the median of the pairs' ratios (configurator / empty window).
#     bash scripts/startup_bench.sh [pairs]      (default 10; the build goes to build/rel)
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
cp "$BUILD/bin/configurator" "$WORK/"

# Milliseconds from the start to the first idle, as the program reports it.
run() {
    local out
    out="$(cd "$WORK" && VELMORA_STARTUP_PROBE="$EPOCHREALTIME" "$1" 2>/dev/null </dev/null)"
    awk '/^startup_ms /{print $2; found=1} END{if(!found) exit 1}' <<<"$out"
}

# One untimed run of each first, so both start from warm file caches.
run "$BUILD/bin/bench_empty_window" >/dev/null
run "$WORK/configurator" >/dev/null

ratios=()
printf "%-6s %14s %14s %8s\n" pair empty_ms configurator_ms ratio
for ((i = 1; i <= PAIRS; i++)); do
    if ((i % 2)); then
        e="$(run "$BUILD/bin/bench_empty_window")"
        c="$(run "$WORK/configurator")"
    else
        c="$(run "$WORK/configurator")"
        e="$(run "$BUILD/bin/bench_empty_window")"
    fi
    r="$(awk -v c="$c" -v e="$e" 'BEGIN{printf "%.2f", c / e}')"
    ratios+=("$r")
    printf "%-6s %14s %14s %8s\n" "$i" "$e" "$c" "$r"
done
median="$(printf "%s\n" "${ratios[@]}" | sort -g | awk '{a[NR]=$1} END{print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}')"
echo "median ratio (configurator / empty window): $median"
