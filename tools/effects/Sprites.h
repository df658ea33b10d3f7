// The particle pictures of the picture effects, drawn as vectors so that the preview and the production
// frames are equally crisp. Every sprite is drawn centred on the painter's origin.
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

namespace lumiset::tools {

enum class SpriteKind { Petal, Heart, Bokeh, Snow, Sparkle, Glow, Bubble, Confetti, Meteor, Firefly };

// Throws Error naming `where` for an unknown sprite name.
SpriteKind SpriteKindFromName(const QString& name, const QString& where);
// Luminous sprites add their light to what lies below instead of covering it.
bool SpriteAddsLight(SpriteKind kind);

struct SpriteState {
    double size = 10;    // stage pixels
    QColor color;        // base colour; its alpha is ignored
    double opacity = 1;  // 0..1, includes fades
    double rotation = 0; // degrees
    double tumble = 1;   // -1..1: the sprite's width as seen while it turns in space
    double pulse = 1;    // 0..1: twinkle and wobble phase
    int variant = 0;     // a per-particle choice among a sprite's shapes
};

void DrawSprite(QPainter& painter, SpriteKind kind, const SpriteState& state);

} // namespace lumiset::tools
