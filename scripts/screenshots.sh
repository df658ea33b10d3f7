#!/usr/bin/env bash
# Remakes docs/screenshots: builds the screenshot helper if needed, shows every window under a virtual
# X server (Xvfb) and saves a picture of each window alone.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${LUMISET_BUILD_DIR:-$here/build}"
out="$here/docs/screenshots"
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target lumiset_screenshots
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
# The photo tables show where the photos are: a fixed, neutral folder keeps the pictures free of this
# machine's paths and the same from run to run.
photos="/tmp/lumiset-screenshots/照片"
program="${LUMISET_PROGRAM_DIR:-$build/bin}"
rm -rf "$photos" && mkdir -p "$photos" && cp "$program/samples/photos/"*.jpg "$photos/"
trap 'rm -rf "$work" "$photos"' EXIT
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb LUMISET_SHOT_PHOTOS="$photos" \
  xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tools/lumiset_screenshots" "$work/shots"
mkdir -p "$out"
rm -f "$out"/*.png
cp "$work/shots"/*.png "$out/"
echo "screenshots in $out:"
ls "$out"
