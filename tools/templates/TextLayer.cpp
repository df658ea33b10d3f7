// Text as glyph outlines (the player draws no text layers): one layer for the whole line, or one per
// letter when the letters enter one after another.
#include "tools/templates/MotionFields.h"
#include "tools/templates/Movie.h"
#include "tools/templates/Shapes.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainterPath>

namespace lumiset::templates {

namespace {

QFont readFont(Fields& f) {
    const QString family = f.text("font", QStringLiteral("WenQuanYi Micro Hei"));
    QFont font(family);
    font.setPixelSize(f.integer("size", 120));
    const QString weight = f.text("weight", QStringLiteral("normal"));
    if (weight == u"bold")
        font.setWeight(QFont::Bold);
    else if (weight != u"normal")
        f.fail("weight", QStringLiteral("字重应是 normal 或 bold"));
    font.setItalic(f.flag("italic", false));
    // A missing font would silently fall back to another and change the design.
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) != 0)
        f.fail("font", QStringLiteral("字体 \"%1\" 没有安装 (见 scripts/setup-debian.sh)").arg(family));
    return font;
}

QJsonArray glyphItems(const QPainterPath& path, const Paint& fill, const std::optional<Stroke>& stroke) {
    QJsonArray items;
    for (const BezierPath& p : BezierPath::fromPainterPath(path))
        items.append(PathItem(p));
    if (stroke)
        items.append(StrokeItem(*stroke));
    items.append(FillItem(fill));
    return QJsonArray{GroupItem(items)};
}

} // namespace

void MovieBuilder::addText(Fields& f) {
    const QString text = f.text("text");
    const QFont font = readFont(f);
    const double spacing = f.number("spacing", 0.0);
    const QFontMetricsF metrics(font);
    // Advances per letter, then the whole line centred on (0, 0).
    std::vector<double> lefts;
    double width = 0.0;
    for (const QChar c : text) {
        lefts.push_back(width);
        width += metrics.horizontalAdvance(c) + spacing;
    }
    width -= spacing;
    const double baseline = (metrics.ascent() - metrics.descent()) / 2.0;
    const QSizeF box(width, metrics.ascent() + metrics.descent());
    const Paint fill = ReadPaint(f, "fill", box);
    const std::optional<Stroke> stroke = ReadStroke(f, "stroke");
    const double stagger = f.number("stagger", -1.0);
    Pose defaults;
    if (f.has("parent"))
        defaults.x = defaults.y = 0.0;
    const Motion motion = ReadMotion(f, defaults);

    const Placement placement = readPlacement(f);
    if (stagger < 0.0) {
        QPainterPath path;
        path.addText(-width / 2.0, baseline, font, text);
        const QRectF bounds(-width / 2.0, -box.height() / 2.0, width, box.height());
        place(ShapeLayer(uniqueName(QStringLiteral("text")), glyphItems(path, fill, stroke)), motion, {},
              bounds, placement, f);
        return;
    }
    if (!placement.name.isEmpty() || placement.pivot)
        f.fail("stagger", QStringLiteral("逐字出现的文字不能命名, 也不能设 pivot"));
    // Letters: each layer's origin is the letter's centre; entrances and exits follow one another.
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isSpace())
            continue;
        const double advance = metrics.horizontalAdvance(text[i]);
        QPainterPath path;
        path.addText(-advance / 2.0, baseline, font, QString(text[i]));
        Motion m = motion;
        ShiftPositions(m, QPointF(lefts[i] + advance / 2.0 - width / 2.0, 0.0));
        if (m.in)
            m.in->at += stagger * i;
        if (m.out)
            m.out->at += stagger * i;
        const QRectF bounds(-advance / 2.0, -box.height() / 2.0, advance, box.height());
        place(ShapeLayer(uniqueName(QStringLiteral("letter")), glyphItems(path, fill, stroke)), m, {}, bounds,
              placement, f);
    }
}

} // namespace lumiset::templates
