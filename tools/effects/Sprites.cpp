#include "tools/effects/Sprites.h"

#include "core/Error.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace lumiset::tools {

namespace {

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return color;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

void softDisc(QPainter& p, double radius, const QColor& color, double alpha, double coreStop = 0.0) {
    QRadialGradient g(QPointF(0, 0), radius);
    g.setColorAt(0, withAlpha(color, alpha));
    if (coreStop > 0)
        g.setColorAt(coreStop, withAlpha(color, alpha * 0.85));
    g.setColorAt(1, withAlpha(color, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), radius, radius);
}

void drawPetal(QPainter& p, const SpriteState& s) {
    const double k = s.size;
    p.rotate(s.rotation);
    p.scale(std::copysign(std::max(0.14, std::abs(s.tumble)), s.tumble), 1);
    QPainterPath path;
    path.moveTo(0, -k * 0.36);
    path.quadTo(k * 0.12, -k * 0.52, k * 0.27, -k * 0.45);
    path.cubicTo(k * 0.52, -k * 0.22, k * 0.32, k * 0.3, 0, k * 0.5);
    path.cubicTo(-k * 0.32, k * 0.3, -k * 0.52, -k * 0.22, -k * 0.27, -k * 0.45);
    path.quadTo(-k * 0.12, -k * 0.52, 0, -k * 0.36);
    // The side turned away is a little darker, which sells the tumbling.
    const QColor face = s.tumble >= 0 ? s.color : s.color.darker(112);
    QLinearGradient g(QPointF(0, k * 0.5), QPointF(0, -k * 0.5));
    g.setColorAt(0, withAlpha(mix(face, Qt::white, 0.55), s.opacity));
    g.setColorAt(0.55, withAlpha(face, s.opacity));
    g.setColorAt(1, withAlpha(face.darker(106), s.opacity));
    p.setPen(QPen(withAlpha(face.darker(125), s.opacity * 0.35), k * 0.025));
    p.setBrush(g);
    p.drawPath(path);
    p.setPen(QPen(withAlpha(face.darker(120), s.opacity * 0.25), k * 0.02, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, k * 0.38), QPointF(0, -k * 0.2));
}

QPainterPath heartPath(double k) {
    QPainterPath path;
    path.moveTo(0, k * 0.38);
    path.cubicTo(-k * 0.62, -k * 0.02, -k * 0.38, -k * 0.56, 0, -k * 0.22);
    path.cubicTo(k * 0.38, -k * 0.56, k * 0.62, -k * 0.02, 0, k * 0.38);
    return path;
}

void drawHeart(QPainter& p, const SpriteState& s) {
    const double k = s.size;
    softDisc(p, k * 0.85, s.color, s.opacity * 0.35);
    p.rotate(s.rotation);
    p.scale(std::max(0.3, std::abs(s.tumble)), 1);
    QRadialGradient g(QPointF(-k * 0.16, -k * 0.2), k * 0.7);
    g.setColorAt(0, withAlpha(mix(s.color, Qt::white, 0.55), s.opacity));
    g.setColorAt(0.45, withAlpha(s.color, s.opacity));
    g.setColorAt(1, withAlpha(s.color.darker(125), s.opacity));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(heartPath(k));
    p.save();
    p.translate(-k * 0.2, -k * 0.2);
    p.rotate(-35);
    QRadialGradient shine(QPointF(0, 0), k * 0.1);
    shine.setColorAt(0, withAlpha(Qt::white, s.opacity * 0.85));
    shine.setColorAt(1, withAlpha(Qt::white, 0));
    p.setBrush(shine);
    p.scale(1.6, 0.8);
    p.drawEllipse(QPointF(0, 0), k * 0.1, k * 0.1);
    p.restore();
}

void drawBokeh(QPainter& p, const SpriteState& s) {
    const double r = s.size / 2;
    const double a = s.opacity * (0.7 + 0.3 * s.pulse);
    QRadialGradient g(QPointF(0, 0), r);
    g.setColorAt(0, withAlpha(s.color, a * 0.3));
    g.setColorAt(0.72, withAlpha(s.color, a * 0.38));
    g.setColorAt(0.9, withAlpha(mix(s.color, Qt::white, 0.25), a * 0.55));
    g.setColorAt(1, withAlpha(s.color, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), r, r);
}

void drawSnow(QPainter& p, const SpriteState& s) {
    const double k = s.size;
    if (s.variant == 0) {
        softDisc(p, k / 2, Qt::white, s.opacity, 0.35);
        return;
    }
    softDisc(p, k * 0.45, Qt::white, s.opacity * 0.3);
    p.rotate(s.rotation);
    p.setPen(QPen(withAlpha(Qt::white, s.opacity * 0.95), k * 0.055, Qt::SolidLine, Qt::RoundCap));
    for (int arm = 0; arm < 6; ++arm) {
        p.drawLine(QPointF(0, 0), QPointF(0, -k * 0.5));
        for (double at : {0.22, 0.36}) {
            const double b = k * (0.5 - at) * 0.55;
            p.drawLine(QPointF(0, -k * at), QPointF(b, -k * at - b));
            p.drawLine(QPointF(0, -k * at), QPointF(-b, -k * at - b));
        }
        p.rotate(60);
    }
}

void drawSparkle(QPainter& p, const SpriteState& s) {
    const double k = s.size * (0.35 + 0.65 * s.pulse);
    softDisc(p, k * 0.55, s.color, s.opacity * 0.55);
    p.rotate(s.rotation);
    auto ray = [&](double length, double width, double alpha) {
        QPainterPath star;
        star.moveTo(0, -length);
        star.lineTo(width, -width);
        star.lineTo(length, 0);
        star.lineTo(width, width);
        star.lineTo(0, length);
        star.lineTo(-width, width);
        star.lineTo(-length, 0);
        star.lineTo(-width, -width);
        star.closeSubpath();
        QRadialGradient g(QPointF(0, 0), length);
        g.setColorAt(0, withAlpha(Qt::white, alpha));
        g.setColorAt(0.35, withAlpha(mix(s.color, Qt::white, 0.5), alpha));
        g.setColorAt(1, withAlpha(s.color, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(star);
    };
    ray(k * 0.5, k * 0.045, s.opacity);
    p.rotate(45);
    ray(k * 0.26, k * 0.035, s.opacity * 0.7);
    softDisc(p, k * 0.08, Qt::white, s.opacity);
}

void drawGlow(QPainter& p, const SpriteState& s) {
    p.rotate(s.rotation);
    p.scale(1.7, 1);
    const double r = s.size / 2;
    QRadialGradient g(QPointF(0, 0), r);
    g.setColorAt(0, withAlpha(mix(s.color, Qt::white, 0.3), s.opacity * 0.6));
    g.setColorAt(0.4, withAlpha(s.color, s.opacity * 0.32));
    g.setColorAt(1, withAlpha(s.color, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), r, r);
}

void drawBubble(QPainter& p, const SpriteState& s) {
    const double r = s.size / 2;
    const double wobble = 0.035 * std::sin(s.pulse * 2 * M_PI);
    p.scale(1 + wobble, 1 - wobble);
    QRadialGradient body(QPointF(0, 0), r);
    body.setColorAt(0, withAlpha(s.color, s.opacity * 0.04));
    body.setColorAt(0.78, withAlpha(s.color, s.opacity * 0.1));
    body.setColorAt(0.94, withAlpha(mix(s.color, Qt::white, 0.4), s.opacity * 0.45));
    body.setColorAt(1, withAlpha(s.color, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(QPointF(0, 0), r, r);
    // A thin film shows all colours around its rim.
    QConicalGradient film(QPointF(0, 0), s.rotation);
    const QColor hues[] = {QColor(255, 140, 200), QColor(120, 220, 255), QColor(255, 240, 140),
                           QColor(190, 150, 255), QColor(255, 140, 200)};
    for (int i = 0; i < 5; ++i)
        film.setColorAt(i / 4.0, withAlpha(hues[i], s.opacity * 0.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(film), r * 0.07));
    p.drawEllipse(QPointF(0, 0), r * 0.9, r * 0.9);
    p.save();
    p.translate(-r * 0.38, -r * 0.42);
    p.rotate(-40);
    p.scale(1.8, 1);
    softDisc(p, r * 0.17, Qt::white, s.opacity * 0.9, 0.4);
    p.restore();
    p.translate(r * 0.42, r * 0.38);
    softDisc(p, r * 0.1, Qt::white, s.opacity * 0.4);
}

void drawConfetti(QPainter& p, const SpriteState& s) {
    const double k = s.size;
    p.rotate(s.rotation);
    const QColor face = withAlpha(s.tumble >= 0 ? s.color : s.color.darker(130), s.opacity);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    switch (s.variant % 3) {
    case 0:
        p.scale(1, std::max(0.08, std::abs(s.tumble)));
        p.drawRoundedRect(QRectF(-k / 2, -k * 0.22, k, k * 0.44), k * 0.06, k * 0.06);
        break;
    case 1:
        p.scale(std::max(0.15, std::abs(s.tumble)), 1);
        p.drawEllipse(QPointF(0, 0), k * 0.3, k * 0.3);
        break;
    default: {
        QPainterPath curl;
        curl.moveTo(-k * 0.7, 0);
        curl.cubicTo(-k * 0.35, -k * 0.45 * s.tumble, k * 0.0, k * 0.45 * s.tumble, k * 0.35, 0);
        curl.cubicTo(k * 0.5, -k * 0.2 * s.tumble, k * 0.6, -k * 0.1, k * 0.7, 0);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(face, k * 0.16, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(curl);
    }
    }
}

void drawMeteor(QPainter& p, const SpriteState& s) {
    const double length = s.size;
    const double width = length * 0.03;
    p.rotate(s.rotation); // the head points along +y, the travel direction
    QPainterPath tail;
    tail.moveTo(0, -length);
    tail.lineTo(width, 0);
    tail.arcTo(QRectF(-width, -width, 2 * width, 2 * width), 0, -180);
    tail.closeSubpath();
    QLinearGradient g(QPointF(0, -length), QPointF(0, 0));
    g.setColorAt(0, withAlpha(s.color, 0));
    g.setColorAt(0.7, withAlpha(s.color, s.opacity * 0.55));
    g.setColorAt(1, withAlpha(Qt::white, s.opacity));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(tail);
    softDisc(p, width * 5, s.color, s.opacity * 0.7);
    softDisc(p, width * 1.6, Qt::white, s.opacity);
}

void drawFirefly(QPainter& p, const SpriteState& s) {
    const double a = s.opacity * (0.35 + 0.65 * s.pulse);
    softDisc(p, s.size * 0.5, s.color, a * 0.55);
    softDisc(p, s.size * 0.16, mix(s.color, Qt::white, 0.6), a, 0.3);
}

} // namespace

SpriteKind SpriteKindFromName(const QString& name, const QString& where) {
    static const QList<QPair<QString, SpriteKind>> kinds = {
        {"petal", SpriteKind::Petal},    {"heart", SpriteKind::Heart},       {"bokeh", SpriteKind::Bokeh},
        {"snow", SpriteKind::Snow},      {"sparkle", SpriteKind::Sparkle},   {"glow", SpriteKind::Glow},
        {"bubble", SpriteKind::Bubble},  {"confetti", SpriteKind::Confetti}, {"meteor", SpriteKind::Meteor},
        {"firefly", SpriteKind::Firefly}};
    for (const auto& [known, kind] : kinds) {
        if (known == name)
            return kind;
    }
    throw Error(QStringLiteral("%1：未知的粒子图形 %2").arg(where, name));
}

bool SpriteAddsLight(SpriteKind kind) {
    return kind == SpriteKind::Bokeh || kind == SpriteKind::Sparkle || kind == SpriteKind::Glow ||
           kind == SpriteKind::Meteor || kind == SpriteKind::Firefly;
}

void DrawSprite(QPainter& painter, SpriteKind kind, const SpriteState& state) {
    if (state.opacity <= 0.003 || state.size <= 0)
        return;
    painter.save();
    switch (kind) {
    case SpriteKind::Petal:
        drawPetal(painter, state);
        break;
    case SpriteKind::Heart:
        drawHeart(painter, state);
        break;
    case SpriteKind::Bokeh:
        drawBokeh(painter, state);
        break;
    case SpriteKind::Snow:
        drawSnow(painter, state);
        break;
    case SpriteKind::Sparkle:
        drawSparkle(painter, state);
        break;
    case SpriteKind::Glow:
        drawGlow(painter, state);
        break;
    case SpriteKind::Bubble:
        drawBubble(painter, state);
        break;
    case SpriteKind::Confetti:
        drawConfetti(painter, state);
        break;
    case SpriteKind::Meteor:
        drawMeteor(painter, state);
        break;
    case SpriteKind::Firefly:
        drawFirefly(painter, state);
        break;
    }
    painter.restore();
}

} // namespace lumiset::tools
