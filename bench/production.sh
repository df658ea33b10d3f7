#!/usr/bin/env bash
# Production against the tools a user would pick instead. Builds an album of 24 camera-size photos
# (16 landscape, 8 portrait) with 120 s of music and automatic effects, then reports:
#   - MP4 高清 at 1280 × 720: production wall time against a bare encode of the same frames, composed
#     beforehand, with the same encoder settings (goal: ≤ 1.15 ×);
#   - DVD production speed against realtime (goal: ≥ 10 ×);
#   - peak memory of a 1920 × 1080 production (goal: ≤ 300 MB);
#   - file size and SSIM of the MP4 against the composed frames, next to x264 medium crf 23 of the same
#     frames (高清 must be no weaker).
# Usage: bash bench/production.sh [BUILD_DIR]   (run by hand; takes several minutes)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
bin="$build/bin/lumiset"
helper="$build/bench/bench_production"
export LUMISET_PROGRAM_DIR="$build/bin" # the helper reads the data folder beside the program
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/photos"

echo "making 24 photos of 12 MP and 120 s of music in $work" >&2
for i in $(seq 1 24); do
  size=4000x3000
  [ "$i" -gt 16 ] && size=3000x4000
  # Colour stored at half resolution (4:2:0) as cameras store it, with grain: about 9 MB each, heavier
  # than a typical 12 MP camera file.
  ffmpeg -v error -f lavfi -i "gradients=s=$size:seed=$i:n=4,noise=alls=4:allf=t" -frames:v 1 -q:v 3 \
    -pix_fmt yuvj420p "$work/photos/photo_$(printf %02d "$i").jpg"
done
ffmpeg -v error -stream_loop 2 -i "$build/bin/yinyuegeciwenjian/甜蜜蜜.mp3" -t 120 -c:a libmp3lame -b:a 192k \
  "$work/music.mp3"
"$bin" album --photos "$work/photos" --music "$work/music.mp3" \
  --check RadioButton_huamiantexiao_tianjia RadioButton_wenzitexiao_tianjia --yes --save "$work/album.lumiset" >&2

timed() { # prints "<wall seconds> <peak KB>" of a command
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
  cat "$work/time"
}

read -r produce_s produce_kb < <(timed "$bin" produce "$work/album.lumiset" --type MP4 --size 1280x720 \
  --out "$work/album.mp4")
frames=$(ffprobe -v error -select_streams v -count_packets -show_entries stream=nb_read_packets -of csv=p=0 \
  "$work/album.mp4")
read -r dvd_s _ < <(timed "$bin" produce "$work/album.lumiset" --type DVD --out "$work/album.mpg")
echo "DVD: ${dvd_s}s for $(echo "scale=1; $frames / 25" | bc)s of video:" \
  "$(echo "scale=1; $frames / 25 / $dvd_s" | bc) × realtime"

read -r hd_s hd_kb < <(timed "$bin" produce "$work/album.lumiset" --type MP4 --size 1920x1080 \
  --out "$work/album_1080.mp4")
echo "MP4 1920x1080: ${hd_s}s, peak memory $((hd_kb / 1024)) MB (1280x720: $((produce_kb / 1024)) MB)"

# Every composed frame, once (about 11 GB): the bare encode, the reference and x264's file use them.
# Written after the productions are timed, so that the system writing it out does not slow them.
"$helper" frames "$work/album.lumiset" 1280x720 >"$work/frames.bgra"
sync # nor the bare encode
bare_s=$("$helper" encode "$work/album.lumiset" MP4 1280x720 gaoqing "$work/bare.mp4" "$work/frames.bgra")
echo "MP4 1280x720 高清: $frames frames; production ${produce_s}s, bare encode ${bare_s}s," \
  "ratio $(echo "scale=3; $produce_s / $bare_s" | bc)"

ffmpeg -v error -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i "$work/frames.bgra" -c:v ffv1 "$work/reference.mkv"
ffmpeg -v error -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i "$work/frames.bgra" -vf scale=out_color_matrix=bt709,format=yuv420p -colorspace bt709 -color_primaries bt709 \
  -color_trc bt709 -c:v libx264 -preset medium -crf 23 "$work/x264.mp4"
# Both files are compared in BT.709, the matrix production writes at HD sizes; the default conversion of
# the reference would favour a file made with the older matrix.
ssim() {
  ffmpeg -v info -i "$1" -i "$work/reference.mkv" \
    -lavfi "[1:v]scale=out_color_matrix=bt709,format=yuv420p[r];[0:v]format=yuv420p[o];[o][r]ssim" -f null - 2>&1 |
    sed -n 's/.*All:\([0-9.]*\).*/\1/p'
}
ffmpeg -v error -i "$work/album.mp4" -an -c copy "$work/video_only.mp4"
echo "高清 MP4 (video stream): $(stat -c %s "$work/video_only.mp4") bytes, SSIM $(ssim "$work/album.mp4")"
echo "x264 medium crf 23: $(stat -c %s "$work/x264.mp4") bytes, SSIM $(ssim "$work/x264.mp4")"
