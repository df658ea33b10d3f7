// A Lottie bezier path: vertices with in and out tangents relative to their vertex.
#pragma once

#include <QJsonObject>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <vector>

namespace lumiset::templates {

struct BezierPath {
    std::vector<QPointF> vertices;
    std::vector<QPointF> in;  // relative to the vertex
    std::vector<QPointF> out; // relative to the vertex
    bool closed = true;

    void add(QPointF vertex, QPointF inTangent = {}, QPointF outTangent = {});
    QJsonObject toJson() const;

    static BezierPath rect(const QRectF& rect, double radius = 0.0);
    static BezierPath ellipse(const QRectF& rect);
    // One path per closed sub-path of a painter path (glyph outlines, drawn shapes).
    static std::vector<BezierPath> fromPainterPath(const QPainterPath& path);
};

} // namespace lumiset::templates
