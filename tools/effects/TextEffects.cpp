#include "tools/effects/TextEffects.h"

#include "core/Error.h"
#include "tools/effects/GeneratorOutput.h"
#include "tools/effects/JsonSource.h"
#include "tools/effects/Sprites.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace lumiset::tools {

namespace {

constexpr int kStageWidth = 800;
constexpr int kStageHeight = 450;
// Captions keep clear of the band at the bottom where the lyric line is shown.
constexpr int kLowestCaptionBottom = 352;
constexpr int kStageMargin = 30;
constexpr int kOutroFrames = 7;

double clamp01(double x) {
    return std::clamp(x, 0.0, 1.0);
}
double easeOut(double e) {
    return 1 - std::pow(1 - clamp01(e), 3);
}
double easeInOut(double e) {
    e = clamp01(e);
    return e < 0.5 ? 4 * e * e * e : 1 - std::pow(-2 * e + 2, 3) / 2;
}
double backOut(double e) {
    e = clamp01(e);
    const double c1 = 1.9, c3 = c1 + 1;
    return 1 + c3 * std::pow(e - 1, 3) + c1 * std::pow(e - 1, 2);
}
double bounceOut(double e) {
    e = clamp01(e);
    const double n = 7.5625, d = 2.75;
    if (e < 1 / d)
        return n * e * e;
    if (e < 2 / d) {
        e -= 1.5 / d;
        return n * e * e + 0.75;
    }
    if (e < 2.5 / d) {
        e -= 2.25 / d;
        return n * e * e + 0.9375;
    }
    e -= 2.625 / d;
    return n * e * e + 0.984375;
}
double hump(double local) {
    if (local <= 0 || local >= 1)
        return 0;
    return std::sin(M_PI * local);
}

CaptionEntrance entranceFromName(const QString& name, const QString& where) {
    static const QList<QPair<QString, CaptionEntrance>> names = {
        {"pop", CaptionEntrance::Pop},   {"rise", CaptionEntrance::Rise},
        {"drop", CaptionEntrance::Drop}, {"spread", CaptionEntrance::Spread},
        {"zoom", CaptionEntrance::Zoom}, {"wipe", CaptionEntrance::Wipe}};
    for (const auto& [known, entrance] : names) {
        if (known == name)
            return entrance;
    }
    throw Error(QStringLiteral("%1：未知的入场方式 %2").arg(where, name));
}

QHash<QString, CaptionStyle> loadStyles(const QJsonObject& root, const QString& path) {
    QHash<QString, CaptionStyle> styles;
    const QJsonObject list = root.value(QStringLiteral("styles")).toObject();
    if (list.isEmpty())
        throw Error(QStringLiteral("%1：缺少 styles").arg(path));
    for (auto it = list.begin(); it != list.end(); ++it) {
        const QString where = QStringLiteral("%1 样式 %2").arg(path, it.key());
        const QJsonObject o = it.value().toObject();
        CaptionStyle style;
        style.fill = RequireColors(o, QStringLiteral("fill"), where);
        style.outline = RequireColor(o, QStringLiteral("outline"), where);
        style.outlineWidth = RequireNumber(o, QStringLiteral("outlineWidth"), where);
        style.glow = RequireColor(o, QStringLiteral("glow"), where);
        style.shadow = RequireColor(o, QStringLiteral("shadow"), where);
        style.accent = RequireColor(o, QStringLiteral("accent"), where);
        styles.insert(it.key(), style);
    }
    return styles;
}

// A value chosen per mark letter (font size, spot on the stage) from an object keyed by letter.
QJsonValue perMark(const QJsonObject& root, const QString& table, const QString& marks,
                   const QString& where) {
    const QJsonValue value = root.value(table).toObject().value(marks.left(1));
    if (value.isUndefined())
        throw Error(QStringLiteral("%1：%2 中没有标注 %3 的取值").arg(where, table, marks.left(1)));
    return value;
}

} // namespace

