// The length of a music file, as the music list shows it and the production plans the sound with it.
#pragma once

#include <QString>

namespace lumiset {

// The exact length in milliseconds of the first audio stream of any file FFmpeg reads (MP3 above all).
// It adds up the durations of the stream's packets without decoding them, minus the encoder delay and
// padding the file declares: the container's own duration can be far off (about 30 % for a VBR MP3
// without a Xing header). Throws Error naming the file when it holds no readable audio.
qint64 MusicLengthMilliseconds(const QString& path);

// "00:" + minutes + ":" + seconds, each at least two digits; whole seconds, truncated, and minutes are
// not wrapped into hours: 3725 seconds read "00:62:05".
QString MusicLengthText(qint64 milliseconds);

} // namespace lumiset
