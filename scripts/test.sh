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
cd "$BUILD" && ctest --output-on-failure -j "$JOBS" "$@"
