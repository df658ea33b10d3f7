#include "tools/effects/PictureEffects.h"

#include "core/DataPaths.h"
#include "core/Error.h"
#include "tools/effects/GeneratorOutput.h"
#include "tools/effects/JsonSource.h"

#include <QDir>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace lumiset::tools {

namespace {

constexpr double kStageWidth = 800;
constexpr double kStageHeight = 450;
const QSize kPreviewSize(800, 450);
const QSize kProductionSize(1920, 1080);

double lerp(QPair<double, double> range, double t) {
    return range.first + (range.second - range.first) * t;
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Rises from 0, holds 1 and falls back to 0 over local time 0..1.
double fadeInOut(double local) {
    if (local < 0 || local > 1)
        return 0;
    return smoothstep(0, 0.28, local) * smoothstep(1, 0.72, local);
}

double wrapInto(double value, double span) {
    return value - span * std::floor(value / span + 0.5);
}

double wave(double cycles, double phase, double t) {
    return std::sin(2 * M_PI * (cycles * t + phase));
}

ParticleMotion motionFromName(const QString& name, const QString& where) {
    if (name == QStringLiteral("loop"))
        return ParticleMotion::Loop;
    if (name == QStringLiteral("burst"))
        return ParticleMotion::Burst;
    throw Error(QStringLiteral("%1：motion 必须是 loop 或 burst，而不是 %2").arg(where, name));
}

FrameColours colourStorage(const QJsonObject& o, const QString& where) {
    const QString name = o.value(QStringLiteral("frames_stored")).toString(QStringLiteral("dithered"));
    if (name == QStringLiteral("dithered"))
        return FrameColours::DitheredPalette;
    if (name == QStringLiteral("palette"))
        return FrameColours::Palette;
    if (name == QStringLiteral("full"))
        return FrameColours::Full;
    throw Error(
        QStringLiteral("%1：frames_stored 必须是 dithered、palette 或 full，而不是 %2").arg(where, name));
}

double optionalNumber(const QJsonObject& o, const QString& key, double fallback, const QString& where) {
    return o.contains(key) ? RequireNumber(o, key, where) : fallback;
}

QPair<double, double> optionalRange(const QJsonObject& o, const QString& key, QPair<double, double> fallback,
                                    const QString& where) {
    return o.contains(key) ? RequireRange(o, key, where) : fallback;
}

} // namespace

QList<PictureEffectSpec> LoadPictureEffects(const QString& jsonPath) {
    QList<PictureEffectSpec> effects;
    const QJsonObject root = JsonSource::load(jsonPath);
    const QJsonArray list = RequireArray(root, QStringLiteral("effects"), jsonPath);
    for (int i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("%1 第 %2 个画面特效").arg(jsonPath).arg(i + 1);
        const QJsonObject o = list[i].toObject();
        PictureEffectSpec design;
        design.name = RequireString(o, QStringLiteral("name"), where);
        design.sprite = SpriteKindFromName(RequireString(o, QStringLiteral("sprite"), where), where);
        design.motion = motionFromName(RequireString(o, QStringLiteral("motion"), where), where);
        design.frames = RequireInt(o, QStringLiteral("frames"), 2, 250, where);
        design.count = RequireInt(o, QStringLiteral("count"), 1, 500, where);
        design.seed = static_cast<quint32>(RequireInt(o, QStringLiteral("seed"), 0, 1 << 30, where));
        design.heading = optionalNumber(o, QStringLiteral("heading"), 0, where);
        design.crossing = std::clamp(optionalNumber(o, QStringLiteral("crossing"), 0, where), 0.0, 1.0);
        design.sway = optionalNumber(o, QStringLiteral("sway"), 0, where);
        design.wander = optionalNumber(o, QStringLiteral("wander"), 0, where);
        design.spin = optionalNumber(o, QStringLiteral("spin"), 0, where);
        design.tumble = optionalNumber(o, QStringLiteral("tumble"), 0, where);
        design.size = RequireRange(o, QStringLiteral("size"), where);
        design.drift = optionalRange(o, QStringLiteral("drift"), {0, 0}, where);
        design.life = optionalRange(o, QStringLiteral("life"), {1, 1}, where);
        design.opacity = optionalRange(o, QStringLiteral("opacity"), {0.6, 1}, where);
        design.colors = RequireColors(o, QStringLiteral("colors"), where);
        design.colours = colourStorage(o, where);
        design.variants = o.contains(QStringLiteral("variants"))
                              ? RequireInt(o, QStringLiteral("variants"), 1, 8, where)
                              : 1;
        if (design.life.first <= 0 || design.life.second > 1)
            throw Error(QStringLiteral("%1：life 必须在 0 到 1 之间").arg(where));
        effects.append(design);
    }
    return effects;
}

struct PictureEffectAnimation::Particle {
    QPointF start; // field coordinates, the field's centre at the origin
    double depth = 0;
    double size = 0;
    double opacity = 1;
    QColor color;
    int variant = 0;
    bool crosses = false;
    double travel = 0; // along the heading, over the particle's life
    double phase = 0;  // loop: time offset; burst: birth
    double life = 1;
    double spinStart = 0, spinTurns = 0;
    double tumblePhase = 0, tumbleTurns = 0;
    double swayPhase = 0, swayCycles = 1, wanderPhase = 0;
    double pulsePhase = 0, pulseCycles = 1;
};

PictureEffectAnimation::PictureEffectAnimation(const PictureEffectSpec& design) : spec_(design) {
    const double heading = design.heading * M_PI / 180;
    const double c = std::abs(std::cos(heading)), s = std::abs(std::sin(heading));
    const QSizeF visible(kStageWidth * c + kStageHeight * s, kStageWidth * s + kStageHeight * c);
    const double margin = design.size.second * 0.9 + design.sway + design.wander;
    field_ = QSizeF(visible.width() + 2 * margin, visible.height() + 2 * margin);

    QRandomGenerator random(design.seed);
    auto uniform = [&](double low, double high) { return low + (high - low) * random.generateDouble(); };
    const bool loop = design.motion == ParticleMotion::Loop;
    // A looping effect may only turn or swing a whole number of times, or its last frame would jump.
    auto turns = [&](double most) {
        if (most <= 0)
            return 0.0;
        const double sign = random.bounded(2) ? 1.0 : -1.0;
        if (loop)
            return sign * (1 + random.bounded(std::max(1, static_cast<int>(std::round(most)))));
        return sign * uniform(most * 0.3, most);
    };

    particles_.resize(design.count);
    for (Particle& p : particles_) {
        p.depth = random.generateDouble();
        p.size = lerp(design.size, p.depth) * uniform(0.85, 1.15);
        p.opacity = lerp(design.opacity, p.depth);
        p.color = design.colors[random.bounded(static_cast<int>(design.colors.size()))];
        p.variant = random.bounded(design.variants);
        p.crosses = loop && p.depth >= 1 - design.crossing;
        const QSizeF area = p.crosses ? field_ : visible;
        p.start = QPointF(uniform(-area.width() / 2, area.width() / 2),
                          uniform(-area.height() / 2, area.height() / 2));
        p.travel = p.crosses ? field_.height() : lerp(design.drift, p.depth) * uniform(0.8, 1.2);
        p.life = p.crosses ? 1 : uniform(design.life.first, design.life.second);
        p.phase = loop ? random.generateDouble() : uniform(0.02, std::max(0.02, 0.98 - p.life));
        p.spinStart = uniform(0, 360);
        p.spinTurns = turns(design.spin);
        p.tumblePhase = random.generateDouble();
        p.tumbleTurns = turns(design.tumble);
        p.swayPhase = random.generateDouble();
        p.swayCycles = loop ? 1 : uniform(0.6, 1.2);
        p.wanderPhase = random.generateDouble();
        p.pulsePhase = random.generateDouble();
        p.pulseCycles = loop ? 1 + random.bounded(3) : uniform(1, 3);
    }
    // The far particles are drawn first, so that near ones pass in front of them.
    std::sort(particles_.begin(), particles_.end(),
              [](const Particle& a, const Particle& b) { return a.depth < b.depth; });
}

void PictureEffectAnimation::drawParticle(QPainter& painter, const Particle& p, double t) const {
    double along = 0;
    double visibility = 1;
    double local = t;
    if (p.crosses) {
        along = wrapInto(p.start.y() + p.travel * t, field_.height());
    } else {
        local = spec_.motion == ParticleMotion::Loop ? std::fmod(t + p.phase, 1.0) / p.life
                                                     : (t - p.phase) / p.life;
        visibility = fadeInOut(local);
        if (visibility <= 0)
            return;
        along = p.start.y() + p.travel * (local - 0.5);
    }
    const double across =
        p.start.x() + spec_.sway * (0.5 + 0.5 * p.depth) * wave(p.swayCycles, p.swayPhase, t);
    along += spec_.wander * wave(p.swayCycles, p.wanderPhase, t);

    const double heading = spec_.heading * M_PI / 180;
    const QPointF onStage(kStageWidth / 2 + across * std::cos(heading) - along * std::sin(heading),
                          kStageHeight / 2 + across * std::sin(heading) + along * std::cos(heading));

    SpriteState state;
    state.size = p.size;
    state.color = p.color;
    state.opacity = p.opacity * visibility;
    state.rotation = spec_.sprite == SpriteKind::Meteor ? spec_.heading : p.spinStart + 360 * p.spinTurns * t;
    state.tumble = p.tumbleTurns == 0 ? 1 : std::cos(2 * M_PI * (p.tumbleTurns * t + p.tumblePhase));
    state.pulse = spec_.motion == ParticleMotion::Burst && spec_.sprite == SpriteKind::Sparkle
                      ? visibility
                      : 0.5 + 0.5 * wave(p.pulseCycles, p.pulsePhase, t);
    state.variant = p.variant;
    painter.save();
    painter.translate(onStage);
    DrawSprite(painter, spec_.sprite, state);
    painter.restore();
}

void PictureEffectAnimation::drawFrame(int k, QImage& image) const {
    // A loop's frame count+1 would equal frame 1; a burst runs from empty to empty.
    const double t = spec_.motion == ParticleMotion::Loop ? (k - 1) / static_cast<double>(spec_.frames)
                                                          : (k - 1) / static_cast<double>(spec_.frames - 1);
    const QSize size = image.size();
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (SpriteAddsLight(spec_.sprite))
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.scale(size.width() / kStageWidth, size.height() / kStageHeight);
    for (const Particle& particle : particles_)
        drawParticle(painter, particle, t);
}

void WritePictureEffectLibrary(const QList<PictureEffectSpec>& effects, const QString& libraryRoot,
                               FrameReport& report) {
    StagedFolder staged(libraryRoot);
    struct Job {
        int effect;
        int frame;
    };
    QList<Job> jobs;
    std::vector<PictureEffectAnimation> animations;
    for (int i = 0; i < effects.size(); ++i) {
        const QString folder = staged.path() + QStringLiteral("/wj_x_g_c_l_%1").arg(i + 1);
        QDir().mkpath(folder);
        WriteGbkIni(folder + QStringLiteral("/wj_x_g_c_l_%1.ini").arg(i + 1), QStringLiteral("wj_x_g_c_l_0"),
                    {{QStringLiteral("wj_x_g_c_l_0"), effects[i].name},
                     {QStringLiteral("wj_x_g_c_l_sum"), QString::number(effects[i].frames)}});
        animations.emplace_back(effects[i]);
        for (int k = 1; k <= effects[i].frames; ++k)
            jobs.append({i, k});
    }
    ParallelFor(static_cast<int>(jobs.size()), [&](int j) {
        const Job job = jobs[j];
        const QString folder = staged.path() + QStringLiteral("/wj_x_g_c_l_%1/").arg(job.effect + 1);
        const auto& animation = animations[job.effect];
        const QString preview = folder + QStringLiteral("%1.png").arg(job.frame);
        const QString production = folder + QStringLiteral("2_%1.png").arg(job.frame);
        // Each thread draws into the same two pictures frame after frame: a fresh production picture
        // per frame is 8 MB of memory for the system to hand out and clear.
        thread_local QImage small(kPreviewSize, QImage::Format_ARGB32_Premultiplied);
        thread_local QImage large(kProductionSize, QImage::Format_ARGB32_Premultiplied);
        animation.drawFrame(job.frame, small);
        WriteStagedFile(preview,
                        EncodeEffectFrame(small, FrameCrop::Whole, animation.colours(), report, preview));
        animation.drawFrame(job.frame, large);
        WriteStagedFile(production, EncodeEffectFrame(large, FrameCrop::ToContent, animation.colours(),
                                                      report, production));
    });
    staged.commit();
}

} // namespace lumiset::tools
