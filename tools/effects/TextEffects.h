// The text-effect library: animated captions grouped in the 20 categories of the category selector,
// described in data/effects/text_effects.json. Each caption is drawn at its own size for the stage
// (`<k>.png`) and 2.4 times larger for production (`2_<k>.png`, 1920 / 800).
#pragma once

#include "tools/effects/CaptionArt.h"
#include "tools/effects/GeneratorOutput.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

namespace lumiset::tools {

constexpr double kProductionScale = 2.4;

// How the letters arrive.
enum class CaptionEntrance { Pop, Rise, Drop, Spread, Zoom, Wipe };

struct TextEffectSpec {
    CaptionText caption;
    QString name;  // display name (wj_x_g_c_l_0)
    QString marks; // template marks it suits (wxcs03)
    CaptionStyle style;
    CaptionEntrance entrance = CaptionEntrance::Pop;
    QString place; // "center" or a named spot on the stage
    int frames = 60;
};

struct TextEffectCategory {
    QString name;
    QList<TextEffectSpec> effects;
};

// Reads the categories in folder order; throws Error naming the file and the caption at fault.
QList<TextEffectCategory> LoadTextEffects(const QString& jsonPath);

class TextEffectAnimation {
public:
    explicit TextEffectAnimation(const TextEffectSpec& design);

    QSize stageSize() const { return layout_.stageSize(); }
    // The frame shown as the effect's still: the caption complete, before the light sweep.
    int stillFrame() const;
    // Frame k (1-based) at `scale` (1 = stage, kProductionScale = production).
    QImage frame(int k, double scale) const;

private:
    const CaptionLayers& layers(double scale) const;

    TextEffectSpec spec_;
    CaptionLayout layout_;
    CaptionLayers stage_;
    CaptionLayers production_;
};

// The parameter-file position of a caption: mode "z" (centred) or "n" with its top-left corner on the
// 800 × 450 stage. Throws Error for an unknown spot.
struct StagePlacement {
    QString mode;
    QPoint topLeft;
};
StagePlacement PlaceOnStage(const QString& place, const QSize& captionSize, const QString& where);

// Writes the whole library below `libraryRoot` (category folders wj_x_g_c_l_1 …), replacing an older one.
void WriteTextEffectLibrary(const QList<TextEffectCategory>& categories, const QString& libraryRoot,
                            FrameReport& report);

} // namespace lumiset::tools
