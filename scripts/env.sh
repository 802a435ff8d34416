# Shared build settings for the scripts: sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# ccache: one cache for every checkout, kept between runs; the settings the precompiled header needs
# travel with the build's compiler launcher (cmake/Velmora.cmake).
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/velmora-ccache}"
export CCACHE_COMPILERCHECK=content
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
# Parallel jobs of the build and of ctest; JOBS=4 bash scripts/test.sh on a shared machine.
JOBS="${JOBS:-$(nproc)}"
