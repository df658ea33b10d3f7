#include "ui/startup/SplashPicture.h"

#include "ui/Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace lumiset::ui {

namespace {

struct Scene {
    QColor skyTop, skyBottom, sun, far, near;
};

// A small landscape, as a photo in an album would show one: sky, sun, two ranges of hills.
void paintLandscape(QPainter& p, const QRectF& r, const Scene& s) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, s.skyTop);
    sky.setColorAt(1, s.skyBottom);
    p.fillRect(r, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(s.sun);
    const qreal sunRadius = r.width() * 0.09;
    p.drawEllipse(QPointF(r.left() + r.width() * 0.7, r.top() + r.height() * 0.33), sunRadius, sunRadius);

    QPainterPath far;
    far.moveTo(r.left(), r.top() + r.height() * 0.72);
    far.cubicTo(r.left() + r.width() * 0.25, r.top() + r.height() * 0.42, r.left() + r.width() * 0.45,
                r.top() + r.height() * 0.5, r.left() + r.width() * 0.62, r.top() + r.height() * 0.62);
    far.cubicTo(r.left() + r.width() * 0.8, r.top() + r.height() * 0.5, r.right(),
                r.top() + r.height() * 0.58, r.right(), r.top() + r.height() * 0.6);
    far.lineTo(r.bottomRight());
    far.lineTo(r.bottomLeft());
    far.closeSubpath();
    p.setBrush(s.far);
    p.drawPath(far);

    QPainterPath near;
    near.moveTo(r.left(), r.top() + r.height() * 0.86);
    near.cubicTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.66, r.left() + r.width() * 0.7,
                 r.top() + r.height() * 0.95, r.right(), r.top() + r.height() * 0.76);
    near.lineTo(r.bottomRight());
    near.lineTo(r.bottomLeft());
    near.closeSubpath();
    p.setBrush(s.near);
    p.drawPath(near);
}

// A photo card: white border, a wider border below, a soft shadow, turned by `angle` degrees.
void paintPhotoCard(QPainter& p, QPointF centre, qreal angle, const Scene& scene) {
    const QSizeF card(108, 126);
    const qreal border = 7;
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF face(-card.width() / 2, -card.height() / 2, card.width(), card.height());
    p.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(face.translated(2, 3).adjusted(-i, -i, i, i), 3 + i, 3 + i);
    }
    p.setBrush(QColor(0xfc, 0xfa, 0xfb));
    p.drawRoundedRect(face, 3, 3);
    const QRectF photo(face.left() + border, face.top() + border, face.width() - 2 * border,
                       face.height() - border - 26);
    p.save();
    p.setClipRect(photo);
    paintLandscape(p, photo, scene);
    p.restore();
    p.restore();
}

// An eighth note, the album's music.
void paintNote(QPainter& p, QPointF head, qreal size, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.save();
    p.translate(head);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), size * 0.62, size * 0.44);
    p.restore();
    const QPointF stemFoot = head + QPointF(size * 0.52, -size * 0.12);
    const QPointF stemTop = stemFoot + QPointF(0, -size * 2.3);
    p.setPen(QPen(colour, size * 0.16, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(stemFoot, stemTop);
    QPainterPath flag;
    flag.moveTo(stemTop);
    flag.cubicTo(stemTop + QPointF(size * 0.2, size * 0.6), stemTop + QPointF(size * 1.1, size * 0.7),
                 stemTop + QPointF(size * 0.75, size * 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
}

void paintSparkle(QPainter& p, QPointF centre, qreal r, const QColor& colour) {
    QPainterPath star;
    star.moveTo(centre + QPointF(0, -r));
    star.quadTo(centre, centre + QPointF(r, 0));
    star.quadTo(centre, centre + QPointF(0, r));
    star.quadTo(centre, centre + QPointF(-r, 0));
    star.quadTo(centre, centre + QPointF(0, -r));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(star);
}

void paintGround(QPainter& p, const QRectF& r) {
    QLinearGradient ground(r.topLeft(), r.bottomRight());
    ground.setColorAt(0, colours::kNavyLight);
    ground.setColorAt(0.55, colours::kNavy);
    ground.setColorAt(1, colours::kNavyDark);
    p.fillRect(r, ground);
    QRadialGradient glow(QPointF(r.width() * 0.74, r.height() * 0.46), r.width() * 0.42);
    QColor rose = colours::kRose;
    rose.setAlpha(90);
    glow.setColorAt(0, rose);
    rose.setAlpha(0);
    glow.setColorAt(1, rose);
    p.fillRect(r, glow);
}

void paintTitle(QPainter& p) {
    QFont name = p.font();
    name.setPixelSize(50);
    name.setWeight(QFont::DemiBold);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(name);
    p.setPen(colours::kTitleText);
    const QRectF nameBox(34, 64, 260, 64);
    p.drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumiset"));

    QLinearGradient accent(34, 0, 150, 0);
    accent.setColorAt(0, colours::kRoseLight);
    accent.setColorAt(1, colours::kRose);
    p.fillRect(QRectF(36, 134, 96, 3), accent);

    QFont line = p.font();
    line.setPixelSize(17);
    line.setWeight(QFont::Normal);
    line.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(line);
    p.setPen(colours::kRosePale);
    p.drawText(QRectF(36, 146, 260, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("音乐电子相册"));

    QFont small = p.font();
    small.setPixelSize(12);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(small);
    QColor muted = colours::kTitleText;
    muted.setAlpha(150);
    p.setPen(muted);
    p.drawText(QRectF(36, 178, 260, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("让每一张照片随音乐流动"));
}

} // namespace

QPixmap SplashPicture(qreal pixelRatio) {
    const QSize pixels = (QSizeF(kSplashPictureSize) * pixelRatio).toSize();
    QPixmap picture(pixels);
    picture.setDevicePixelRatio(pixelRatio);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(kSplashPictureSize));
    paintGround(p, all);

    const Scene dawn{QColor(0xf3, 0xb8, 0xc6), QColor(0xfb, 0xe3, 0xd6), QColor(0xff, 0xf6, 0xe8),
                     QColor(0xb9, 0x7b, 0x98), QColor(0x7c, 0x52, 0x78)};
    const Scene lake{QColor(0x8f, 0xc4, 0xe0), QColor(0xdc, 0xee, 0xf3), QColor(0xff, 0xf9, 0xd9),
                     QColor(0x5f, 0x9a, 0x9e), QColor(0x3c, 0x6e, 0x73)};
    const Scene dusk{QColor(0xf0, 0x9a, 0x6a), QColor(0xfa, 0xd8, 0x9a), QColor(0xff, 0xf3, 0xc9),
                     QColor(0xc0, 0x6c, 0x5a), QColor(0x6d, 0x3f, 0x4f)};
    paintPhotoCard(p, QPointF(318, 130), -14, dusk);
    paintPhotoCard(p, QPointF(422, 126), 12, lake);
    paintPhotoCard(p, QPointF(370, 116), -1, dawn);

    paintNote(p, QPointF(286, 216), 9, colours::kRoseLight);
    paintNote(p, QPointF(462, 220), 7, colours::kRosePale);
    paintSparkle(p, QPointF(306, 38), 6, colours::kRosePale);
    paintSparkle(p, QPointF(474, 40), 4, colours::kTitleText);
    paintSparkle(p, QPointF(252, 188), 3.5, colours::kRoseLight);

    paintTitle(p);
    return picture;
}

} // namespace lumiset::ui
