#include "tools/templates/Movie.h"

#include "core/Error.h"
#include "tools/templates/MotionFields.h"
#include "tools/templates/Shapes.h"

namespace lumiset::templates {

namespace {

const QRectF kCanvas(0, 0, kCanvasWidth, kCanvasHeight);

QJsonObject fullFrameRect(const Paint& paint, double opacity) {
    ShapeSpec s;
    s.shape = QStringLiteral("rect");
    s.size = kCanvas.size();
    s.fill = paint;
    s.opacity = opacity;
    return ShapeLayer(QStringLiteral("page"), ShapeItems(s));
}

} // namespace

MovieBuilder::MovieBuilder(QString name, int frames) : name_(std::move(name)), frames_(frames) {}

void MovieBuilder::addPicture(const MoviePicture& p) {
    if (pictures_.contains(p.id))
        throw Error(QStringLiteral("%1: 图片 %2 重复").arg(name_, p.id));
    pictures_.insert(p.id, p);
    assets_.append(p.png.isEmpty() ? FileAsset(p.id, p.file, p.size, p.folder)
                                   : EmbeddedAsset(p.id, p.png, p.size));
}

const MoviePicture& MovieBuilder::builtIn(const QString& id) {
    if (!pictures_.contains(id)) {
        if (id == kBackgroundPicture)
            addPicture({id, kCanvas.size(), QStringLiteral("wj_y_l_b_j.jpg"), QString(), {}});
        else
            addPicture(
                {id, kCanvas.size(), QStringLiteral("picture_0.jpg"), QStringLiteral("../../pic/"), {}});
    }
    shown_.insert(id);
    return pictures_[id];
}

void MovieBuilder::addDesign(Fields& design) {
    if (design.has("page"))
        addPage(design.object("page"));
    for (Fields& layer : design.objects("layers"))
        addLayer(layer);
    if (design.has("handover"))
        addHandover(design.object("handover"));
}

const MoviePicture& MovieBuilder::picture(Fields& f, const QString& key) {
    const QString id = f.text(key);
    if (id == kBackgroundPicture || id == kHandOverPicture)
        return builtIn(id);
    const auto it = pictures_.constFind(id);
    if (it == pictures_.cend())
        f.fail(key, QStringLiteral("没有名为 \"%1\" 的图片 (先在 pictures 中声明)").arg(id));
    shown_.insert(id);
    return *it;
}

QString MovieBuilder::uniqueName(const QString& stem) {
    return QStringLiteral("%1_%2").arg(stem).arg(++serial_);
}

void MovieBuilder::addPage(Fields page) {
    const Paint base = ReadPaint(page, "base", kCanvas.size());
    if (base.kind != Paint::Kind::None)
        comp_.add(fullFrameRect(base, 100.0), StaticTransform(kCanvas.center()), 0, frames_);
    if (page.has("background")) {
        Fields bg = page.object("background");
        Motion motion = ReadMotion(bg);
        bg.finish();
        const MoviePicture& p = builtIn(kBackgroundPicture);
        const Track t = BuildTrack(motion, frames_);
        comp_.add(ImageLayer(kBackgroundLayerName, p.id), TransformJson(t, kCanvas.center()), t.inFrame,
                  t.outFrame);
    }
    if (page.has("wash")) {
        Fields wash = page.object("wash");
        const Paint paint = ReadPaint(wash, "fill", kCanvas.size());
        comp_.add(fullFrameRect(paint, wash.number("opacity", 100.0)), StaticTransform(kCanvas.center()), 0,
                  frames_);
        wash.finish();
    }
    if (page.has("vignette")) {
        Fields v = page.object("vignette");
        const QColor color = v.color("color");
        const double inner = v.number("inner", 0.45);
        Paint paint;
        paint.kind = Paint::Kind::Radial;
        paint.stops = {{0.0, color, 0.0}, {inner, color, 0.0}, {1.0, color, 1.0}};
        paint.from = {};
        paint.to = {v.number("radius", 1150.0), 0.0};
        ShapeSpec s;
        s.shape = QStringLiteral("rect");
        s.size = kCanvas.size();
        s.fill = paint;
        s.opacity = v.number("opacity", 60.0);
        comp_.add(ShapeLayer(QStringLiteral("vignette"), ShapeItems(s)), StaticTransform(kCanvas.center()), 0,
                  frames_);
        v.finish();
    }
    page.finish();
}

void MovieBuilder::addLayer(Fields f) {
    const QString kind = f.text("kind");
    if (kind == u"particles") {
        addParticles(f);
    } else if (kind == u"text") {
        addText(f);
    } else {
        Pose defaults;
        if (f.has("parent"))
            defaults.x = defaults.y = 0.0;
        Motion motion = ReadMotion(f, defaults);
        if (kind == u"picture")
            addPicture(f, motion);
        else if (kind == u"shape")
            addShape(f, motion);
        else
            f.fail("kind",
                   QStringLiteral("未知的图层类型 \"%1\" (可用 picture, shape, particles, text)").arg(kind));
    }
    f.finish();
}

MovieBuilder::Placed MovieBuilder::addShape(Fields& f, Motion& motion) {
    const ShapeSpec design = ReadShape(f);
    const QRectF bounds(-design.size.width() / 2.0, -design.size.height() / 2.0, design.size.width(),
                        design.size.height());
    const int index = place(ShapeLayer(uniqueName(design.shape), ShapeItems(design)), motion, {}, bounds,
                            readPlacement(f), f);
    return {index, bounds};
}

MovieBuilder::Placement MovieBuilder::readPlacement(Fields& f) {
    Placement p;
    p.parent = f.text("parent", QString());
    if (f.has("pivot"))
        p.pivot = f.point("pivot");
    p.name = f.text("name", QString());
    return p;
}

int MovieBuilder::place(QJsonObject layer, const Motion& motionIn, QPointF anchor, const QRectF& bounds,
                        const Placement& placement, const Fields& where) {
    Motion motion = motionIn;
    std::optional<Placed> parent;
    if (!placement.parent.isEmpty()) {
        if (!named_.contains(placement.parent))
            where.fail("parent", QStringLiteral("前面没有名为 \"%1\" 的图层").arg(placement.parent));
        parent = named_.value(placement.parent);
        // Children are placed relative to the parent's centre.
        ShiftPositions(motion, parent->bounds.center());
    }
    if (placement.pivot) {
        // Turns and scales happen about the pivot (relative to the centre, in the element's own
        // units) while the element still rests at "at".
        anchor += *placement.pivot;
        ShiftPositions(motion, QPointF(placement.pivot->x() * motion.rest.scaleX / 100.0,
                                       placement.pivot->y() * motion.rest.scaleY / 100.0));
    }
    const Track t = BuildTrack(motion, frames_);
    if (!placement.name.isEmpty())
        layer.insert("nm", placement.name);
    const int index = comp_.add(layer, TransformJson(t, anchor), t.inFrame, t.outFrame);
    if (parent)
        comp_.setParent(index, parent->index);
    if ((motion.in && IsWipe(motion.in->style)) || (motion.out && IsWipe(motion.out->style)))
        addWipeMatte(index, motion, bounds, t.inFrame, t.outFrame);
    if (!placement.name.isEmpty()) {
        if (named_.contains(placement.name))
            where.fail("name", QStringLiteral("图层名 \"%1\" 重复").arg(placement.name));
        named_.insert(placement.name, {index, bounds});
    }
    return index;
}

void MovieBuilder::addWipeMatte(int target, const Motion& m, const QRectF& bounds, int inFrame,
                                int outFrame) {
    const QSizeF size = bounds.size() + QSizeF(4, 4);
    const QPointF centre = bounds.center();
    auto away = [&](const QString& style, bool entering) {
        // Where the matte sits while the element is hidden: before an entrance the edge has not yet
        // passed; after an exit it has passed all the way.
        const double w = size.width(), h = size.height();
        const double sign = entering ? -1.0 : 1.0;
        if (style == u"wipe-right")
            return centre + QPointF(sign * w, 0);
        if (style == u"wipe-left")
            return centre - QPointF(sign * w, 0);
        if (style == u"wipe-down")
            return centre + QPointF(0, sign * h);
        return centre - QPointF(0, sign * h);
    };
    Track t{Channel(centre.x()), Channel(centre.y()), Channel(100), Channel(100), Channel(0), Channel(100)};
    auto key = [&](double frame, QPointF p, Ease e) {
        t.x.set(frame, p.x(), e);
        t.y.set(frame, p.y(), e);
    };
    if (m.in && IsWipe(m.in->style)) {
        const double start = SecondsToFrames(m.in->at);
        key(start, away(m.in->style, true), m.in->ease.value_or(Ease::smooth()));
        key(start + SecondsToFrames(m.in->seconds), centre, Ease::linear());
    }
    if (m.out && IsWipe(m.out->style)) {
        const double start = SecondsToFrames(m.out->at);
        key(start, centre, m.out->ease.value_or(Ease::smooth()));
        key(start + SecondsToFrames(m.out->seconds), away(m.out->style, false), Ease::linear());
    }
    ShapeSpec s;
    s.shape = QStringLiteral("rect");
    s.size = size;
    s.fill = Paint::solid(Qt::white);
    const int matte = comp_.add(ShapeLayer(uniqueName(QStringLiteral("wipe")), ShapeItems(s)),
                                TransformJson(t, {}), inFrame, outFrame);
    comp_.setParent(matte, target);
    comp_.setMatte(target, matte, false);
}

QJsonObject MovieBuilder::document() const {
    return MovieDocument(name_, kCanvasWidth, kCanvasHeight, frames_, assets_, comp_.layers());
}

} // namespace lumiset::templates
