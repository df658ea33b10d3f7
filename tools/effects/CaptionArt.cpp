#include "tools/effects/CaptionArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace lumiset::tools {

namespace {

// Outlines are taken at a large size and scaled, so that small captions get unhinted, even shapes.
constexpr double kOutlineSize = 100;
const QString kFontFamily = QStringLiteral("WenQuanYi Micro Hei");

QFont outlineFont() {
    QFont font(kFontFamily);
    font.setPixelSize(static_cast<int>(kOutlineSize));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Sets `text` from `left` on `baseline` with extra `spacing` between letters; returns each letter's
// outline.
QList<QPainterPath> setLine(const QString& text, double size, double left, double baseline, double spacing) {
    const QFont font = outlineFont();
    const QFontMetricsF metrics(font);
    const double unit = size / kOutlineSize;
    QList<QPainterPath> letters;
    double x = left;
    for (const QChar ch : text) {
        QPainterPath glyph;
        glyph.addText(0, 0, font, QString(ch));
        glyph.setFillRule(Qt::WindingFill);
        letters.append(QTransform(unit, 0, 0, unit, x, baseline).map(glyph));
        x += metrics.horizontalAdvance(ch) * unit + spacing;
    }
    return letters;
}

double lineWidth(const QString& text, double size, double spacing) {
    const QFontMetricsF metrics(outlineFont());
    double width = 0;
    for (const QChar ch : text)
        width += metrics.horizontalAdvance(ch) * size / kOutlineSize + spacing;
    return text.isEmpty() ? 0 : width - spacing;
}

void addDiamond(QPainterPath& path, QPointF centre, double radius) {
    QPolygonF diamond;
    diamond << centre + QPointF(0, -radius) << centre + QPointF(radius, 0) << centre + QPointF(0, radius)
            << centre + QPointF(-radius, 0);
    path.addPolygon(diamond);
    path.closeSubpath();
}

QImage blankLike(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// One box pass along a line of `count` pixels `stride` apart: quint32 pixels blur their four channels,
// uchar pixels their one.
template <typename Pixel>
void boxBlurLine(Pixel* pixels, int count, int stride, int radius, std::vector<Pixel>& scratch) {
    constexpr int channels = sizeof(Pixel);
    scratch.resize(count);
    for (int i = 0; i < count; ++i)
        scratch[i] = pixels[i * stride];
    const int window = 2 * radius + 1;
    int sums[channels] = {};
    auto add = [&](int index, int sign) {
        if (index < 0 || index >= count)
            return;
        const Pixel p = scratch[index];
        for (int c = 0; c < channels; ++c)
            sums[c] += sign * static_cast<int>((p >> (8 * c)) & 0xff);
    };
    for (int i = -radius; i <= radius; ++i)
        add(i, 1);
    for (int i = 0; i < count; ++i) {
        Pixel out = 0;
        for (int c = 0; c < channels; ++c)
            out |= static_cast<Pixel>(static_cast<Pixel>(sums[c] / window) << (8 * c));
        pixels[i * stride] = out;
        add(i - radius, -1);
        add(i + radius + 1, 1);
    }
}

} // namespace

CaptionLayout::CaptionLayout(const CaptionText& caption) : fontSize_(caption.fontSize) {
    const double f = fontSize_;
    const double spacing = f * 0.08;
    const double padX = f * 0.4;
    const double padTop = f * 0.3;
    const double mainWidth = lineWidth(caption.text, f, spacing);

    const bool hasSubtitle = !caption.subtitle.isEmpty();
    const double subSize = std::max(11.0, f * 0.3);
    const double subSpacing = subSize * 0.2;
    const double subWidth = hasSubtitle ? lineWidth(caption.subtitle, subSize, subSpacing) : 0;
    const double ornamentGap = subSize * 0.7;
    const double ornamentLength =
        std::clamp((mainWidth - subWidth) / 2 - ornamentGap, subSize * 1.2, f * 1.4);
    const double subBlock = hasSubtitle ? subWidth + 2 * (ornamentGap + ornamentLength) : 0;

    const double width = std::max(mainWidth, subBlock) + 2 * padX;
    const double baseline = padTop + f * 0.9;
    const double subBaseline = baseline + f * 0.2 + subSize * 1.1;
    const double height = (hasSubtitle ? subBaseline + subSize * 0.3 : baseline + f * 0.12) + f * 0.3;
    size_ = QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));

    const double mainLeft = (size_.width() - mainWidth) / 2;
    letterPaths_ = setLine(caption.text, f, mainLeft, baseline, spacing);
    textPath_.setFillRule(Qt::WindingFill);
    for (const QPainterPath& letter : letterPaths_)
        textPath_.addPath(letter);
    if (!hasSubtitle)
        return;
    const double subLeft = (size_.width() - subWidth) / 2;
    subtitlePath_.setFillRule(Qt::WindingFill);
    for (const QPainterPath& letter : setLine(caption.subtitle, subSize, subLeft, subBaseline, subSpacing))
        subtitlePath_.addPath(letter);
    const double midY = subBaseline - subSize * 0.36;
    const double thickness = std::max(0.8, subSize * 0.07);
    for (int side : {-1, 1}) {
        const double inner = side < 0 ? subLeft - ornamentGap : subLeft + subWidth + ornamentGap;
        const double outer = inner + side * ornamentLength;
        subtitlePath_.addRect(QRectF(QPointF(std::min(inner, outer), midY - thickness / 2),
                                     QPointF(std::max(inner, outer), midY + thickness / 2)));
        addDiamond(subtitlePath_, QPointF(outer, midY), subSize * 0.2);
    }
}

