// The lyric preview screen (679 × 390) on which a lyric's position and size are set; the album player and
// the video production scale them from it to their own picture.
#pragma once

namespace lumiset {

constexpr int kLyricPreviewWidth = 679;
constexpr int kLyricPreviewHeight = 390;

} // namespace lumiset
