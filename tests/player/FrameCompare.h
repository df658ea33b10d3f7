// Rendering a test movie with our player and with rlottie (the reference for vector-only movies), and
// measuring how close two frames are.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QString>

namespace lumiset::test {

// Frame `frame` of `json` from our player on a transparent surface of `size`; external pictures are
// looked up in `folder`.
QImage RenderWithPlayer(const QByteArray& json, QSize size, int frame, const QString& folder = {});
// The same frame from rlottie.
QImage RenderWithRlottie(const QByteArray& json, QSize size, int frame);

// Mean absolute difference per channel, 0..255 (premultiplied ARGB).
double MeanDifference(const QImage& a, const QImage& b);
// Centre of the pixels weighted by their alpha; (-1, -1) when all are transparent.
QPointF OpaqueCentroid(const QImage& image);
// Bounding box of the pixels that differ from `background` by more than a few levels.
QRect PaintedArea(const QImage& image, QRgb background);
// Saves `image` as <name>.png in $LUMISET_TEST_FRAMES when that is set (to look at frames).
void SaveForLooking(const QImage& image, const QString& name);

} // namespace lumiset::test
