#!/usr/bin/env bash
# Installs what the build needs, builds the configurator and starts it.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/install-deps.sh"
BUILD="$ROOT/build/release"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target configurator Ethernet_Update
exec "$BUILD/bin/configurator" "$@"
