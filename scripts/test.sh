#!/usr/bin/env bash
# Sets up, builds and runs every test (including the formatting check).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh"
build="${LUMISET_BUILD_DIR:-$here/build}"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
