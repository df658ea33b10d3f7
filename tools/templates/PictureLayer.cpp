// Picture layers: a picture alone, or a card (border, inner line, soft shadow, light sweep) made as a
// precomposition so that it moves, fades and flips as one piece.
#include "tools/templates/Drawings.h"
#include "tools/templates/Movie.h"
#include "tools/templates/Shapes.h"

#include <QPainter>
#include <QPainterPath>

namespace lumiset::templates {

namespace {

struct Crop {
    QString shape; // "", "circle", "rounded"
    double radius = 0.0;
};

void addCropMask(Composition& comp, int layer, const QRectF& rect, const Crop& crop) {
    if (crop.shape == u"circle")
        comp.addMask(layer, EllipseMask(rect));
    else if (crop.shape == u"rounded")
        comp.addMask(layer, RectMask(rect, MaskMode::Add, crop.radius));
}

// Soft shadows are drawn at this share of the canvas resolution: they have no sharp edge to lose.
constexpr double kShadowResolution = 0.5;
constexpr int kShadowSteps = 7;

// Where the shadow of a card of `cardSize` lies, around the card's centre.
QRectF shadowArea(QSizeF cardSize, double spread) {
    const QSizeF size = cardSize + QSizeF(spread + 4, spread + 4); // the largest step, and room for its edge
    return {QPointF(-size.width() / 2, -size.height() / 2), size};
}

// Stacked translucent outlines, each a little larger: a soft edge without blur. Painted once here as a
// picture, so that the player samples one picture instead of filling seven large shapes.
QImage DrawShadow(bool round, QSizeF cardSize, double radius, double spread, double opacity) {
    const QRectF area = shadowArea(cardSize, spread);
    QImage picture((area.size() * kShadowResolution).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(picture.width()) / area.width(), double(picture.height()) / area.height());
    painter.translate(-area.topLeft());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, qRound(255 * opacity / 100 / kShadowSteps)));
    for (int i = kShadowSteps; i >= 1; --i) {
        const double grow = spread * i / kShadowSteps;
        const QSizeF size(cardSize.width() + 2 * grow - spread, cardSize.height() + 2 * grow - spread);
        const QRectF outline(QPointF(-size.width() / 2, -size.height() / 2), size);
        QPainterPath path;
        if (round)
            path.addEllipse(outline);
        else
            path.addRoundedRect(outline, radius + grow, radius + grow);
        painter.drawPath(path);
    }
    return picture;
}

// The outline of a card piece: an ellipse for round cards, else a (rounded) rectangle.
QJsonObject outline(const Crop& crop, QSizeF size, double radius) {
    return crop.shape == u"circle" ? EllipseItem(size) : RectItem(size, {}, radius);
}

} // namespace

MovieBuilder::Placed MovieBuilder::addPicture(Fields& f, Motion& motion) {
    const MoviePicture& p = picture(f, "picture");
    Crop crop;
    crop.shape = f.text("crop", QString());
    if (!crop.shape.isEmpty() && crop.shape != u"circle" && crop.shape != u"rounded")
        f.fail("crop", QStringLiteral("裁剪形状应是 circle 或 rounded"));
    crop.radius = f.number("radius", 24.0);
    if (f.has("card")) {
        // Wipes and children work on the whole precomposition, so a wipe reveals the shadow too.
        const auto [id, size] = addCard(f.object("card"), p, crop.shape, crop.radius);
        const QRectF whole(QPointF(0, 0), size);
        const int index =
            place(PrecompLayer(id, id, size), motion, whole.center(), whole, readPlacement(f), f);
        return {index, whole};
    }
    const QRectF bounds(QPointF(0, 0), p.size);
    const int index =
        place(ImageLayer(uniqueName(p.id), p.id), motion, bounds.center(), bounds, readPlacement(f), f);
    addCropMask(comp_, index, bounds, crop);
    return {index, bounds};
}

