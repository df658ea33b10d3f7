// The length of a music file, as the music list shows it and the production plans the sound with it.
#pragma once

#include <QString>

namespace lumiset {

// How messages about a music file name it: "音乐文件“<path>”".
QString MusicSubject(const QString& path);

// The exact length in milliseconds of the first audio stream of any file FFmpeg reads (MP3 above all):
// the samples a player plays, whatever the container declares (its duration can be far off, about 30 %
// for a VBR MP3 without a Xing header). MP3 and PCM files are measured in milliseconds by adding up their
// packet durations, less the encoder delay and padding the file declares; other formats are decoded.
// Throws Error naming the file when it holds no readable audio.
qint64 MusicLengthMilliseconds(const QString& path);

// "00:" + minutes + ":" + seconds, each at least two digits; whole seconds, truncated, and minutes are
// not wrapped into hours: 3725 seconds read "00:62:05".
QString MusicLengthText(qint64 milliseconds);

} // namespace lumiset
