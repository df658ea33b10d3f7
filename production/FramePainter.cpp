#include "production/FramePainter.h"

#include "audio/LyricStyle.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "effects/EffectFrames.h"
#include "effects/EffectLibrary.h"
#include "production/ProductionSources.h"

#include <QPainter>

namespace lumiset {

namespace {

// Effect frames are drawn for a 1920 × 1080 frame; text effects sit at their place on the 800 × 450 stage.
constexpr double kDesignWidth = 1920.0;
constexpr double kDesignHeight = 1080.0;

} // namespace

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
        pictures_ = sources_.templatePictures(shown.templateIndex);
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
    QImage image(sources_.frameSize(), QImage::Format_RGB32);
    const MovieFrameRef shown = sources_.timeline().movieAt(frame);
    if (shown.segment < 0) {
        image.fill(Qt::black);
        return image;
    }
    showSegment(shown.segment);
    player_.setFrameNum(shown.movieFrame);
    player_.paint(image);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (lyric == Lyric::Shown) {
        const LyricLine line = sources_.lyrics().at(frame);
        if (!line.text.isEmpty() && line.style)
            DrawLyricLine(painter, image.size(), *line.style, line.text);
    }
    drawEffects(painter, frame);
    return image;
}

void FramePainter::drawEffects(QPainter& painter, qint64 frame) {
    const double width = painter.device()->width();
    const double height = painter.device()->height();
    const double sx = width / kDesignWidth;
    const double sy = height / kDesignHeight;
    for (const EffectInFrame& showing : sources_.effects().at(frame)) {
        EffectFrame picture;
        try {
            picture =
                LoadEffectFrame(EffectFramePath(showing.effect->folder, showing.frame, FrameUse::Production));
        } catch (const Error&) {
            // A frame file that is missing or damaged shows nothing, as a frame the effect does not draw.
            continue;
        }
        // Frames are cropped to their content; the offset puts them back where they belong.
        QPointF topLeft(picture.offset.x() * sx, picture.offset.y() * sy);
        if (showing.effect->kind == ScheduledEffect::Kind::Text)
            topLeft += QPointF(showing.effect->stagePosition.x() * width / kStageWidth,
                               showing.effect->stagePosition.y() * height / kStageHeight);
        painter.drawImage(QRectF(topLeft, QSizeF(picture.image.width() * sx, picture.image.height() * sy)),
                          picture.image);
    }
}

} // namespace lumiset
