#!/usr/bin/env bash
# Measures the build and the tests stage by stage, as the test command runs them, and prints one
# line per stage (wall seconds, and the CPU seconds of the stage's processes).
#
#   scripts/time-stages.sh            packages, build, tests in build/ as they stand, then the
#                                     same after a one-line change in src/
#   scripts/time-stages.sh --cold     the build in a fresh folder (build-timing/) without the
#                                     compiler cache: what a fresh machine pays
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cold=false
[ "${1:-}" = "--cold" ] && cold=true
jobs=$(nproc)
results=()

stage() {
    local name=$1
    shift
    local start end t0 t1
    t0=$(awk '{print $14+$15+$16+$17}' /proc/$$/stat)
    start=$(date +%s.%N)
    "$@"
    end=$(date +%s.%N)
    # Children's CPU time reaches this shell's counters once they have been waited for.
    t1=$(awk '{print $14+$15+$16+$17}' /proc/$$/stat)
    results+=("$(printf '%-32s %7.1f s wall %8.1f s CPU' "$name" "$(echo "$end - $start" | bc)" \
        "$(echo "($t1 - $t0) / $(getconf CLK_TCK)" | bc -l)")")
    echo "== ${results[-1]}"
}

build_dir=build
stage "packages" scripts/deps.sh bc
if $cold; then
    build_dir=build-timing
    rm -rf "$build_dir"
    export CCACHE_DISABLE=1
    stage "configure" cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev
    stage "build (cold, no cache)" cmake --build "$build_dir" --parallel "$jobs"
else
    stage "build" scripts/build.sh
fi
export QT_QPA_PLATFORM=offscreen
stage "tests" ctest --test-dir "$build_dir" --timeout 600 -j "$jobs" --output-on-failure

# A one-line change in a page of the window: what a developer's second run pays. The line is code
# that differs on every run, so the compiler cache cannot answer it from an earlier one.
changed=src/ui/pages/parameters/parameters_page.cpp
cp -p "$changed" "$changed.timing-copy"
trap 'mv -f "$changed.timing-copy" "$changed" && touch "$changed"' EXIT
echo "[[maybe_unused]] static const long kMeasuredChange = $(date +%s%N);" >>"$changed"
stage "build after a one-line change" cmake --build "$build_dir" --parallel "$jobs"
stage "tests after the change" ctest --test-dir "$build_dir" --timeout 600 -j "$jobs"

printf '\n%s\n' "${results[@]}"
