// Paints album frames: the template movie's frame at the output size, then the picture and text effects
// showing in that frame, with or without the lyric line. One painter per thread; it keeps the movie it
// played last, so frames in order load each movie once.
#pragma once

#include "player/AnimationPlayer.h"

#include <QImage>
#include <memory>

namespace lumiset {

class ProductionSources;
struct TemplatePictures;

class FramePainter {
public:
    explicit FramePainter(ProductionSources& sources);

    enum class Lyric { Shown, Left };
    // Album frame `frame` as an RGB32 picture of the output size. Painting the next frame reuses its
    // memory when the caller no longer holds it.
    QImage paint(qint64 frame, Lyric lyric = Lyric::Shown);

private:
    void showSegment(int segment);
    void drawEffects(QImage& image, qint64 frame);

    ProductionSources& sources_;
    AnimationPlayer player_;
    int segment_ = -2; // the segment whose movie the player holds
    std::shared_ptr<const TemplatePictures> pictures_;
    QImage canvas_;
};

} // namespace lumiset
