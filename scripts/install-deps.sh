#!/usr/bin/env bash
# Installs the Debian packages the configurator needs to build, run and test.
# Idempotent: does nothing (and prints nothing) when every package is present.
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools
    libpugixml-dev libjpeg62-turbo-dev libfontconfig-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core fonts-liberation clang-format
    # xmllint: the tests check the generated XML description files with it
    libxml2-utils
    # python3 and smilint: the tests read the generated EDS, EDE and MIB files with them
    python3 smitools
)
if [ "${1:-}" = "--with-display" ]; then
    PACKAGES+=(xvfb xauth)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
