// Shared by the parts of the Lottie parser: reading animated values and reporting problems with the
// movie and layer they belong to.
#pragma once

#include "player/LottieModel.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace lumiset::lottie {

class ParseContext {
public:
    explicit ParseContext(QString sourceName) : source_(std::move(sourceName)) {}

    const QString& source() const { return source_; }
    const QString& layer() const { return layer_; }
    void setLayer(const QString& name) { layer_ = name; }

    // Throws Error: the movie uses `feature`, which our renderer does not draw.
    [[noreturn]] void unsupported(const QString& feature) const;
    // Throws Error: the value `field` is missing or malformed.
    [[noreturn]] void invalid(const QString& field) const;

    // An animated property `key` of `owner`; `fallback` when the property is absent.
    AnimatedVec vec(const QJsonObject& owner, const QString& key, const Vec& fallback) const;
    // An animated bezier path `key` of `owner` (required).
    AnimatedShape shape(const QJsonObject& owner, const QString& key) const;
    // A plain number (not animated); `fallback` when absent.
    double number(const QJsonObject& owner, const QString& key, double fallback) const;
    // Rejects a property that is animated or differs from `neutral` (features we do not draw).
    void requireNeutral(const QJsonObject& owner, const QString& key, double neutral,
                        const QString& feature) const;

    Transform transform(const QJsonObject& owner) const;

private:
    QString source_;
    QString layer_;
};

// Names the current layer for messages while a layer is parsed.
class LayerScope {
public:
    LayerScope(ParseContext& context, const QString& layer) : context_(context), saved_(context.layer()) {
        context_.setLayer(layer);
    }
    ~LayerScope() { context_.setLayer(saved_); }
    LayerScope(const LayerScope&) = delete;
    LayerScope& operator=(const LayerScope&) = delete;

private:
    ParseContext& context_;
    QString saved_;
};

std::vector<ShapeItem> ParseShapeItems(const ParseContext& context, const QJsonArray& items,
                                       Transform* groupTransform);

} // namespace lumiset::lottie
