// The still artwork of one caption: its text set in the CJK font with gradient fill, outline, glow and
// drop shadow, laid out in stage pixels and painted at any scale. The text effects animate these layers.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace lumiset::tools {

struct CaptionStyle {
    QList<QColor> fill; // vertical gradient, top to bottom
    QColor outline;
    double outlineWidth = 0.05; // share of the font size
    QColor glow;                // transparent for none
    QColor shadow;
    QColor accent; // subtitle and ornament colour
};

struct CaptionText {
    QString text;         // the main line, Chinese
    QString subtitle;     // an optional small second line
    double fontSize = 48; // stage pixels
};

// Where everything sits, in stage pixels; computed once and shared by every scale.
class CaptionLayout {
public:
    explicit CaptionLayout(const CaptionText& caption);

    QSize stageSize() const { return size_; }
    // The picture size at `scale` (1 for the stage, 2.4 for production).
    QSize pixelSize(double scale) const;
    const QPainterPath& textPath() const { return textPath_; }
    // The outline of each letter of the main line.
    const QList<QPainterPath>& letterPaths() const { return letterPaths_; }
    // The subtitle with its ornaments (empty without subtitle).
    const QPainterPath& subtitlePath() const { return subtitlePath_; }
    QRectF textBox() const { return textPath_.boundingRect(); }
    double fontSize() const { return fontSize_; }

private:
    double fontSize_;
    QSize size_;
    QPainterPath textPath_;
    QList<QPainterPath> letterPaths_;
    QPainterPath subtitlePath_;
};

// One letter (or the subtitle) painted on its own, so that it can move by itself. Its glow and shadow
// lie `under`, its outline and fill form the `face`; drawing every piece's under before any face keeps
// one letter's glow from veiling its neighbour.
struct CaptionPiece {
    QRectF area; // stage pixels; the images cover it at the painted scale
    QPointF centre;
    QImage under;
    QImage face;
};

struct CaptionLayers {
    QList<CaptionPiece> letters;
    QList<CaptionPiece> subtitle; // none or one
    QImage gloss;                 // the letters' faces over the whole picture, where light may fall
};

CaptionLayers PaintCaption(const CaptionLayout& layout, const CaptionStyle& style, double scale);

// Blurs a premultiplied ARGB image or an Alpha8 mask in place (three box passes, close to a Gaussian of
// that radius).
void BlurImage(QImage& image, int radius);

} // namespace lumiset::tools