QList<TextEffectCategory> LoadTextEffects(const QString& jsonPath) {
    const QJsonObject root = JsonSource::load(jsonPath);
    const QHash<QString, CaptionStyle> styles = loadStyles(root, jsonPath);
    const int frames = RequireInt(root, QStringLiteral("frames"), 40, 250, jsonPath);
    QList<TextEffectCategory> categories;
    const QJsonArray list = RequireArray(root, QStringLiteral("categories"), jsonPath);
    for (int c = 0; c < list.size(); ++c) {
        const QJsonObject co = list[c].toObject();
        TextEffectCategory category;
        category.name =
            RequireString(co, QStringLiteral("name"), QStringLiteral("%1 第 %2 类").arg(jsonPath).arg(c + 1));
        const QJsonArray captions = RequireArray(co, QStringLiteral("captions"),
                                                 QStringLiteral("%1 %2 类").arg(jsonPath, category.name));
        for (int e = 0; e < captions.size(); ++e) {
            const QJsonObject o = captions[e].toObject();
            const QString where =
                QStringLiteral("%1 %2 类第 %3 个文字特效").arg(jsonPath, category.name).arg(e + 1);
            TextEffectSpec design;
            design.caption.text = RequireString(o, QStringLiteral("text"), where);
            design.caption.subtitle = o.value(QStringLiteral("sub")).toString();
            design.name = design.caption.text;
            design.marks = RequireString(o, QStringLiteral("marks"), where);
            const QString styleName = RequireString(o, QStringLiteral("style"), where);
            if (!styles.contains(styleName))
                throw Error(QStringLiteral("%1：未定义的样式 %2").arg(where, styleName));
            design.style = styles.value(styleName);
            design.entrance = entranceFromName(RequireString(o, QStringLiteral("entrance"), where), where);
            design.caption.fontSize =
                o.contains(QStringLiteral("size"))
                    ? RequireNumber(o, QStringLiteral("size"), where)
                    : perMark(root, QStringLiteral("sizes"), design.marks, where).toDouble();
            design.place = o.contains(QStringLiteral("place"))
                               ? RequireString(o, QStringLiteral("place"), where)
                               : perMark(root, QStringLiteral("places"), design.marks, where).toString();
            design.frames = frames;
            category.effects.append(design);
        }
        categories.append(category);
    }
    return categories;
}

StagePlacement PlaceOnStage(const QString& place, const QSize& captionSize, const QString& where) {
    const int w = captionSize.width(), h = captionSize.height();
    const int centreX = kStageWidth / 2 - w / 2;
    const int low = kLowestCaptionBottom - h;
    const QList<QPair<QString, QPoint>> spots = {
        {"center", {centreX, kStageHeight / 2 - h / 2}},
        {"top", {centreX, kStageMargin}},
        {"upper", {centreX, 72}},
        {"lower", {centreX, low}},
        {"top-left", {kStageMargin, kStageMargin}},
        {"top-right", {kStageWidth - kStageMargin - w, kStageMargin}},
        {"bottom-left", {kStageMargin, low}},
        {"bottom-right", {kStageWidth - kStageMargin - w, low}}};
    for (const auto& [name, topLeft] : spots) {
        if (name != place)
            continue;
        if (topLeft.x() < 0 || topLeft.y() < 0 || topLeft.x() + w > kStageWidth ||
            topLeft.y() + h > kStageHeight)
            throw Error(QStringLiteral("%1：文字图片 %2 × %3 放不进舞台").arg(where).arg(w).arg(h));
        return {place == QStringLiteral("center") ? QStringLiteral("z") : QStringLiteral("n"), topLeft};
    }
    throw Error(QStringLiteral("%1：未知的位置 %2").arg(where, place));
}

namespace {

// The moments of one caption's animation, in 0-based frames.
struct Timeline {
    int letters = 1;
    double stagger = 0;
    double letterDuration = 10;
    double lettersDone = 0; // the last letter has landed
    double subtitleStart = 0;
    double complete = 0; // subtitle too
    double sweepStart = 0, sweepDuration = 10;
    double outroStart = 0;
    int frames = 0;

