#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (core, UI on the offscreen platform,
# end-to-end against the virtual controller, the virtual controller itself).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 -j "$(nproc)"
