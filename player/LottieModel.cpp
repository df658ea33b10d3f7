#include "player/LottieModel.h"

#include <algorithm>

namespace lumiset::lottie {

QTransform Transform::matrixAt(double frame) const {
    const Vec a = anchor.at(frame);
    const Vec s = scale.at(frame);
    const QPointF p = separatePosition
                          ? QPointF(Component(positionX.at(frame), 0), Component(positionY.at(frame), 0))
                          : PointOf(position.at(frame));
    // Lottie order: move the anchor to the origin, scale, rotate, then move to the position.
    QTransform m;
    m.translate(p.x(), p.y());
    m.rotate(Component(rotation.at(frame), 0));
    m.scale(Component(s, 0) / 100.0, s.size() > 1 ? s[1] / 100.0 : Component(s, 0) / 100.0);
    m.translate(-Component(a, 0), -Component(a, 1));
    return m;
}

double Transform::opacityAt(double frame) const {
    return std::clamp(Component(opacity.at(frame), 0) / 100.0, 0.0, 1.0);
}

} // namespace lumiset::lottie
