#include "ui/ThemePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace lumiset::ui {

namespace {

constexpr int kAccentHeight = 2; // the rose line under the title bar

// The title bar's ground: a dark-blue gradient with a faint highlight on top and the rose line below.
void paintTitleGround(QPainter& p, int width) {
    const int h = Theme::kTitleBarHeight;
    QLinearGradient ground(0, 0, 0, h - kAccentHeight);
    ground.setColorAt(0, colours::kNavyLight);
    ground.setColorAt(1, colours::kNavyDark);
    p.fillRect(QRect(0, 0, width, h - kAccentHeight), ground);
    p.fillRect(QRect(0, 0, width, 1), colours::kNavyLight.lighter(125));
    QLinearGradient accent(0, h - kAccentHeight, 0, h);
    accent.setColorAt(0, colours::kRoseLight);
    accent.setColorAt(1, colours::kRose);
    p.fillRect(QRect(0, h - kAccentHeight, width, kAccentHeight), accent);
}

// A small rose diamond: the program's mark at the start of every title bar.
void paintMark(QPainter& p) {
    const QPointF centre(Theme::kTitleLeftWidth / 2.0 + 1, (Theme::kTitleBarHeight - kAccentHeight) / 2.0);
    QPainterPath diamond;
    const qreal r = 5.5;
    diamond.moveTo(centre + QPointF(0, -r));
    diamond.lineTo(centre + QPointF(r, 0));
    diamond.lineTo(centre + QPointF(0, r));
    diamond.lineTo(centre + QPointF(-r, 0));
    diamond.closeSubpath();
    QLinearGradient fill(centre + QPointF(0, -r), centre + QPointF(0, r));
    fill.setColorAt(0, colours::kRoseLight);
    fill.setColorAt(1, colours::kRoseDark);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(diamond);
    p.setBrush(colours::kTitleText);
    p.drawEllipse(centre, 1.6, 1.6);
}

enum class CloseState { Normal, Hovered, Pressed };

void paintCloseButton(QPainter& p, CloseState state) {
    const QRectF face(0, 0, Theme::kTitleRightWidth, Theme::kTitleBarHeight - kAccentHeight);
    QColor cross = colours::kTitleText.darker(115);
    if (state != CloseState::Normal) {
        QLinearGradient fill(0, 0, 0, face.height());
        fill.setColorAt(0, state == CloseState::Hovered ? colours::kRoseLight : colours::kRoseDark);
        fill.setColorAt(1, state == CloseState::Hovered ? colours::kRose : colours::kRoseDark.darker(115));
        p.fillRect(face, fill);
        cross = Qt::white;
    }
    const qreal arm = 5;
    const QPointF centre = face.center() + (state == CloseState::Pressed ? QPointF(0.5, 1) : QPointF(0, 0));
    p.setPen(QPen(cross, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
    p.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
}

void paintBottomEdge(QPainter& p, int width) {
    const int h = Theme::kBottomEdgeHeight;
    QLinearGradient ground(0, 0, 0, h);
    ground.setColorAt(0, colours::kNavy);
    ground.setColorAt(1, colours::kNavyDark);
    p.fillRect(QRect(0, 0, width, h), ground);
    p.fillRect(QRect(0, 0, width, 1), colours::kNavyLight);
}

QSize pictureSize(ThemePicture which) {
    switch (which) {
    case ThemePicture::TitleLeft:
        return {Theme::kTitleLeftWidth, Theme::kTitleBarHeight};
    case ThemePicture::TitleMiddle:
        return {8, Theme::kTitleBarHeight};
    case ThemePicture::TitleRight:
    case ThemePicture::TitleRightHovered:
    case ThemePicture::TitleRightPressed:
        return {Theme::kTitleRightWidth, Theme::kTitleBarHeight};
    case ThemePicture::BottomEdge:
        return {8, Theme::kBottomEdgeHeight};
    }
    return {};
}

} // namespace

QPixmap PaintThemePicture(ThemePicture which, qreal pixelRatio) {
    const QSize size = pictureSize(which);
    QPixmap pixmap(size * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case ThemePicture::TitleLeft:
        paintTitleGround(p, size.width());
        paintMark(p);
        break;
    case ThemePicture::TitleMiddle:
        paintTitleGround(p, size.width());
        break;
    case ThemePicture::TitleRight:
        paintTitleGround(p, size.width());
        paintCloseButton(p, CloseState::Normal);
        break;
    case ThemePicture::TitleRightHovered:
        paintTitleGround(p, size.width());
        paintCloseButton(p, CloseState::Hovered);
        break;
    case ThemePicture::TitleRightPressed:
        paintTitleGround(p, size.width());
        paintCloseButton(p, CloseState::Pressed);
        break;
    case ThemePicture::BottomEdge:
        paintBottomEdge(p, size.width());
        break;
    }
    return pixmap;
}

} // namespace lumiset::ui