    Timeline(int letterCount, int frameCount, CaptionEntrance entrance)
        : letters(letterCount), frames(frameCount) {
        const bool together = entrance == CaptionEntrance::Spread || entrance == CaptionEntrance::Zoom ||
                              entrance == CaptionEntrance::Wipe;
        if (together)
            letterDuration = 14;
        else
            stagger = std::min(2.5, 10.0 / std::max(1, letters - 1));
        lettersDone = stagger * (letters - 1) + letterDuration;
        subtitleStart = lettersDone - 4;
        complete = subtitleStart + 8;
        outroStart = frames - kOutroFrames;
        sweepStart = std::min(complete + 2, outroStart - sweepDuration - 1);
    }
    double letterProgress(int index, double t) const {
        return clamp01((t - stagger * index) / letterDuration);
    }
};

} // namespace

TextEffectAnimation::TextEffectAnimation(const TextEffectSpec& design)
    : spec_(design), layout_(design.caption), stage_(PaintCaption(layout_, design.style, 1.0)),
      production_(PaintCaption(layout_, design.style, kProductionScale)) {}

const CaptionLayers& TextEffectAnimation::layers(double scale) const {
    return scale > 1 ? production_ : stage_;
}

int TextEffectAnimation::stillFrame() const {
    const Timeline timeline(static_cast<int>(spec_.caption.text.size()), spec_.frames, spec_.entrance);
    return std::min(spec_.frames, static_cast<int>(std::ceil(timeline.complete)) + 2);
}

namespace {

// Where one piece of a caption is in a frame, relative to its resting place.
struct PiecePose {
    double opacity = 1;
    QPointF offset;
    double zoom = 1;
};

void drawPieces(QPainter& painter, const QList<CaptionPiece>& pieces, const QList<PiecePose>& poses,
                bool faces) {
    for (int i = 0; i < pieces.size(); ++i) {
        const CaptionPiece& piece = pieces[i];
        const PiecePose& pose = poses[i];
        if (pose.opacity <= 0 || pose.zoom <= 0.01)
            continue;
        painter.save();
        painter.setOpacity(painter.opacity() * std::min(1.0, pose.opacity));
        painter.translate(piece.centre + pose.offset);
        painter.scale(pose.zoom, pose.zoom);
        painter.translate(-piece.centre);
        painter.drawImage(piece.area, faces ? piece.face : piece.under);
        painter.restore();
    }
}

// Glows and shadows of every piece first, then every face.
void drawCaption(QPainter& painter, const CaptionLayers& art, const QList<PiecePose>& letters,
                 const PiecePose& subtitle) {
    const QList<PiecePose> subtitlePoses(art.subtitle.size(), subtitle);
    for (bool faces : {false, true}) {
        drawPieces(painter, art.letters, letters, faces);
        drawPieces(painter, art.subtitle, subtitlePoses, faces);
    }
}

} // namespace

