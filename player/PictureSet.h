// The decoded pictures of one loaded movie: given from memory, embedded in the movie or read from
// files. Files are read when the movie is loaded, so a fresh load always sees them as they are now.
#pragma once

#include "player/LottieModel.h"
#include "player/PictureProvider.h"

#include <QImage>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace lumiset {

// One decoded picture and its half-size reductions, made on first use. Bilinear sampling alone
// shimmers when a picture is drawn at less than half its size; a reduction keeps it smooth.
class Picture {
public:
    explicit Picture(QImage image);
    QSize size() const { return levels_.front().size(); }
    // Every pixel is fully opaque.
    bool isOpaque() const { return !levels_.front().hasAlphaChannel(); }
    // The reduction to draw when one pixel of the full picture covers `deviceScale` device pixels.
    const QImage& levelFor(double deviceScale) const { return level(levelIndexFor(deviceScale)); }
    // Which reduction that is: 0 for the picture itself, n for the n-th halving.
    int levelIndexFor(double deviceScale) const;
    // Reduction `index` (made now if needed). @pre index <= levelIndexFor of some scale
    const QImage& level(int index) const;

private:
    mutable std::deque<QImage> levels_; // [0] is the picture itself; references stay valid
};

class PictureSet {
public:
    PictureSet() = default;
    // Decodes every image asset of `movie`. An external picture is taken from `provided` when it has
    // one under the asset's file name, else read from that file resolved against `folder` (nothing is
    // read when `folder` is empty). A missing, unreadable or oversized file (see PlayerLimits.h) is
    // recorded in missing() and drawn as nothing; an embedded picture that does not decode or is too
    // large is a broken movie (Error naming `sourceName`).
    PictureSet(const lottie::LottieMovie& movie, const QString& folder, const PictureProvider& provided,
               const QString& sourceName);

    // The picture of image asset `index`, or nullptr when it could not be read.
    const Picture* picture(int index) const;
    // Paths of the external pictures that could not be read (file names as the movie gives them when
    // there is no folder), in asset order.
    const QStringList& missing() const { return missing_; }

private:
    std::vector<std::optional<Picture>> pictures_;
    QStringList missing_;
};

} // namespace lumiset
