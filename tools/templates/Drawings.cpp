#include "tools/templates/Drawings.h"

#include "core/Error.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>

namespace lumiset::templates {

namespace {

// A repeatable sequence for textures: the same picture on every build.
class Noise {
public:
    explicit Noise(quint32 seed) : random_(seed) {}
    double unit() { return random_.generateDouble(); }
    double between(double a, double b) { return a + (b - a) * unit(); }

private:
    QRandomGenerator random_;
};

void drawLace(QPainter& p, QSize size, const QColor& color, double border) {
    const QRectF outer(0, 0, size.width(), size.height());
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    // The solid band with a scalloped inner edge.
    QPainterPath band;
    band.addRect(outer);
    QPainterPath hole;
    hole.addRect(inner.adjusted(border * 0.35, border * 0.35, -border * 0.35, -border * 0.35));
    const double r = border * 0.35;
    auto scallops = [&](QPointF a, QPointF b) {
        const double length = QLineF(a, b).length();
        const int n = std::max(1, static_cast<int>(length / (2 * r)));
        for (int i = 0; i <= n; ++i) {
            const QPointF c = a + (b - a) * (double(i) / n);
            QPainterPath bite;
            bite.addEllipse(c, r, r);
            hole = hole.united(bite);
        }
    };
    const QRectF edge = inner.adjusted(border * 0.35, border * 0.35, -border * 0.35, -border * 0.35);
    scallops(edge.topLeft(), edge.topRight());
    scallops(edge.bottomLeft(), edge.bottomRight());
    scallops(edge.topLeft(), edge.bottomLeft());
    scallops(edge.topRight(), edge.bottomRight());
    p.fillPath(band.subtracted(hole), color);
    // Eyelets along the band and a fine stitched line.
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    const QRectF eyelets = outer.adjusted(border * 0.38, border * 0.38, -border * 0.38, -border * 0.38);
    const double step = border * 0.55;
    auto row = [&](QPointF a, QPointF b) {
        const int n = static_cast<int>(QLineF(a, b).length() / step);
        for (int i = 0; i <= n; ++i) {
            const QPointF c = a + (b - a) * (double(i) / n);
            p.setBrush(Qt::black);
            p.setPen(Qt::NoPen);
            p.drawEllipse(c, border * 0.1, border * 0.1);
        }
    };
    row(eyelets.topLeft(), eyelets.topRight());
    row(eyelets.bottomLeft(), eyelets.bottomRight());
    row(eyelets.topLeft(), eyelets.bottomLeft());
    row(eyelets.topRight(), eyelets.bottomRight());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QPen stitch(color.darker(125), std::max(1.5, border * 0.03), Qt::DashLine);
    p.setPen(stitch);
    p.setBrush(Qt::NoBrush);
    p.drawRect(outer.adjusted(border * 0.15, border * 0.15, -border * 0.15, -border * 0.15));
}

void drawOrnateFrame(QPainter& p, QSize size, const QColor& color, const QColor& accent, double border) {
    const QRectF outer(0, 0, size.width(), size.height());
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    QPainterPath band;
    band.addRect(outer);
    band.addRect(inner);
    band.setFillRule(Qt::OddEvenFill);
    QLinearGradient gold(outer.topLeft(), outer.bottomRight());
    gold.setColorAt(0.0, color.lighter(135));
    gold.setColorAt(0.3, color);
    gold.setColorAt(0.5, color.lighter(150));
    gold.setColorAt(0.75, color.darker(120));
    gold.setColorAt(1.0, color.lighter(125));
    p.fillPath(band, gold);
    // Bevels: light on the outer top-left, shadow on the inner edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color.lighter(170), border * 0.06));
    p.drawRect(outer.adjusted(border * 0.08, border * 0.08, -border * 0.08, -border * 0.08));
    p.setPen(QPen(color.darker(170), border * 0.07));
    p.drawRect(inner.adjusted(-border * 0.05, -border * 0.05, border * 0.05, border * 0.05));
    p.setPen(QPen(accent, border * 0.04));
    p.drawRect(outer.adjusted(border * 0.45, border * 0.45, -border * 0.45, -border * 0.45));
    // Corner rosettes.
    const QPointF corners[] = {outer.topLeft() + QPointF(border / 2, border / 2),
                               outer.topRight() + QPointF(-border / 2, border / 2),
                               outer.bottomLeft() + QPointF(border / 2, -border / 2),
                               outer.bottomRight() + QPointF(-border / 2, -border / 2)};
    for (const QPointF& c : corners) {
        QRadialGradient g(c, border * 0.7);
        g.setColorAt(0.0, color.lighter(180));
        g.setColorAt(0.6, color);
        g.setColorAt(1.0, color.darker(140));
        p.setPen(QPen(color.darker(160), border * 0.04));
        p.setBrush(g);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45);
            p.drawEllipse(QPointF(border * 0.32, 0), border * 0.22, border * 0.11);
            p.restore();
        }
        p.setBrush(accent);
        p.drawEllipse(c, border * 0.16, border * 0.16);
    }
}