QImage TextEffectAnimation::frame(int k, double scale) const {
    const double t = k - 1;
    const int letterCount = static_cast<int>(layout_.letterPaths().size());
    const Timeline timeline(letterCount, spec_.frames, spec_.entrance);
    const CaptionLayers& art = layers(scale);
    const QSize pixels = layout_.pixelSize(scale);
    const QRectF whole(QPointF(0, 0), layout_.stageSize());
    const QTransform toPixels =
        QTransform::fromScale(pixels.width() / whole.width(), pixels.height() / whole.height());
    const double f = layout_.fontSize();
    const double fade = 1 - std::pow(clamp01((t - timeline.outroStart) / (kOutroFrames - 1)), 1.5);

    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(toPixels);
    painter.translate(0, -(1 - fade) * f * 0.12); // the caption lifts a little as it fades away
    painter.setOpacity(fade);

    QList<PiecePose> letters(letterCount);
    const double s = clamp01((t - timeline.subtitleStart) / (timeline.complete - timeline.subtitleStart));
    PiecePose subtitle{easeOut(s), {0, (1 - easeOut(s)) * f * 0.25}, 1};
    if (t >= timeline.complete) {
        drawCaption(painter, art, letters, {});
    } else if (spec_.entrance == CaptionEntrance::Wipe) {
        QImage revealed(pixels, QImage::Format_ARGB32_Premultiplied);
        revealed.fill(Qt::transparent);
        QPainter reveal(&revealed);
        reveal.setRenderHints(QPainter::SmoothPixmapTransform);
        reveal.setTransform(toPixels);
        drawCaption(reveal, art, letters, {});
        const double soft = whole.width() * 0.18;
        const double edge = -soft + (whole.width() + 2 * soft) * easeInOut(timeline.letterProgress(0, t));
        QLinearGradient ramp(QPointF(edge - soft, 0), QPointF(edge, 0));
        ramp.setColorAt(0, Qt::black);
        ramp.setColorAt(1, Qt::transparent);
        reveal.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        reveal.fillRect(whole, ramp);
        reveal.end();
        painter.drawImage(whole, revealed);
    } else if (spec_.entrance == CaptionEntrance::Zoom) {
        const double e = timeline.letterProgress(0, t);
        const double zoom = 0.55 + 0.45 * backOut(e);
        painter.translate(whole.center());
        painter.scale(zoom, zoom);
        painter.translate(-whole.center());
        painter.setOpacity(fade * easeOut(e * 1.6));
        drawCaption(painter, art, letters, {});
    } else {
        for (int i = 0; i < letterCount; ++i) {
            const double e = timeline.letterProgress(i, t);
            PiecePose& pose = letters[i];
            switch (spec_.entrance) {
            case CaptionEntrance::Pop:
                pose = {clamp01(e * 2.5), {}, backOut(e)};
                break;
            case CaptionEntrance::Rise:
                pose = {easeOut(e), {0, (1 - easeOut(e)) * f * 0.6}, 1};
                break;
            case CaptionEntrance::Drop:
                pose = {clamp01(e * 3), {0, -(1 - bounceOut(e)) * f * 0.5}, 1};
                break;
            default: { // spread: the letters close in on their places from far apart
                const double apart = (art.letters[i].centre.x() - whole.center().x()) * 0.9;
                pose = {easeOut(e), {apart * (1 - easeOut(e)), 0}, 1};
            }
            }
        }
        drawCaption(painter, art, letters, subtitle);
    }
    painter.setOpacity(fade);
    painter.setTransform(toPixels);
    painter.translate(0, -(1 - fade) * f * 0.12);

    // A sweep of light over the letters' faces.
    const double sweep = (t - timeline.sweepStart) / timeline.sweepDuration;
    if (sweep > 0 && sweep < 1) {
        QImage light(pixels, QImage::Format_ARGB32_Premultiplied);
        light.fill(Qt::transparent);
        QPainter band(&light);
        band.scale(pixels.width() / whole.width(), pixels.height() / whole.height());
        const double width = std::max(f * 0.9, whole.width() * 0.16);
        const double centre = -width + (whole.width() + 2 * width) * easeInOut(sweep);
        QLinearGradient g(QPointF(centre - width / 2, whole.top()),
                          QPointF(centre + width / 2, whole.top() + width * 0.6));
        g.setColorAt(0, QColor(255, 255, 255, 0));
        g.setColorAt(0.5, QColor(255, 255, 255, 200));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        band.fillRect(whole, g);
        band.resetTransform();
        band.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        band.drawImage(0, 0, art.gloss);
        band.end();
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.drawImage(whole, light);
        painter.restore();
    }

    // Two glints that twinkle at the corners of the text while it holds.
    const QRectF box = layout_.textBox();
    const struct {
        QPointF at;
        double start;
    } glints[] = {{QPointF(box.right() - f * 0.08, box.top() + f * 0.12), timeline.sweepStart + 1},
                  {QPointF(box.left() + f * 0.12, box.bottom() - f * 0.08), timeline.sweepStart + 5}};
    for (const auto& glint : glints) {
        const double life = hump((t - glint.start) / 10);
        if (life <= 0)
            continue;
        SpriteState sparkle;
        sparkle.size = f * 0.75;
        sparkle.color = spec_.style.glow.alpha() > 0 ? spec_.style.glow : QColor(255, 236, 170);
        sparkle.opacity = life;
        sparkle.pulse = life;
        sparkle.rotation = 15 * life;
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.translate(glint.at);
        DrawSprite(painter, SpriteKind::Sparkle, sparkle);
        painter.restore();
    }
    return image;
}