QSize CaptionLayout::pixelSize(double scale) const {
    return QSize(qRound(size_.width() * scale), qRound(size_.height() * scale));
}

namespace {

struct PieceShape {
    QPainterPath path;
    double outlineWidth; // stage pixels, the full pen width
    QBrush fill;
};

// Paints one piece: shadow and glow into `under`, outline and fill into `face`.
CaptionPiece paintPiece(const PieceShape& shape, const QRectF& area, const CaptionStyle& style, double f,
                        double scale) {
    CaptionPiece piece;
    piece.area = area;
    piece.centre = shape.path.boundingRect().center();
    const QSize pixels(std::max(1, qRound(area.width() * scale)), std::max(1, qRound(area.height() * scale)));
    auto painterOn = [&](QImage& image) {
        auto painter = std::make_unique<QPainter>(&image);
        painter->setRenderHints(QPainter::Antialiasing);
        painter->scale(pixels.width() / area.width(), pixels.height() / area.height());
        painter->translate(-area.topLeft());
        return painter;
    };
    const QPen outlinePen(style.outline, shape.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Shadow and glow are one colour each: only their coverage is drawn and blurred (a quarter of the
    // work of blurring colour), then coloured.
    auto soft = [&](const QColor& colour, double penWidth, QPointF shift, double radius) {
        QImage coverage(pixels, QImage::Format_Alpha8);
        coverage.fill(0);
        {
            auto p = painterOn(coverage);
            p->translate(shift);
            // The colour's own alpha goes into the coverage, where outline and fill overlap as before.
            const QColor ink(0, 0, 0, colour.alpha());
            p->setPen(QPen(ink, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p->setBrush(ink);
            p->drawPath(shape.path);
        }
        BlurImage(coverage, static_cast<int>(std::lround(radius * scale)));
        QImage layer(pixels, QImage::Format_ARGB32_Premultiplied);
        QColor opaque = colour;
        opaque.setAlpha(255);
        layer.fill(opaque);
        QPainter p(&layer);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, coverage);
        return layer;
    };
    piece.under = blankLike(pixels);
    QPainter under(&piece.under);
    under.drawImage(0, 0, soft(style.shadow, shape.outlineWidth, QPointF(f * 0.035, f * 0.06), f * 0.05));
    if (style.glow.alpha() > 0)
        under.drawImage(0, 0, soft(style.glow, f * 0.12, QPointF(), f * 0.09));
    under.end();

    piece.face = blankLike(pixels);
    auto p = painterOn(piece.face);
    p->setPen(outlinePen);
    p->setBrush(Qt::NoBrush);
    p->drawPath(shape.path);
    p->setPen(Qt::NoPen);
    p->setBrush(shape.fill);
    p->drawPath(shape.path);
    return piece;
}

} // namespace

CaptionLayers PaintCaption(const CaptionLayout& layout, const CaptionStyle& style, double scale) {
    const double f = layout.fontSize();
    const QRectF whole(QPointF(0, 0), layout.stageSize());
    // One gradient over the whole line, so that the letters read as one piece of metal or glass.
    const QRectF box = layout.textBox();
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    for (int i = 0; i < style.fill.size(); ++i)
        gradient.setColorAt(style.fill.size() == 1 ? 0 : i / double(style.fill.size() - 1), style.fill[i]);

    CaptionLayers layers;
    const double reach = f * 0.32; // how far glow and shadow spread beyond a letter
    for (const QPainterPath& letter : layout.letterPaths()) {
        const QRectF bounds = letter.boundingRect();
        const QRectF area =
            QRectF(bounds.left() - reach, 0, bounds.width() + 2 * reach, whole.height()).intersected(whole);
        layers.letters.append(
            paintPiece({letter, f * style.outlineWidth * 2, gradient}, area, style, f, scale));
    }
    if (!layout.subtitlePath().isEmpty())
        layers.subtitle.append(
            paintPiece({layout.subtitlePath(), f * 0.03, style.accent}, whole, style, f * 0.6, scale));

    layers.gloss = blankLike(layout.pixelSize(scale));
    QPainter g(&layers.gloss);
    g.setRenderHints(QPainter::Antialiasing);
    g.scale(scale, scale);
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawPath(layout.textPath());
    return layers;
}

void BlurImage(QImage& image, int radius) {
    if (radius < 1 || image.isNull())
        return;
    const int width = image.width(), height = image.height();
    const int passRadius = std::max(1, radius / 2);
    auto blur = [&](auto* pixels, int stride, auto& scratch) {
        for (int pass = 0; pass < 3; ++pass) {
            for (int y = 0; y < height; ++y)
                boxBlurLine(pixels + y * stride, width, 1, passRadius, scratch);
            for (int x = 0; x < width; ++x)
                boxBlurLine(pixels + x, height, stride, passRadius, scratch);
        }
    };
    if (image.format() == QImage::Format_Alpha8) {
        std::vector<uchar> scratch;
        blur(image.bits(), int(image.bytesPerLine()), scratch);
        return;
    }
    Q_ASSERT(image.format() == QImage::Format_ARGB32_Premultiplied);
    std::vector<quint32> scratch;
    blur(reinterpret_cast<quint32*>(image.bits()), int(image.bytesPerLine() / 4), scratch);
}

} // namespace lumiset::tools
