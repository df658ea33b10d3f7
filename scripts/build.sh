#!/usr/bin/env bash
# Configures and builds Lumiset into build/ (override with LUMISET_BUILD_DIR).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup-debian.sh"
build="${LUMISET_BUILD_DIR:-$here/build}"
extra=()
[ -n "${CI:-}" ] && extra+=(-DLUMISET_WERROR=ON)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