void WriteTextEffectLibrary(const QList<TextEffectCategory>& categories, const QString& libraryRoot,
                            FrameReport& report) {
    StagedFolder staged(libraryRoot);
    struct Effect {
        QString folder;
        const TextEffectSpec* design;
    };
    QList<Effect> effects;
    for (int c = 0; c < categories.size(); ++c) {
        for (int e = 0; e < categories[c].effects.size(); ++e) {
            const QString folder =
                staged.path() + QStringLiteral("/wj_x_g_c_l_%1/wj_x_g_c_l_%2").arg(c + 1).arg(e + 1);
            QDir().mkpath(folder);
            effects.append({folder, &categories[c].effects[e]});
        }
    }
    std::vector<std::unique_ptr<TextEffectAnimation>> animations(effects.size());
    ParallelFor(static_cast<int>(effects.size()), [&](int i) {
        const Effect& effect = effects[i];
        animations[i] = std::make_unique<TextEffectAnimation>(*effect.design);
        const TextEffectAnimation& animation = *animations[i];
        const StagePlacement placement =
            PlaceOnStage(effect.design->place, animation.stageSize(), effect.folder);
        const QString number = effect.folder.section(u'_', -1);
        WriteGbkIni(effect.folder + QStringLiteral("/wj_x_g_c_l_%1.ini").arg(number),
                    QStringLiteral("wj_x_g_c_l_0"),
                    {{QStringLiteral("wj_x_g_c_l_0"), effect.design->name},
                     {QStringLiteral("wj_x_g_c_l_sum"), QString::number(effect.design->frames)},
                     {QStringLiteral("wj_x_g_c_l_1"), QString::number(animation.stillFrame())},
                     {QStringLiteral("wj_x_g_c_l_wz"), placement.mode},
                     {QStringLiteral("wj_x_g_c_l_wz1"), QString::number(placement.topLeft.x())},
                     {QStringLiteral("wj_x_g_c_l_wz2"), QString::number(placement.topLeft.y())},
                     {QStringLiteral("wxcs03"), effect.design->marks}});
    });
    // One job per effect: a caption holds still for stretches, and a frame equal to the one before it
    // shares that frame's file.
    ParallelFor(static_cast<int>(effects.size()), [&](int i) {
        const TextEffectAnimation& animation = *animations[i];
        for (double scale : {1.0, kProductionScale}) {
            QImage previous;
            QString previousPath;
            for (int k = 1; k <= effects[i].design->frames; ++k) {
                const QString path =
                    effects[i].folder +
                    (scale > 1 ? QStringLiteral("/2_%1.png") : QStringLiteral("/%1.png")).arg(k);
                QImage frame = animation.frame(k, scale);
                if (frame == previous)
                    WriteStagedCopy(previousPath, path);
                else
                    WriteStagedFile(
                        path, EncodeEffectFrame(frame, scale > 1 ? FrameCrop::ToContent : FrameCrop::Whole,
                                                FrameColours::Palette, report, path));
                previous = std::move(frame);
                previousPath = path;
            }
        }
    });
    staged.commit();
}

} // namespace lumiset::tools
