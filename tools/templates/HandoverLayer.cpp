// The hand-over: the last frame of the previous page (picture_0.jpg) lies on top at the start and
// leaves in one of several ways while the new page shows underneath.
#include "tools/templates/Movie.h"
#include "tools/templates/Shapes.h"

#include "core/Error.h"

namespace lumiset::templates {

namespace {

const QStringList kStyles = {"fade",      "slide-left",  "slide-right", "slide-up",  "slide-down",
                             "zoom-away", "fly-through", "flip-x",      "flip-y",    "door",
                             "iris",      "wipe-left",   "wipe-right",  "wipe-up",   "wipe-down",
                             "blinds",    "split",       "tiles",       "spin-away", "fall"};

// Neighbouring pieces overlap a little so that no seam shows while they still lie together.
constexpr double kPieceOverlap = 5.0;

Track still(QPointF p) {
    return Track{Channel(p.x()), Channel(p.y()), Channel(100), Channel(100), Channel(0), Channel(100)};
}

} // namespace

void MovieBuilder::addHandover(Fields f) {
    const QString style = f.text("style");
    if (!kStyles.contains(style))
        f.fail(
            "style",
            QStringLiteral("未知的交接方式 \"%1\" (可用 %2)").arg(style, kStyles.join(QStringLiteral(", "))));
    const double start = SecondsToFrames(f.number("at", 0.0));
    const double length = SecondsToFrames(f.number("seconds", 1.2));
    const double end = start + length;
    f.finish();
    const MoviePicture p = builtIn(kHandOverPicture);
    const QPointF centre(kCanvasWidth / 2.0, kCanvasHeight / 2.0);
    const int last = static_cast<int>(std::ceil(end)) + 1;
    auto image = [&](const Track& t, QPointF anchor) {
        return comp_.add(ImageLayer(QStringLiteral("picture_0"), p.id), TransformJson(t, anchor), 0, last);
    };
    auto matte = [&](const QJsonArray& items, const Track& t, bool inverted) {
        const int target = image(still(centre), centre);
        const int m =
            comp_.add(ShapeLayer(QStringLiteral("handover_matte"), items), TransformJson(t, {}), 0, last);
        comp_.setMatte(target, m, inverted);
    };
    const QSizeF full(kCanvasWidth + 4, kCanvasHeight + 4);
    const QJsonArray fullRect{GroupItem({RectItem(full), FillItem(Paint::solid(Qt::white))})};

    Track t = still(centre);
    if (style == u"fade") {
        t.opacity.set(start, 100, Ease::smooth());
        t.opacity.set(end, 0, Ease::linear());
        image(t, centre);
    } else if (style.startsWith(u"slide-") || style == u"fall") {
        const QPointF to = style == u"slide-left"    ? QPointF(-kCanvasWidth / 2.0 - 40, centre.y())
                           : style == u"slide-right" ? QPointF(kCanvasWidth * 1.5 + 40, centre.y())
                           : style == u"slide-up"    ? QPointF(centre.x(), -kCanvasHeight / 2.0 - 40)
                                                     : QPointF(centre.x(), kCanvasHeight * 1.5 + 200);
        const Ease ease = style == u"fall" ? Ease::accelerate() : Ease::smooth();
        t.x.set(start, centre.x(), ease);
        t.x.set(end, to.x(), Ease::linear());
        t.y.set(start, centre.y(), ease);
        t.y.set(end, to.y(), Ease::linear());
        if (style == u"fall") {
            t.rotation.set(start, 0, Ease::accelerate());
            t.rotation.set(end, 18, Ease::linear());
        }
        image(t, centre);
    } else if (style == u"zoom-away" || style == u"spin-away" || style == u"fly-through") {
        const bool through = style == u"fly-through";
        for (Channel* c : {&t.scaleX, &t.scaleY}) {
            c->set(start, 100, through ? Ease::accelerate() : Ease::smooth());
            c->set(end, through ? 260 : 0, Ease::linear());
        }
        t.opacity.set(start + length * (through ? 0.2 : 0.6), 100, Ease::smooth());
        t.opacity.set(end, 0, Ease::linear());
        if (style == u"spin-away") {
            t.rotation.set(start, 0, Ease::smooth());
            t.rotation.set(end, -200, Ease::linear());
        }
        image(t, centre);
    } else if (style == u"flip-x" || style == u"flip-y" || style == u"door") {
        Channel& c = style == u"flip-y" ? t.scaleY : t.scaleX;
        c.set(start, 100, Ease::accelerate());
        c.set(end, 0, Ease::linear());
        if (style == u"door") {
            t.x = Channel(0);
            image(t, QPointF(0, centre.y()));
        } else {
            image(t, centre);
        }
    } else if (style == u"iris") {
        // A growing hole in the old page.
        const double diameter = 2300;
        Track m = still(centre);
        for (Channel* c : {&m.scaleX, &m.scaleY}) {
            c->set(start, 0, Ease::accelerate());
            c->set(end, 100, Ease::linear());
        }
        matte(QJsonArray{GroupItem({EllipseItem({diameter, diameter}), FillItem(Paint::solid(Qt::white))})},
              m, true);
    } else if (style.startsWith(u"wipe-")) {
        Track m = still(centre);
        const QPointF to = style == u"wipe-left"    ? QPointF(-kCanvasWidth / 2.0 - 4, centre.y())
                           : style == u"wipe-right" ? QPointF(kCanvasWidth * 1.5 + 4, centre.y())
                           : style == u"wipe-up"    ? QPointF(centre.x(), -kCanvasHeight / 2.0 - 4)
                                                    : QPointF(centre.x(), kCanvasHeight * 1.5 + 4);
        m.x.set(start, centre.x(), Ease::smooth());
        m.x.set(end, to.x(), Ease::linear());
        m.y.set(start, centre.y(), Ease::smooth());
        m.y.set(end, to.y(), Ease::linear());
        matte(fullRect, m, false);
    } else if (style == u"blinds" || style == u"split" || style == u"tiles") {
        // Pieces of the old page, each cut by a still mask and shrinking or sliding on its own.
        const int columns = style == u"tiles" ? 6 : style == u"split" ? 2 : 1;
        const int rows = style == u"tiles" ? 4 : style == u"blinds" ? 8 : 1;
        const double w = double(kCanvasWidth) / columns, h = double(kCanvasHeight) / rows;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const QRectF piece(c * w, r * h, w, h);
                Track pt = still(piece.center());
                const double delay = style == u"tiles"    ? (c + r) * length * 0.06
                                     : style == u"blinds" ? r * length * 0.04
                                                          : 0;
                const double a = start + delay, b = end -
                                                    (style == u"tiles"    ? length * 0.48
                                                     : style == u"blinds" ? length * 0.28
                                                                          : 0) +
                                                    delay;
                if (style == u"split") {
                    const double to = c == 0 ? -w / 2.0 - 40 : kCanvasWidth + w / 2.0 + 40;
                    pt.x.set(a, piece.center().x(), Ease::smooth());
                    pt.x.set(b, to, Ease::linear());
                } else {
                    Channel* shrink[] = {&pt.scaleY, style == u"tiles" ? &pt.scaleX : nullptr};
                    for (Channel* ch : shrink)
                        if (ch) {
                            ch->set(a, 100, Ease::accelerate());
                            ch->set(b, 0, Ease::linear());
                        }
                    if (style == u"tiles") {
                        pt.rotation.set(a, 0, Ease::accelerate());
                        pt.rotation.set(b, 90, Ease::linear());
                    }
                }
                const int layer = comp_.add(ImageLayer(QStringLiteral("picture_0"), p.id),
                                            TransformJson(pt, piece.center()), 0, last);
                comp_.addMask(layer, RectMask(piece.adjusted(-kPieceOverlap, -kPieceOverlap, kPieceOverlap,
                                                             kPieceOverlap)));
            }
    }
}

} // namespace lumiset::templates
