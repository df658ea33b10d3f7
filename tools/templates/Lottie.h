// Building blocks of a Lottie (Bodymovin) document limited to what our player draws: shape, image,
// solid, null and precomposition layers; transforms; parenting; masks; alpha and inverted-alpha mattes.
#pragma once

#include "tools/templates/Motion.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointF>
#include <QSizeF>

namespace lumiset::templates {

inline const QString kGenuineMarker = QStringLiteral("k_r_v_t_s_y_l_x");
constexpr int kCanvasWidth = 1920;
constexpr int kCanvasHeight = 1080;

// The transform of a layer: `anchor` is the point of the layer's own space that sits at the position.
QJsonObject TransformJson(const Track& track, QPointF anchor);
QJsonObject StaticTransform(QPointF position, QPointF anchor = {}, double scale = 100.0,
                            double rotation = 0.0, double opacity = 100.0);

// Layer kinds. Each returns a layer without index; Composition assigns it.
QJsonObject ImageLayer(const QString& name, const QString& assetId);
QJsonObject ShapeLayer(const QString& name, const QJsonArray& shapes);
QJsonObject NullLayer(const QString& name);
QJsonObject PrecompLayer(const QString& name, const QString& assetId, QSizeF size);

// A closed rectangle or ellipse as a mask path in the layer's own space.
enum class MaskMode { Add, Subtract, Intersect };
QJsonObject RectMask(const QRectF& rect, MaskMode mode = MaskMode::Add, double radius = 0.0);
QJsonObject EllipseMask(const QRectF& rect, MaskMode mode = MaskMode::Add);

// Layers in painter's order (the first added is drawn first, at the bottom); written top first as
// Lottie expects.
class Composition {
public:
    // Adds a layer shown from `inFrame` to `outFrame` with `transform`; returns its index.
    int add(QJsonObject layer, const QJsonObject& transform, int inFrame, int outFrame);
    void setParent(int layer, int parent);
    void addMask(int layer, const QJsonObject& mask);
    // Makes `matte` (which must be the layer added right after `target`) the matte of `target`.
    void setMatte(int target, int matte, bool inverted);
    QJsonArray layers() const;

private:
    QJsonObject& layer(int index);
    QList<QJsonObject> layers_; // painter's order
};

// The document: a canvas of `frames` frames at 25 fps, carrying our marker.
QJsonObject MovieDocument(const QString& name, int width, int height, int frames, const QJsonArray& assets,
                          const QJsonArray& layers);

// Image assets: a file beside the movie (or in `folder`, relative), or a picture inside the movie.
QJsonObject FileAsset(const QString& id, const QString& file, QSizeF size, const QString& folder = {});
QJsonObject EmbeddedAsset(const QString& id, const QByteArray& png, QSizeF size);
QJsonObject PrecompAsset(const QString& id, const QJsonArray& layers);

// Lottie colour [r, g, b, a] in 0..1.
QJsonArray ColorJson(const QColor& color);

} // namespace lumiset::templates
