// Small builders for the Lottie movies the player tests make. Each returns the JSON object of one
// piece (value, keyframe, shape item, layer, movie) with the fields a Bodymovin export would write.
#pragma once

#include <QImage>

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointF>

namespace lumiset::test::lottie {

QJsonObject Value(double v);
QJsonObject Value(const QJsonArray& v);
// Keyframes: linear, hold, and cubic-bezier with the easing control points `out` and `in`.
QJsonObject LinearKey(double t, const QJsonArray& s);
QJsonObject HoldKey(double t, const QJsonArray& s);
QJsonObject EaseKey(double t, const QJsonArray& s, QPointF out, QPointF in);
// The last keyframe: a time and a value only, as Bodymovin writes it.
QJsonObject EndKey(double t, const QJsonArray& s);
QJsonObject Animated(const QJsonArray& keys);

// A layer or group transform: the defaults (anchor 0, position 0, scale 100, rotation 0, opacity 100)
// with `overrides` applied.
QJsonObject Transform(const QJsonObject& overrides = {});

QJsonObject Rect(const QJsonArray& position, const QJsonArray& size, double roundness = 0);
QJsonObject Ellipse(const QJsonArray& position, const QJsonArray& size);
QJsonObject Path(const QJsonArray& vertices, bool closed = true);
QJsonObject Star(const QJsonArray& position, int points, double outer, double inner);
QJsonObject Fill(const QColor& color, double opacity = 100);
QJsonObject Stroke(const QColor& color, double width);
QJsonObject LinearGradient(const QJsonArray& start, const QJsonArray& end, const QJsonArray& stops,
                           int count);
QJsonObject RadialGradient(const QJsonArray& start, const QJsonArray& end, const QJsonArray& stops,
                           int count);
QJsonObject Group(const QJsonArray& items, const QJsonObject& transform = Transform());

QJsonObject ShapeLayer(const QString& name, int ind, const QJsonArray& shapes,
                       const QJsonObject& transform = Transform());
QJsonObject SolidLayer(const QString& name, int ind, const QColor& color, double w, double h,
                       const QJsonObject& transform = Transform());
QJsonObject ImageLayer(const QString& name, int ind, const QString& refId,
                       const QJsonObject& transform = Transform());
QJsonObject NullLayer(const QString& name, int ind, const QJsonObject& transform = Transform());
QJsonObject PrecompLayer(const QString& name, int ind, const QString& refId, double w, double h,
                         const QJsonObject& transform = Transform());
QJsonObject Mask(const QString& mode, const QJsonArray& vertices, double opacity = 100,
                 bool inverted = false);

QJsonObject ImageAsset(const QString& id, double w, double h, const QString& folder, const QString& file);
QJsonObject PrecompAsset(const QString& id, const QJsonArray& layers);

// A movie (25 fps, frames 0 .. frames-1) with the marker "k_r_v_t_s_y_l_x".
QJsonObject Movie(const QJsonArray& layers, double w = 200, double h = 200, int frames = 30,
                  const QJsonArray& assets = {});
QByteArray Json(const QJsonObject& movie);
// A picture file's bytes, for image assets and picture files of tests.
QByteArray Encoded(const QImage& image, const char* format = "PNG");

} // namespace lumiset::test::lottie
