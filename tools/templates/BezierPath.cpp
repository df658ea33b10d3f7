#include "tools/templates/BezierPath.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

namespace lumiset::templates {

namespace {

constexpr double kKappa = 0.5522847498; // circle quadrant as one cubic

QJsonArray pointArray(const std::vector<QPointF>& points) {
    QJsonArray a;
    for (const QPointF& p : points)
        a.append(QJsonArray{std::round(p.x() * 100.0) / 100.0, std::round(p.y() * 100.0) / 100.0});
    return a;
}

} // namespace

void BezierPath::add(QPointF vertex, QPointF inTangent, QPointF outTangent) {
    vertices.push_back(vertex);
    in.push_back(inTangent);
    out.push_back(outTangent);
}

QJsonObject BezierPath::toJson() const {
    return QJsonObject{
        {"i", pointArray(in)}, {"o", pointArray(out)}, {"v", pointArray(vertices)}, {"c", closed}};
}

BezierPath BezierPath::rect(const QRectF& r, double radius) {
    BezierPath p;
    const double rr = std::min({radius, r.width() / 2.0, r.height() / 2.0});
    if (rr <= 0.0) {
        p.add(r.topLeft());
        p.add(r.topRight());
        p.add(r.bottomRight());
        p.add(r.bottomLeft());
        return p;
    }
    const double k = rr * kKappa;
    const double l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    p.add({l + rr, t}, {-k, 0}, {});
    p.add({rt - rr, t}, {}, {k, 0});
    p.add({rt, t + rr}, {0, -k}, {});
    p.add({rt, b - rr}, {}, {0, k});
    p.add({rt - rr, b}, {k, 0}, {});
    p.add({l + rr, b}, {}, {-k, 0});
    p.add({l, b - rr}, {0, k}, {});
    p.add({l, t + rr}, {}, {0, -k});
    return p;
}

BezierPath BezierPath::ellipse(const QRectF& r) {
    BezierPath p;
    const QPointF c = r.center();
    const double rx = r.width() / 2.0, ry = r.height() / 2.0;
    const double kx = rx * kKappa, ky = ry * kKappa;
    p.add({c.x(), r.top()}, {-kx, 0}, {kx, 0});
    p.add({r.right(), c.y()}, {0, -ky}, {0, ky});
    p.add({c.x(), r.bottom()}, {kx, 0}, {-kx, 0});
    p.add({r.left(), c.y()}, {0, ky}, {0, -ky});
    return p;
}

std::vector<BezierPath> BezierPath::fromPainterPath(const QPainterPath& path) {
    std::vector<BezierPath> result;
    BezierPath current;
    auto finish = [&] {
        if (current.vertices.size() >= 2) {
            // A closing segment that returns to the start duplicates the first vertex.
            if (QLineF(current.vertices.front(), current.vertices.back()).length() < 1e-6) {
                current.in.front() = current.in.back();
                current.vertices.pop_back();
                current.in.pop_back();
                current.out.pop_back();
            }
            result.push_back(current);
        }
        current = BezierPath();
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            finish();
            current.add(e);
        } else if (e.isLineTo()) {
            current.add(e);
        } else if (e.isCurveTo()) {
            const QPointF c1 = e;
            const QPointF c2 = path.elementAt(i + 1);
            const QPointF end = path.elementAt(i + 2);
            current.out.back() = c1 - current.vertices.back();
            current.add(end, c2 - end, {});
            i += 2;
        }
    }
    finish();
    return result;
}

} // namespace lumiset::templates
