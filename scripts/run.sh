#!/usr/bin/env bash
# Sets up, builds and runs the program. With no arguments it makes the sample album: the shipped sample
# photos, song and lyrics become an album with automatic effects, produced as an MP4 in sample-album/
# (or $LUMISET_SAMPLE_DIR). With arguments it runs `lumiset` with them (e.g. `catalogue`).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh" >&2
build="${LUMISET_BUILD_DIR:-$here/build}"
lumiset="$build/bin/lumiset"
[ $# -gt 0 ] && exec "$lumiset" "$@"

out="${LUMISET_SAMPLE_DIR:-$here/sample-album}"
mkdir -p "$out"
samples="$build/bin/samples/photos"
song="$build/bin/yinyuegeciwenjian/甜蜜蜜.mp3"
lyrics="$build/bin/yinyuegeciwenjian/甜蜜蜜.lrc"
"$lumiset" album --photos "$samples" --music "$song" --lyrics "$lyrics" \
  --check RadioButton_wenzitexiao_tianjia RadioButton_huamiantexiao_tianjia --yes \
  --save "$out/sample.lumiset"
"$lumiset" produce "$out/sample.lumiset" --type MP4 --size 1280x720 --out "$out/sample.mp4"
echo "The sample album is in $out: sample.lumiset (the album file) and sample.mp4 (the video)."
