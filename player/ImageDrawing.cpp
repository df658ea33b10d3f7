#include "player/ImageDrawing.h"

#include <QPainter>
#include <cmath>

namespace lumiset {

namespace {

constexpr double kTolerance = 1e-4;
// Moves the far edge of a 4000-pixel picture by 0.0004 pixels.
constexpr double kHairAboveOne = 1 + 1e-7;
// Further than any surface reaches (and than whole pixel numbers can count).
constexpr double kFarAway = 1e8;

bool IsWhole(double value) {
    return std::abs(value - std::round(value)) < kTolerance;
}

} // namespace

void SetDrawingHints(QPainter& painter) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
}

void DrawImage(QPainter& painter, const QImage& image, const QTransform& imageToDevice, const QRectF& part) {
    const QRectF drawn = part.isNull() ? QRectF(image.rect()) : part;
    const bool shiftOnly = imageToDevice.type() <= QTransform::TxScale &&
                           std::abs(imageToDevice.m11() - 1) < 1e-9 &&
                           std::abs(imageToDevice.m22() - 1) < 1e-9;
    if (shiftOnly && (std::abs(imageToDevice.dx()) > kFarAway || std::abs(imageToDevice.dy()) > kFarAway))
        return; // nowhere near any surface
    if (shiftOnly && IsWhole(imageToDevice.dx()) && IsWhole(imageToDevice.dy())) {
        painter.resetTransform();
        const QPoint shift(int(std::round(imageToDevice.dx())), int(std::round(imageToDevice.dy())));
        if (part.isNull())
            painter.drawImage(shift, image);
        else
            painter.drawImage(drawn.translated(shift), image, drawn);
        return;
    }
    if (shiftOnly)
        painter.setTransform(
            QTransform(kHairAboveOne, 0, 0, kHairAboveOne, imageToDevice.dx(), imageToDevice.dy()));
    else
        painter.setTransform(imageToDevice);
    if (part.isNull())
        painter.drawImage(QPointF(0, 0), image);
    else
        painter.drawImage(drawn, image, drawn);
}

} // namespace lumiset
