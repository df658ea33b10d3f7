// The hand-over: the last frame of the previous page (picture_0.jpg) lies on top at the start and
// leaves in one of several ways while the new page shows underneath.
#include "tools/templates/Movie.h"
#include "tools/templates/Shapes.h"

namespace lumiset::templates {

namespace {

const QStringList kStyles = {"fade",      "slide-left",  "slide-right", "slide-up",  "slide-down",
                             "zoom-away", "fly-through", "flip-x",      "flip-y",    "door",
                             "iris",      "wipe-left",   "wipe-right",  "wipe-up",   "wipe-down",
                             "blinds",    "split",       "tiles",       "spin-away", "fall"};

const QPointF kCentre(kCanvasWidth / 2.0, kCanvasHeight / 2.0);

// Neighbouring pieces overlap a little so that no seam shows while they still lie together.
constexpr double kPieceOverlap = 5.0;

Track still(QPointF p) {
    return Track{Channel(p.x()), Channel(p.y()), Channel(100), Channel(100), Channel(0), Channel(100)};
}

// The centre of a canvas-sized piece that has just left the canvas through `side`.
QPointF beyond(const QString& side, double margin) {
    if (side.endsWith(u"left"))
        return {-kCanvasWidth / 2.0 - margin, kCentre.y()};
    if (side.endsWith(u"right"))
        return {kCanvasWidth * 1.5 + margin, kCentre.y()};
    if (side.endsWith(u"up"))
        return {kCentre.x(), -kCanvasHeight / 2.0 - margin};
    return {kCentre.x(), kCanvasHeight * 1.5 + margin};
}

void move(Track& t, double start, double end, QPointF to, Ease ease) {
    t.x.set(start, t.x.rest(), ease);
    t.x.set(end, to.x(), Ease::linear());
    t.y.set(start, t.y.rest(), ease);
    t.y.set(end, to.y(), Ease::linear());
}

void change(Channel& c, double start, double end, double from, double to, Ease ease) {
    c.set(start, from, ease);
    c.set(end, to, Ease::linear());
}

// How the whole old page leaves by its own transform.
Track wholePage(const QString& style, double start, double end) {
    Track t = still(kCentre);
    const double length = end - start;
    if (style == u"fade") {
        change(t.opacity, start, end, 100, 0, Ease::smooth());
    } else if (style.startsWith(u"slide-")) {
        move(t, start, end, beyond(style, 40), Ease::smooth());
    } else if (style == u"fall") {
        move(t, start, end, beyond(QStringLiteral("down"), 200), Ease::accelerate());
        change(t.rotation, start, end, 0, 18, Ease::accelerate());
    } else if (style == u"zoom-away" || style == u"spin-away" || style == u"fly-through") {
        const bool through = style == u"fly-through";
        for (Channel* c : {&t.scaleX, &t.scaleY})
            change(*c, start, end, 100, through ? 260 : 0, through ? Ease::accelerate() : Ease::smooth());
        change(t.opacity, start + length * (through ? 0.2 : 0.6), end, 100, 0, Ease::smooth());
        if (style == u"spin-away")
            change(t.rotation, start, end, 0, -200, Ease::smooth());
    } else if (style == u"flip-x" || style == u"door") {
        change(t.scaleX, start, end, 100, 0, Ease::accelerate());
    } else if (style == u"flip-y") {
        change(t.scaleY, start, end, 100, 0, Ease::accelerate());
    }
    if (style == u"door")
        t.x = Channel(0); // hinged on the left edge
    return t;
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
    const QString asset = builtIn(kHandOverPicture).id;
    const int last = static_cast<int>(std::ceil(end)) + 1;
    auto page = [&](const Track& t, QPointF anchor) {
        return comp_.add(ImageLayer(QStringLiteral("picture_0"), asset), TransformJson(t, anchor), 0, last);
    };

    if (style == u"iris" || style.startsWith(u"wipe-")) {
        // The old page seen through a matte: a growing hole, or a cover sliding away.
        Track m = still(kCentre);
        QJsonObject shape;
        if (style == u"iris") {
            for (Channel* c : {&m.scaleX, &m.scaleY})
                change(*c, start, end, 0, 100, Ease::accelerate());
            shape = EllipseItem({2300, 2300}); // wider than the canvas diagonal
        } else {
            move(m, start, end, beyond(style, 4), Ease::smooth());
            shape = RectItem({kCanvasWidth + 4, kCanvasHeight + 4});
        }
        const int target = page(still(kCentre), kCentre);
        const QJsonArray items{GroupItem({shape, FillItem(Paint::solid(Qt::white))})};
        const int matte =
            comp_.add(ShapeLayer(QStringLiteral("handover_matte"), items), TransformJson(m, {}), 0, last);
        comp_.setMatte(target, matte, style == u"iris");
    } else if (style == u"blinds" || style == u"split" || style == u"tiles") {
        // Pieces of the old page, each cut by a still mask and shrinking or sliding on its own, the
        // later ones a little after the earlier.
        const bool tiles = style == u"tiles", blinds = style == u"blinds";
        const int columns = tiles ? 6 : blinds ? 1 : 2;
        const int rows = tiles ? 4 : blinds ? 8 : 1;
        const double step = tiles ? 0.06 : blinds ? 0.04 : 0.0;
        const double own = length * (tiles ? 0.52 : blinds ? 0.72 : 1.0);
        const double w = double(kCanvasWidth) / columns, h = double(kCanvasHeight) / rows;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const QRectF piece(c * w, r * h, w, h);
                const double a = start + (tiles ? c + r : r) * step * length, b = a + own;
                Track t = still(piece.center());
                if (!tiles && !blinds) {
                    move(t, a, b, QPointF(c == 0 ? -w / 2.0 - 40 : kCanvasWidth + w / 2.0 + 40, t.y.rest()),
                         Ease::smooth());
                } else {
                    change(t.scaleY, a, b, 100, 0, Ease::accelerate());
                    if (tiles) {
                        change(t.scaleX, a, b, 100, 0, Ease::accelerate());
                        change(t.rotation, a, b, 0, 90, Ease::accelerate());
                    }
                }
                const int layer = page(t, piece.center());
                comp_.addMask(layer, RectMask(piece.adjusted(-kPieceOverlap, -kPieceOverlap, kPieceOverlap,
                                                             kPieceOverlap)));
            }
    } else {
        page(wholePage(style, start, end), style == u"door" ? QPointF(0, kCentre.y()) : kCentre);
    }
}

} // namespace lumiset::templates
