# Shared build settings for the scripts: sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CCACHE_BASEDIR="$ROOT"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/velmora-ccache}"
export CCACHE_SLOPPINESS="pch_defines,time_macros,include_file_mtime,include_file_ctime"
export CCACHE_COMPILERCHECK=content
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
# Parallel jobs of the build and of ctest; JOBS=4 bash scripts/test.sh on a shared machine.
JOBS="${JOBS:-$(nproc)}"
