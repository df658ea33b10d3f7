// The picture icon that stands in for a photo that cannot be shown.
#pragma once

#include <QPainter>
#include <QRect>

namespace lumiset {

// Draws a small framed landscape icon (hills and a sun) centred in `area`, sized to it up to icon size.
void DrawPicturePlaceholder(QPainter& painter, const QRect& area);

} // namespace lumiset