void drawFlower(QPainter& p, QPointF c, double r, const QColor& color, double turn) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(c);
        p.rotate(turn + i * 72);
        QRadialGradient g(QPointF(0, -r * 0.5), r * 0.7);
        g.setColorAt(0.0, color.lighter(130));
        g.setColorAt(1.0, color);
        p.setBrush(g);
        p.drawEllipse(QPointF(0, -r * 0.52), r * 0.36, r * 0.52);
        p.restore();
    }
    p.setBrush(QColor(255, 226, 140));
    p.drawEllipse(c, r * 0.2, r * 0.2);
}

void drawFloralCorner(QPainter& p, QSize size, const QColor& leaf, const QColor& flower, quint32 seed) {
    Noise n(seed);
    const double w = size.width(), h = size.height();
    // A vine rising from the lower left corner and arching to the right.
    QPainterPath vine;
    vine.moveTo(0, h);
    vine.cubicTo(w * 0.12, h * 0.45, w * 0.45, h * 0.12, w, h * 0.06);
    QPainterPath vine2;
    vine2.moveTo(0, h * 0.98);
    vine2.cubicTo(w * 0.05, h * 0.6, w * 0.08, h * 0.3, w * 0.04, 0);
    p.setPen(QPen(leaf.darker(130), std::max(3.0, w * 0.008), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vine);
    p.drawPath(vine2);
    auto leaves = [&](const QPainterPath& stem, int count, double length) {
        for (int i = 1; i < count; ++i) {
            const double t = double(i) / count;
            const QPointF at = stem.pointAtPercent(t);
            const double angle = stem.angleAtPercent(t);
            const double side = (i % 2) ? 1.0 : -1.0;
            p.save();
            p.translate(at);
            p.rotate(-angle + side * n.between(35, 60));
            QLinearGradient g(0, 0, length, 0);
            g.setColorAt(0.0, leaf.darker(115));
            g.setColorAt(1.0, leaf.lighter(125));
            p.setBrush(g);
            p.setPen(Qt::NoPen);
            QPainterPath shape;
            shape.moveTo(0, 0);
            shape.cubicTo(length * 0.3, -length * 0.28, length * 0.75, -length * 0.22, length, 0);
            shape.cubicTo(length * 0.75, length * 0.22, length * 0.3, length * 0.28, 0, 0);
            p.drawPath(shape);
            p.restore();
        }
    };
    leaves(vine, 14, std::min(w, h) * 0.12);
    leaves(vine2, 9, std::min(w, h) * 0.1);
    const double r = std::min(w, h) * 0.085;
    drawFlower(p, vine.pointAtPercent(0.08), r * 1.25, flower, 10);
    drawFlower(p, vine.pointAtPercent(0.38), r, flower.lighter(115), 40);
    drawFlower(p, vine.pointAtPercent(0.7), r * 0.8, flower, 70);
    drawFlower(p, vine2.pointAtPercent(0.55), r * 0.75, flower.lighter(110), 20);
    for (int i = 0; i < 10; ++i) {
        const QPointF bud =
            vine.pointAtPercent(n.between(0.15, 0.98)) + QPointF(n.between(-30, 30), n.between(-30, 30));
        p.setBrush(flower.lighter(140));
        p.drawEllipse(bud, r * 0.16, r * 0.16);
    }
}

void drawPaperCard(QPainter& p, QSize size, const QColor& color, quint32 seed) {
    Noise n(seed);
    const double w = size.width(), h = size.height();
    // A slightly torn outline.
    QPainterPath edge;
    const double tear = std::min(w, h) * 0.012;
    auto side = [&](QPointF a, QPointF b, bool first) {
        const int steps = static_cast<int>(QLineF(a, b).length() / 14);
        for (int i = first ? 0 : 1; i <= steps; ++i) {
            const QPointF c = a + (b - a) * (double(i) / steps);
            const QPointF jitter(n.between(-tear, tear), n.between(-tear, tear));
            if (first && i == 0)
                edge.moveTo(c + jitter);
            else
                edge.lineTo(c + jitter);
        }
    };
    const double m = tear * 2;
    side({m, m}, {w - m, m}, true);
    side({w - m, m}, {w - m, h - m}, false);
    side({w - m, h - m}, {m, h - m}, false);
    side({m, h - m}, {m, m}, false);
    edge.closeSubpath();
    QRadialGradient g(QPointF(w * 0.45, h * 0.4), std::max(w, h) * 0.75);
    g.setColorAt(0.0, color.lighter(108));
    g.setColorAt(0.7, color);
    g.setColorAt(1.0, color.darker(118));
    p.fillPath(edge, g);
    // Fibres and speckles of old paper.
    p.setClipPath(edge);
    for (int i = 0; i < static_cast<int>(w * h / 900); ++i) {
        QColor c = color.darker(static_cast<int>(n.between(104, 122)));
        c.setAlphaF(n.between(0.05, 0.18));
        p.setPen(QPen(c, n.between(0.6, 1.6)));
        const QPointF a(n.between(0, w), n.between(0, h));
        p.drawLine(a, a + QPointF(n.between(-8, 8), n.between(-3, 3)));
    }
}

void drawRibbon(QPainter& p, QSize size, const QColor& color) {
    const double w = size.width(), h = size.height();
    const double tail = w * 0.12, fold = h * 0.22;
    p.setPen(Qt::NoPen);
    // The ends, behind and darker, with a notch.
    for (int side = 0; side < 2; ++side) {
        QPainterPath end;
        const double x0 = side == 0 ? 0 : w, dir = side == 0 ? 1 : -1;
        end.moveTo(x0, fold);
        end.lineTo(x0 + dir * tail * 1.4, fold);
        end.lineTo(x0 + dir * tail * 1.4, h);
        end.lineTo(x0, h);
        end.lineTo(x0 + dir * tail * 0.45, fold + (h - fold) / 2);
        end.closeSubpath();
        p.fillPath(end, color.darker(135));
        QPainterPath flap;
        flap.moveTo(x0 + dir * tail, h - fold);
        flap.lineTo(x0 + dir * tail * 1.4, h);
        flap.lineTo(x0 + dir * tail * 1.4, h - fold);
        flap.closeSubpath();
        p.fillPath(flap, color.darker(175));
    }
    QLinearGradient g(0, 0, 0, h - fold);
    g.setColorAt(0.0, color.lighter(125));
    g.setColorAt(0.5, color);
    g.setColorAt(1.0, color.darker(115));
    p.fillRect(QRectF(tail, 0, w - 2 * tail, h - fold), g);
    p.setPen(QPen(color.lighter(160), h * 0.025, Qt::DashLine));
    p.drawLine(QPointF(tail + 10, h * 0.1), QPointF(w - tail - 10, h * 0.1));
    p.drawLine(QPointF(tail + 10, h - fold - h * 0.1), QPointF(w - tail - 10, h - fold - h * 0.1));
}

void drawTape(QPainter& p, QSize size, const QColor& color, const QColor& accent) {
    const double w = size.width(), h = size.height();
    QPainterPath strip;
    // Torn, zigzag ends.
    const int teeth = 6;
    strip.moveTo(0, 0);
    strip.lineTo(w, 0);
    for (int i = 1; i <= teeth; ++i)
        strip.lineTo(w - ((i % 2) ? h * 0.06 : 0), h * i / teeth);
    strip.lineTo(0, h);
    for (int i = teeth - 1; i >= 0; --i)
        strip.lineTo((i % 2) ? h * 0.06 : 0, h * i / teeth);
    strip.closeSubpath();
    QColor base = color;
    base.setAlphaF(0.78);
    p.fillPath(strip, base);
    p.setClipPath(strip);
    QColor stripe = accent;
    stripe.setAlphaF(0.55);
    p.setPen(QPen(stripe, h * 0.12));
    for (double x = -h; x < w + h; x += h * 0.45)
        p.drawLine(QPointF(x, h), QPointF(x + h, 0));
}

} // namespace

