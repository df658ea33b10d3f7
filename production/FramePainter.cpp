#include "production/FramePainter.h"

#include "audio/LyricStyle.h"
#include "core/TextHelpers.h"
#include "production/ProductionSources.h"

#include <QPainter>

namespace lumiset {

FramePainter::FramePainter(ProductionSources& sources) : sources_(sources) {
    player_.setLooping(false);
}

void FramePainter::showSegment(int segment) {
    if (segment == segment_)
        return;
    const MovieSegment& shown = sources_.timeline().segments()[segment];
    if (shown.isClosing()) {
        pictures_.reset();
        player_.setMovieData(sources_.closingMovie(), PictureProvider(), {}, sources_.closingMovieName());
    } else {
        // First, as making it may paint the frame before with this very painter.
        QImage handOver = sources_.handOverPicture(segment, *this);
        // The last template's pictures go before the next template's are made, so a painter never
        // holds two sets at once.
        segment_ = -2;
        pictures_.reset();
        player_.unload();
        pictures_ = sources_.segmentPictures(segment);
        PictureProvider pictures = pictures_->pictures;
        pictures.insert(kHandOverPictureName, std::move(handOver));
        player_.setMovieData(pictures_->movie, pictures, {}, pictures_->movieName);
        const QString& transparency = sources_.plan().templates[shown.templateIndex].transparency;
        if (WholeNumberIn(transparency, -1000000, 1000000))
            player_.setVariable(kNumStopVariable, transparency.trimmed());
    }
    segment_ = segment;
}

QImage FramePainter::paint(qint64 frame, Lyric lyric) {
    // Painted into the same picture each time once the caller has let go of the last one: a fresh
    // picture of several megabytes a frame costs the system's time to map and clear it.
    QImage& image = canvas_;
    if (image.size() != sources_.frameSize())
        image = QImage(sources_.frameSize(), QImage::Format_RGB32);
    const MovieFrameRef shown = sources_.timeline().movieAt(frame);
    if (shown.segment < 0) {
        image.fill(Qt::black);
        return image;
    }
    showSegment(shown.segment);
    player_.setFrameNum(shown.movieFrame);
    player_.paint(image);

    if (lyric == Lyric::Shown) {
        const LyricLine line = sources_.lyrics().at(frame);
        if (!line.text.isEmpty() && line.style) {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            const FrameShape& shape = sources_.frameShape();
            painter.scale(double(shape.pixels.width()) / shape.shown.width(),
                          double(shape.pixels.height()) / shape.shown.height());
            DrawLyricLine(painter, shape.shown, *line.style, line.text);
        }
    }
    drawEffects(image, frame);
    return image;
}

void FramePainter::drawEffects(QImage& image, qint64 frame) {
    for (const EffectInFrame& showing : sources_.effects().at(frame))
        sources_.effectFrames().draw(showing, frame, image);
}

} // namespace lumiset
