// Reading the sound of a local media file: opening it safely, its packets in file order, and its
// decoded frames. Messages name the file through a caller's subject, e.g. "音乐文件“a.mp3”".
#pragma once

#include "media/FfmpegHolders.h"

#include <QString>
#include <functional>

namespace lumiset {

// A file open for reading its best audio stream; every other stream (a cover picture…) is discarded.
struct AudioInput {
    InputFormatHolder format;
    AVStream* stream = nullptr;
};

// Opens the regular file `path`. FFmpeg reads only local files through it: a name such as
// "concat:…" or a playlist inside the file reaches nothing else. Throws Error (MediaError when FFmpeg
// gives a reason) starting with `subject` when the file is missing, not a regular file (a pipe would
// block for ever), not a format FFmpeg reads, or holds no sound.
AudioInput OpenAudioInput(const QString& path, const QString& subject);

// Calls `use` with every packet of the audio stream, in file order. Throws MediaError on a read error.
void ForEachAudioPacket(const AudioInput& input, const QString& subject,
                        const std::function<void(const AVPacket*)>& use);

// A decoder of the audio stream, open. Throws Error starting with `subject` when FFmpeg has none for it.
CodecContextHolder OpenAudioDecoder(const AudioInput& input, const QString& subject);

// Decodes the whole audio stream and calls `use` with every frame. A packet the decoder refuses is
// skipped, as a player skips a damaged frame. Throws Error when the stream cannot be decoded at all.
void DecodeAudio(const AudioInput& input, const QString& subject,
                 const std::function<void(const AVFrame*)>& use);

} // namespace lumiset
