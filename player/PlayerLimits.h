// What a movie may ask of the player. No real template comes near these numbers: a movie that passes
// one is damaged or hostile, and is refused with a message naming its file instead of hanging the
// program or exhausting its memory.
#pragma once

#include <QtGlobal>

namespace lumiset::limits {

// A movie file read by AnimationPlayer::setMovie; larger or not a regular file: an Error.
constexpr qint64 kMaxMovieFileBytes = 32 * 1024 * 1024;
// Frames of one movie; more is a corrupt file, not a long movie.
constexpr double kMaxFrames = 10'000'000;
// Precompositions nested deeper than this are refused: drawing recurses once per level.
constexpr int kMaxPrecompositionDepth = 32;
// Layers drawn for one frame, counting every use of a precomposition's layers and every matte.
constexpr qint64 kMaxLayerInstances = 20'000;
// Parents above one layer (a layer's transform is the product of its parents' transforms).
constexpr int kMaxParentDepth = 100;
// A picture file of an image asset larger than this, or not a regular file, is not read: it is
// reported among the missing pictures and drawn as nothing.
constexpr qint64 kMaxPictureFileBytes = 64 * 1024 * 1024;
// Pixels of one decoded picture (file or embedded); 32 Mi pixels take 128 MiB. A file over it is
// missing; an embedded picture over it makes the movie an Error.
constexpr qint64 kMaxPicturePixels = 32 * 1024 * 1024;
// Pixels of all the pictures a movie brings (files and embedded) together; pictures given from memory
// do not count. A picture past it is refused as above.
constexpr qint64 kMaxMoviePicturePixels = 128 * 1024 * 1024;

} // namespace lumiset::limits