std::pair<QString, QSizeF> MovieBuilder::addCard(Fields card, const MoviePicture& p, const QString& cropShape,
                                                 double cropRadius) {
    const Crop crop{cropShape, cropRadius};
    const double border = card.number("border", 0.0);
    const double bottom = card.number("bottom", 0.0);
    const QColor color = card.color("color", QColor(Qt::white));
    const double radius = card.number("radius", crop.shape == u"rounded" ? crop.radius + border : 0.0);
    double spread = 0.0;
    double shadowOpacity = 0.0;
    QPointF shadowOffset;
    if (card.has("shadow")) {
        Fields s = card.object("shadow");
        spread = s.number("size", 30.0);
        shadowOpacity = s.number("opacity", 40.0);
        shadowOffset = s.point("offset", QPointF(0, spread * 0.4));
        s.finish();
    }
    const double margin = spread + std::max(std::abs(shadowOffset.x()), std::abs(shadowOffset.y())) + 2.0;
    const QSizeF cardSize(p.size.width() + 2 * border, p.size.height() + 2 * border + bottom);
    const QSizeF size(cardSize.width() + 2 * margin, cardSize.height() + 2 * margin);
    const QRectF box(QPointF(margin, margin), cardSize);
    const QPointF centre = box.center();
    const QRectF photo(margin + border, margin + border, p.size.width(), p.size.height());

    Composition inner;
    const int all = frames_;
    if (spread > 0.0) {
        // Named after the card (whose number comes below) without taking a number of its own: the
        // numbers seed the particles of the layers that follow.
        const QString id = QStringLiteral("card_%1_shadow").arg(serial_ + 1);
        const QRectF area = shadowArea(cardSize, spread).translated(centre + shadowOffset);
        addPicture({id, area.size(), QString(), QString(),
                    EncodePng(DrawShadow(crop.shape == u"circle", cardSize, radius, spread, shadowOpacity))});
        inner.add(ImageLayer(QStringLiteral("shadow"), id), StaticTransform(area.topLeft()), 0, all);
    }
    if (border > 0.0 || bottom > 0.0) {
        QJsonArray items{GroupItem({outline(crop, cardSize, radius), FillItem(Paint::solid(color))})};
        inner.add(ShapeLayer(QStringLiteral("border"), items), StaticTransform(centre), 0, all);
    }
    const int image =
        inner.add(ImageLayer(QStringLiteral("photo"), p.id), StaticTransform(photo.topLeft()), 0, all);
    addCropMask(inner, image, QRectF(QPointF(0, 0), p.size),
                crop.shape.isEmpty() && radius > border ? Crop{QStringLiteral("rounded"), radius - border}
                                                        : crop);
    if (card.has("line")) {
        Fields l = card.object("line");
        const Stroke stroke{l.color("color"), l.number("width", 3.0), l.number("opacity", 100.0)};
        const double inset = l.number("inset", border / 2.0);
        l.finish();
        const QSizeF lineSize(cardSize.width() - 2 * inset, cardSize.height() - 2 * inset);
        QJsonArray items{
            GroupItem({outline(crop, lineSize, std::max(0.0, radius - inset)), StrokeItem(stroke)})};
        inner.add(ShapeLayer(QStringLiteral("line"), items), StaticTransform(centre), 0, all);
    }
    if (card.has("sweep")) {
        // A band of light crossing the photo, clipped to it by a matte.
        Fields s = card.object("sweep");
        const double at = SecondsToFrames(s.number("at"));
        const double length = SecondsToFrames(s.number("seconds", 1.2));
        const double strength = s.number("opacity", 55.0);
        s.finish();
        const double band = p.size.width() * 0.22;
        Paint light;
        light.kind = Paint::Kind::Linear;
        light.stops = {{0.0, Qt::white, 0.0}, {0.5, Qt::white, strength / 100.0}, {1.0, Qt::white, 0.0}};
        light.from = {-band / 2, 0};
        light.to = {band / 2, 0};
        QJsonArray items{GroupItem({RectItem({band, p.size.height() * 2.2}), FillItem(light)}, {}, 18.0)};
        Track t{Channel(photo.left() - band),
                Channel(photo.center().y()),
                Channel(100),
                Channel(100),
                Channel(0),
                Channel(100)};
        t.x.set(at, photo.left() - band, Ease::smooth());
        t.x.set(at + length, photo.right() + band, Ease::linear());
        const int sweep = inner.add(ShapeLayer(QStringLiteral("sweep"), items), TransformJson(t, {}), 0, all);
        QJsonArray matteItems{GroupItem(
            {outline(crop, p.size, std::max(0.0, radius - border)), FillItem(Paint::solid(Qt::white))})};
        const int matte = inner.add(ShapeLayer(QStringLiteral("sweep_area"), matteItems),
                                    StaticTransform(photo.center()), 0, all);
        inner.setMatte(sweep, matte, false);
    }
    card.finish();
    const QString id = QStringLiteral("card_%1").arg(++serial_);
    assets_.append(PrecompAsset(id, inner.layers()));
    return {id, size};
}

} // namespace lumiset::templates
