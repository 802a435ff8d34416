#!/usr/bin/env bash
# Installs what the build needs, builds the sanitized test build and runs every test.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/install-deps.sh"
BUILD="$ROOT/build/test"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON \
      -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$BUILD" -j "$JOBS"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Real files from other tools are read from ../shared/testdata beside the checkout; a plain clone
# has none, and the tests that need them skip, naming the path. The test programs run in shards
# (tests/run_shard.sh), so ctest counts shards: the skipped tests are listed after its summary.
TESTDATA="$(cd "$ROOT/.." && pwd)/shared/testdata"
if [ ! -d "$TESTDATA" ]; then
    echo "Test data folder absent: $TESTDATA; the tests that read it are skipped."
fi
cd "$BUILD"
status=0
ctest --output-on-failure -j "$JOBS" "$@" || status=$?
skipped=$(sed -n 's/^\[  SKIPPED \] \([^ ]*\) (.*/\1/p' Testing/Temporary/LastTest.log 2>/dev/null | sort -u)
if [ -n "$skipped" ]; then
    echo "Skipped tests (their reasons are in $BUILD/Testing/Temporary/LastTest.log):"
    echo "$skipped" | sed 's/^/  /'
fi
exit $status
