#!/usr/bin/env bash
# Configures and builds everything into build/ (programs land in build/bin/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/deps.sh"
. "$root/scripts/compiler-cache.sh"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f build/CMakeCache.txt ] || cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "${kaldor_cache_args[@]}"
cmake --build build --parallel "$(nproc)"
