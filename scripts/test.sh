#!/usr/bin/env bash
# Sets up, builds and runs every test (including the formatting check), then builds the core and the
# player alone without Qt Widgets and runs the small program that uses them.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh"
build="${LUMISET_BUILD_DIR:-$here/build}"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

core_only="$build-core-only"
extra=()
[ -n "${CI:-}" ] && extra+=(-DLUMISET_WERROR=ON)
cmake -S "$here" -B "$core_only" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMISET_CORE_ONLY=ON "${extra[@]}" >/dev/null
cmake --build "$core_only" -j "$(nproc)" >/dev/null
"$core_only/bin/lumiset_core_only"
