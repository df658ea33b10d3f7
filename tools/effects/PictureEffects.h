// The picture-effect library: whole-stage particle animations (petals, hearts, light…) described in
// data/effects/picture_effects.json and drawn as transparent PNG frames at the stage size (800 × 450,
// `<k>.png`) and the production size (1920 × 1080, `2_<k>.png`).
#pragma once

#include "tools/effects/GeneratorOutput.h"
#include "tools/effects/Sprites.h"

#include <QImage>
#include <QList>
#include <QString>
#include <vector>

namespace lumiset::tools {

// How particles live within the effect's frames.
enum class ParticleMotion {
    Loop, // the last frame leads seamlessly into the first, so the effect can be played end to end
    Burst // every particle appears and vanishes within the effect: it starts and ends empty
};

struct PictureEffectSpec {
    QString name; // display name (wj_x_g_c_l_0)
    SpriteKind sprite = SpriteKind::Petal;
    ParticleMotion motion = ParticleMotion::Loop;
    int frames = 50;
    int count = 30;
    quint32 seed = 1;
    double heading = 0;  // travel direction in degrees: 0 falls, 180 rises, 90 moves to the left
    double crossing = 0; // loop: share of particles (the nearest) that cross the whole stage
    double sway = 0;     // sideways swing in stage pixels
    double wander = 0;   // swing along the travel direction, for particles that hover
    double spin = 0;     // most turns a particle makes during the effect (sign chosen per particle)
    double tumble = 0;   // most turns in space (the sprite narrows and flips) during the effect
    QPair<double, double> size{10, 20};    // stage pixels, far to near
    QPair<double, double> drift{0, 0};     // travel of particles that do not cross, stage pixels
    QPair<double, double> life{1, 1};      // share of the effect a non-crossing particle is visible
    QPair<double, double> opacity{0.6, 1}; // far to near
    QList<QColor> colors;
    int variants = 1; // how many shapes the sprite offers
    FrameColours colours = FrameColours::DitheredPalette;
};

// Reads every effect of the JSON source, in library order; throws Error naming the file and effect.
QList<PictureEffectSpec> LoadPictureEffects(const QString& jsonPath);

class PictureEffectAnimation {
public:
    explicit PictureEffectAnimation(const PictureEffectSpec& design);
    // Draws frame k (1-based) over the whole of `image`, which it clears first; every size shows the same
    // picture. @pre `image` is Format_ARGB32_Premultiplied.
    void drawFrame(int k, QImage& image) const;
    FrameColours colours() const { return spec_.colours; }

private:
    struct Particle;
    void drawParticle(QPainter& painter, const Particle& particle, double t) const;

    PictureEffectSpec spec_;
    std::vector<Particle> particles_;
    QSizeF field_; // the stage's bounding box seen along the travel direction, plus a margin
};

// Writes the whole library below `libraryRoot` (folders wj_x_g_c_l_1 …), replacing an older one.
void WritePictureEffectLibrary(const QList<PictureEffectSpec>& effects, const QString& libraryRoot,
                               FrameReport& report);

} // namespace lumiset::tools
