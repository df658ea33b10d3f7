#!/usr/bin/env bash
# Sets up, builds and runs the program with the given arguments (default: the catalogue).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh" >&2
build="${LUMISET_BUILD_DIR:-$here/build}"
[ $# -eq 0 ] && set -- catalogue
exec "$build/bin/lumiset" "$@"
