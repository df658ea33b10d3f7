// Turns rendered album frames and the album's songs into the video file of one album type. The file is
// written under a temporary name beside the final one and takes the final name only when it is
// complete, so a stopped or failed production never leaves a partial file under that name.
//
// Threading: one thread at a time; production makes, feeds and ends it on its own encoder thread.
// Memory: a few frames and a few thousand samples, plus what the video encoder keeps, whatever the
// album's length.
#pragma once

#include "media/AlbumFormat.h"
#include "media/AlbumSound.h"
#include "media/FfmpegHolders.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace lumiset {

class AlbumEncoder {
public:
    // Creates the temporary file in `outputPath`'s folder, sets up video and sound and writes the file's
    // header. `totalFrames` album frames at 25 a second will follow; the sound is `audio`'s segments one
    // after another, silence where they end early, cut and faded out where the pictures end. Throws
    // Error naming the file when the folder is missing or not writable, the settings are impossible or
    // FFmpeg refuses.
    AlbumEncoder(const EncoderSettings& settings, const QString& outputPath, QList<AudioSegment> audio,
                 qint64 totalFrames);
    // Without a successful finish(): removes the temporary file; the final name is never touched.
    ~AlbumEncoder();
    AlbumEncoder(const AlbumEncoder&) = delete;
    AlbumEncoder& operator=(const AlbumEncoder&) = delete;

    // The next album frame, of the album size, in any format (RGB32 and ARGB32_Premultiplied are taken
    // without a conversion; transparency shows black). Throws Error when the file cannot be written (a
    // full disk) or the frame does not fit; the encoder is unusable afterwards.
    void addFrame(const QImage& frame);
    // The same for a frame already converted by a FrameConverter made with this encoder's settings:
    // production converts on its composing threads. A picture of another format throws Error.
    void addPicture(FrameHolder picture);
    // After the last frame: ends the sound, writes the rest of the file and gives it its final name,
    // replacing a file of that name. Throws Error naming the file on a write failure (a full disk) or
    // when fewer frames came than announced; nothing then remains under either name.
    void finish();

    // One line per song that was missing or damaged (it plays as far as it can be read; silence fills
    // the rest), naming its file.
    QStringList warnings() const;

    // Progress for the log: album frames given so far of totalFrames(), sound samples encoded so far of
    // totalAudioSamples() (at audioSampleRate() a second).
    qint64 totalFrames() const;
    qint64 encodedFrames() const;
    qint64 totalAudioSamples() const;
    qint64 encodedAudioSamples() const;
    int audioSampleRate() const;

    // Throws Error with a message for the user when the folder of `outputPath` is missing or no file can
    // be created in it, or `outputPath` names a folder. Production calls it before rendering anything.
    static void CheckOutputFolder(const QString& outputPath);

private:
    struct Output;
    std::unique_ptr<Output> output_;
};

} // namespace lumiset
