# Sourced by the build scripts: compile through ccache when it is installed (scripts/deps.sh
# installs it). Paths under the checkout are hashed relative to it, so a second clone of the
# project on the same machine (CI's) reuses what the first one compiled.
kaldor_cache_args=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$root"
    # The precompiled headers are checked by their content, not by their file times.
    export CCACHE_SLOPPINESS="pch_defines,time_macros,include_file_mtime,include_file_ctime"
    export CCACHE_NOHASHDIR=1
    export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-5G}
    kaldor_cache_args=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
