#!/usr/bin/env bash
# Checks that the C++ sources follow .clang-format. scripts/install-deps.sh installs clang-format; a
# machine without it fails the check instead of passing it unchecked.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
    echo "clang-format not installed (scripts/install-deps.sh installs it): format check failed" >&2
    exit 1
fi
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h' | grep -v '^./build')
clang-format --dry-run --Werror $files
echo "format check: $(echo "$files" | wc -l) files follow .clang-format"