QImage DrawPicture(Fields& f, QSize size) {
    const QString kind = f.text("kind");
    const QColor color = f.color("color", QColor(Qt::white));
    const QColor accent = f.color("accent", color.darker(130));
    const double border = f.number("border", std::min(size.width(), size.height()) * 0.08);
    const quint32 seed = static_cast<quint32>(f.integer("seed", 7));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == u"lace-frame")
        drawLace(p, size, color, border);
    else if (kind == u"ornate-frame")
        drawOrnateFrame(p, size, color, accent, border);
    else if (kind == u"floral-corner")
        drawFloralCorner(p, size, color, accent, seed);
    else if (kind == u"paper-card")
        drawPaperCard(p, size, color, seed);
    else if (kind == u"ribbon")
        drawRibbon(p, size, color);
    else if (kind == u"tape")
        drawTape(p, size, color, accent);
    else
        f.fail("kind", QStringLiteral("未知的绘制图片 \"%1\" (可用 lace-frame, ornate-frame, floral-corner, "
                                      "paper-card, ribbon, tape)")
                           .arg(kind));
    p.end();
    f.finish();
    return image;
}

QImage DrawDefaultBackground(QSize size) {
    const double w = size.width(), h = size.height();
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0.0, QColor(255, 228, 214));
    sky.setColorAt(0.45, QColor(246, 214, 230));
    sky.setColorAt(1.0, QColor(206, 220, 246));
    p.fillRect(image.rect(), sky);
    // A wide glow from the upper left, as if from a window.
    QRadialGradient glow(QPointF(w * 0.22, h * 0.18), w * 0.6);
    glow.setColorAt(0.0, QColor(255, 250, 236, 200));
    glow.setColorAt(1.0, QColor(255, 250, 236, 0));
    p.fillRect(image.rect(), glow);
    Noise n(2024);
    // Large soft bokeh discs in three tints.
    const QColor tints[] = {QColor(255, 255, 255), QColor(255, 214, 226), QColor(214, 228, 255)};
    for (int i = 0; i < 26; ++i) {
        const QPointF c(n.between(0, w), n.between(0, h));
        const double r = n.between(h * 0.04, h * 0.17);
        QColor t = tints[i % 3];
        QRadialGradient disc(c, r);
        t.setAlpha(static_cast<int>(n.between(40, 90)));
        disc.setColorAt(0.0, t);
        disc.setColorAt(0.8, t);
        t.setAlpha(0);
        disc.setColorAt(1.0, t);
        p.setPen(Qt::NoPen);
        p.setBrush(disc);
        p.drawEllipse(c, r, r);
    }
    // Two diagonal light streaks.
    for (int i = 0; i < 2; ++i) {
        p.save();
        p.translate(w * (0.3 + 0.35 * i), h * 0.5);
        p.rotate(-28);
        QLinearGradient streak(-w * 0.05, 0, w * 0.05, 0);
        streak.setColorAt(0.0, QColor(255, 255, 255, 0));
        streak.setColorAt(0.5, QColor(255, 255, 255, 70 - 25 * i));
        streak.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(-w * 0.05, -h, w * 0.1, h * 2), streak);
        p.restore();
    }
    p.end();
    return image;
}

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw Error(QStringLiteral("无法把图片编码为 PNG"));
    return bytes;
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", quality))
        throw Error(QStringLiteral("无法把图片编码为 JPEG"));
    return bytes;
}

} // namespace lumiset::templates
