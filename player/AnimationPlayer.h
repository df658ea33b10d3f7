// The animation player: what the program does with a movie. It loads a Lottie movie file (whatever
// its extension), seeks to a frame, plays on a clock, exchanges text variables and paints the current
// frame into an image of any size.
//
// Threading: a player is used by one thread at a time; separate players may run in parallel threads
// (each owns its movie, pictures and buffers; nothing is shared). There is no timer inside: a playing
// player derives its frame from the clock whenever it is asked, so windows poll it from their own
// timers and headless callers set frames explicitly.
#pragma once

#include "player/PictureProvider.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace lumiset {

// The variable that reads the movie's marker (its first Lottie marker comment), as the parameter
// files name their marker.
inline const QString kMarkerVariable = QStringLiteral("l_x_k_r_v_t_w_j_s_y");
// Background transparency 0..100: layers named "num_stop" get opacity 100 - value.
inline const QString kNumStopVariable = QStringLiteral("num_stop");

class AnimationPlayer {
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<qint64()>;
    static qint64 SteadyClockMilliseconds();

    explicit AnimationPlayer(Clock clock = SteadyClockMilliseconds);
    ~AnimationPlayer();
    AnimationPlayer(const AnimationPlayer&) = delete;
    AnimationPlayer& operator=(const AnimationPlayer&) = delete;

    // `Movie`: loads the movie file `path` and its pictures (read afresh from disk), stopped at frame
    // 0 with fresh variables. Throws Error for a missing, broken, unsupported or oversized movie, or a
    // path that is not a regular file (see PlayerLimits.h); the player then keeps its previous movie.
    void setMovie(const QString& path);
    // Loads a movie held in memory (a decoded package); its external pictures are looked up in
    // `folder` (none when empty), and `name` names it in messages.
    void setMovieData(const QByteArray& json, const QString& folder, const QString& name);
    // The same, taking the pictures that `pictures` has from memory, pixel for pixel; only the others
    // are looked up in `folder`.
    void setMovieData(const QByteArray& json, const PictureProvider& pictures, const QString& folder,
                      const QString& name);
    const QString& movie() const { return moviePath_; }
    bool hasMovie() const;
    // Lets go of the movie and its pictures; the player then paints only its background.
    void unload();

    // `TotalFrames`: frame count of the movie (0 without one). It has ended when
    // totalFrames() == frameNum() + 1.
    int totalFrames() const;
    // `FrameNum`: the current frame, 0-based. While playing it follows the clock at the movie's frame
    // rate (25 fps for ours), looping at the end unless looping is off.
    int frameNum() const;
    // Shows frame `frame` at once (clamped to the movie); playback, if on, continues from there.
    void setFrameNum(int frame);
    // `Play` and `Stop`.
    void play();
    void stop();
    bool isPlaying() const { return playing_; }
    void setLooping(bool looping) { looping_ = looping; }

    // `SetVariable`: "num_stop" takes a number 0..100 (out-of-range values are clamped; other text
    // throws Error). Other names are kept as text.
    void setVariable(const QString& name, const QString& value);
    // `GetVariable`: kMarkerVariable reads the movie's marker (empty without one); other names return
    // what was set since the movie was loaded.
    QString getVariable(const QString& name) const;

    // Full paths of the movie's external pictures that could not be read (drawn as nothing); without a
    // folder, their names as the movie gives them.
    QStringList missingPictures() const;
    // Reads the current movie's pictures from disk again (pictures given from memory stay).
    void reloadPictures();

    // Colour under the movie (default black; transparent is allowed).
    void setBackground(const QColor& color) { background_ = color; }
    // Paints the current frame over the whole `surface`, the composition scaled to fill it.
    void paint(QImage& surface);
    // The current frame as a new premultiplied ARGB image of `size`.
    QImage grabFrame(const QSize& size);

private:
    struct Loaded;
    void install(std::unique_ptr<Loaded> loaded, const QString& path);

    Clock clock_;
    std::unique_ptr<Loaded> loaded_;
    QString moviePath_;
    int frame_ = 0;
    bool playing_ = false;
    bool looping_ = true;
    qint64 playStartMs_ = 0;
    int playStartFrame_ = 0;
    QList<std::pair<QString, QString>> variables_;
    QColor background_ = Qt::black;
};

} // namespace lumiset
