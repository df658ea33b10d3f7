// The sound track of an album: its songs one after another, each cut to its planned length, resampled to
// one rate in stereo, and faded out at the end of the pictures. Songs are decoded as the track is read,
// one at a time, so only a few thousand samples are ever held, whatever the album's length.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace lumiset {

// Plays the first frames / 25 seconds of the file at `path`.
struct AudioSegment {
    QString path;
    qint64 frames = 0;
};

class AlbumSound {
public:
    // `length` samples at `sampleRate` follow, the last second (at most) fading to silence; segments
    // beyond it are cut, and silence fills what the segments leave. Opens nothing yet.
    AlbumSound(QList<AudioSegment> segments, int sampleRate, qint64 length);
    ~AlbumSound();
    AlbumSound(const AlbumSound&) = delete;
    AlbumSound& operator=(const AlbumSound&) = delete;

    // The next `count` samples of each channel, as floats in −1…1; silence past the end. A song that
    // cannot be read is silence and a warning, never an exception.
    void read(float* left, float* right, int count);

    // One line per song that was missing, unreadable or damaged, naming its file.
    const QStringList& warnings() const { return warnings_; }

private:
    struct Range {
        QString path;
        qint64 start = 0; // in samples of the track
        qint64 end = 0;
    };
    class Song;

    void startSegment();
    void endSegment();
    void shape(float* left, float* right, int count, qint64 segmentEnd) const;

    QList<Range> ranges_;
    int sampleRate_;
    qint64 length_;
    qint64 fadeLength_;
    qint64 position_ = 0;
    int current_ = 0; // index into ranges_
    std::unique_ptr<Song> song_;
    bool songFailed_ = false;
    qint64 missing_ = 0; // samples of the current segment the song could not give
    QStringList warnings_;
};

} // namespace lumiset
