#include "photos/ThumbnailPlaceholder.h"

#include <QPainterPath>
#include <algorithm>

namespace lumiset {

void DrawPicturePlaceholder(QPainter& painter, const QRect& area) {
    const qreal side = std::min<qreal>(std::min(area.width(), area.height()) * 0.6, 160.0);
    if (side < 4)
        return;
    const QRectF icon(area.center().x() + 0.5 - side / 2, area.center().y() + 0.5 - side / 2, side, side);
    const auto at = [&icon](qreal x, qreal y) {
        return QPointF(icon.left() + x * icon.width(), icon.top() + y * icon.height());
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = std::max<qreal>(1.0, side / 40);
    painter.setPen(QPen(QColor(0x8a, 0x96, 0xa3), line));
    painter.setBrush(QColor(0xee, 0xf2, 0xf6));
    const QRectF frame = icon.adjusted(line / 2, side * 0.12, -line / 2, -side * 0.12);
    painter.drawRoundedRect(frame, side * 0.06, side * 0.06);

    // The scene inside the frame: a sun and two hills, clipped to the frame.
    QPainterPath inside;
    inside.addRoundedRect(frame.adjusted(line, line, -line, -line), side * 0.05, side * 0.05);
    painter.setClipPath(inside, Qt::IntersectClip);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf2, 0xb8, 0x4b));
    painter.drawEllipse(at(0.72, 0.34), side * 0.08, side * 0.08);
    painter.setBrush(QColor(0x9f, 0xb3, 0xc8));
    painter.drawPolygon(QPolygonF({at(0.38, 0.9), at(0.68, 0.52), at(1.0, 0.9)}));
    painter.setBrush(QColor(0x6f, 0x86, 0x9f));
    painter.drawPolygon(QPolygonF({at(0.0, 0.9), at(0.34, 0.42), at(0.7, 0.9)}));
    painter.restore();
}

} // namespace lumiset
