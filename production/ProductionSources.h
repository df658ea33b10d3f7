// What every frame of one production is made from, shared by the threads that compose frames: the plan
// and its timeline, the effect schedule, the lyric track, the template pictures at the output size (made
// when first needed and kept only while they are in use) and the hand-over pictures. Thread-safe.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "production/EffectFrameCache.h"
#include "production/EffectSchedule.h"
#include "production/LyricTrack.h"
#include "production/ProductionPlan.h"
#include "production/ProductionTimeline.h"
#include "production/TemplatePictures.h"

#include <QList>
#include <QMutex>
#include <QRecursiveMutex>
#include <QSize>
#include <future>
#include <memory>
#include <utility>

namespace lumiset {

class FramePainter;

// The frames a production paints. `pixels` is their size; `shown` the size, in square pixels, of the
// picture they show. The two differ where a disc codes pixels of another shape: frames are then painted
// straight at the coded size, sparing the encoder a scaling, while photos, backgrounds and text are laid
// out in square pixels at the shown size and squeezed when drawn.
struct FrameShape {
    FrameShape(QSize size) : pixels(size), shown(size) {} // NOLINT: square pixels, the usual case
    FrameShape(QSize pixelSize, QSize shownSize) : pixels(pixelSize), shown(shownSize) {}
    QSize pixels;
    QSize shown;
};

class ProductionSources {
public:
    // `painters`: how many FramePainters paint from these sources at once; each holds one template's
    // pictures and one hand-over picture at a time, and no more are kept. With `ahead`, the pictures of
    // the template that plays next are made on a thread of their own while the one before plays: one set
    // more in memory, and the painters do not stop together to decode its photos.
    enum class Ahead { No, NextTemplate };
    ProductionSources(const Album& album, const TemplateCatalogue& catalogue, const DataPaths& paths,
                      const ProductionPlan& plan, FrameShape frame, int painters = 1,
                      Ahead ahead = Ahead::No);
    ~ProductionSources();

    QSize frameSize() const { return frame_.pixels; }
    const FrameShape& frameShape() const { return frame_; }
    const ProductionPlan& plan() const { return plan_; }
    const ProductionTimeline& timeline() const { return timeline_; }
    const EffectSchedule& effects() const { return effects_; }
    EffectFrameCache& effectFrames() { return effectFrames_; }
    const LyricTrack& lyrics() const { return lyrics_; }
    const QByteArray& closingMovie() const { return closingMovie_; }
    const QString& closingMovieName() const { return closingMovieName_; }

    // The pictures of the plan's template `templateIndex`.
    std::shared_ptr<const TemplatePictures> templatePictures(int templateIndex);
    // The pictures of the template timeline segment `segment` plays; with Ahead::NextTemplate, starts
    // making those of the segment after it (at the same time as these, when these are not made yet).
    std::shared_ptr<const TemplatePictures> segmentPictures(int segment);
    // What the hand-over picture shows while segment `segment` plays: the last frame of the segment before
    // it without the lyric line; for the first segment, the first template's background. A picture not
    // made yet is painted by `painter` (each once, in order, from the one before), so no painter of its
    // own holds a second player.
    QImage handOverPicture(int segment, FramePainter& painter);

    // Photos that could not be shown and lyric files that could not be read, each named once.
    QStringList warnings() const;

private:
    std::shared_ptr<const TemplatePictures> makePictures(int templateIndex) const;

    Album album_;
    const TemplateCatalogue& catalogue_;
    DataPaths paths_;
    const ProductionPlan& plan_;
    FrameShape frame_;
    int kept_; // template picture sets and hand-over pictures kept for later requests
    ProductionTimeline timeline_;
    EffectSchedule effects_;
    EffectFrameCache effectFrames_;
    LyricTrack lyrics_;
    QByteArray closingMovie_;
    QString closingMovieName_;

    mutable QMutex picturesMutex_;
    QList<std::pair<int, std::shared_ptr<const TemplatePictures>>> recentPictures_; // most recent last
    QStringList pictureWarnings_;

    QRecursiveMutex handOverMutex_;                 // painting a hand-over picture asks for the one before it
    QList<std::pair<int, QImage>> recentHandOvers_; // most recent last

    // Last, so that its making ends before anything it reads goes.
    Ahead aheadMode_;
    int aheadIndex_ = -1; // the template being made ahead; guarded by picturesMutex_
    std::future<std::shared_ptr<const TemplatePictures>> ahead_;
};

} // namespace lumiset
