#!/usr/bin/env bash
# The CPU time (user + system) of a clean Release build of every target, without ccache, for one
# revision of this repository (default: HEAD). Run it on a quiet machine: other work on the cores
# inflates the figure.
#   [JOBS=n] bash bench/BuildTimeBench.sh [REV]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
REV="${1:-HEAD}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
git -C "$ROOT" worktree add -q --detach "$WORK/src" "$REV"
trap 'git -C "$ROOT" worktree remove --force "$WORK/src"; rm -rf "$WORK"' EXIT
cmake -S "$WORK/src" -B "$WORK/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
/usr/bin/time -f "%U %S %e" -o "$WORK/time" ninja -C "$WORK/build" -j "${JOBS:-$(nproc)}" >/dev/null
read -r user sys wall <"$WORK/time"
awk -v u="$user" -v s="$sys" -v w="$wall" -v r="$(git -C "$ROOT" rev-parse --short "$REV")" \
    'BEGIN { printf "%s: clean Release build, CPU %.0f s (user %.0f + system %.0f), wall %.0f s\n", r, u + s, u, s, w }'
