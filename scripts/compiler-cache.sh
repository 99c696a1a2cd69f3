# Sourced by the build scripts: when ccache is installed, compiles go through it, into a cache that
# outlives the clone (an exported CCACHE_DIR wins). The base folder makes a fresh clone elsewhere hit
# what an earlier clone compiled. Leaves the CMake arguments for it in pq_compiler_cache.
pq_compiler_cache=()
if command -v ccache >/dev/null; then
  export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/pqdesk-ccache}
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)} CCACHE_NOHASHDIR=1
  pq_compiler_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
