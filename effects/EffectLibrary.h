// The picture-effect and text-effect libraries of the data folder: numbered effect folders of PNG frames
// with one GBK parameter file each. The library is read-only; every consumer (the effect windows, the
// automatic placements, the player and the production) finds effects and their parameters here.
#pragma once

#include "core/DataPaths.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumiset {

// The preview stage of the effect windows; text-effect positions are pixels on it.
constexpr int kStageWidth = 800;
constexpr int kStageHeight = 450;

// Shown whenever a text effect's parameter file cannot be found.
inline const QString kTextEffectMissing = QStringLiteral("没有找到选中的文字特效文件！");
// Shown when a separator is chosen in a category selector.
inline const QString kNoCategoryChosen = QStringLiteral("没有选中文字特效分类！");

// Preview frames are "<k>.png", production frames "2_<k>.png" (k from 1); read them with LoadEffectFrame
// (effects/EffectFrames.h). Preview frames are always whole, so their size is the effect's picture size;
// production frames may be cropped to what they show.
enum class FrameUse { Preview, Production };
QString EffectFramePath(const QString& effectFolder, int frame, FrameUse use);

// The parameter file of an effect (section wj_x_g_c_l_0). A missing key reads as empty text.
struct EffectParameters {
    QString file;         // where it was read, for messages
    QString name;         // wj_x_g_c_l_0
    QString frameCount;   // wj_x_g_c_l_sum
    QString stillFrame;   // wj_x_g_c_l_1: the frame shown as the still picture (text effects)
    QString positionMode; // wj_x_g_c_l_wz: "n" fixed position, "z" centred on the stage
    QString fixedX;       // wj_x_g_c_l_wz1
    QString fixedY;       // wj_x_g_c_l_wz2
    QString marks;        // wxcs03: the caption mark characters the effect suits

    // The frame count. Throws Error naming the file when it is not a whole number of at least 1 (an
    // effect of no frames would never end).
    int frames() const;
};
// Throws Error naming the file when it cannot be read.
EffectParameters ReadEffectParameters(const QString& file);

// Where a text effect's picture goes on the stage by default, as the table stores it (decimal text).
// Both empty when the position mode is neither "n" nor "z".
struct StagePosition {
    QString x;
    QString y;
};

struct PictureEffectEntry {
    int number = 0; // folder number N
    QString name;
};
struct PictureEffectListing {
    QList<PictureEffectEntry> entries;
    // Effect folders left out because their parameter file is missing, one message each.
    QStringList problems;
};

struct TextEffectEntry {
    QString name;
    int category = 0; // category folder number C
    int effect = 0;   // effect folder number E
};
struct TextEffectListing {
    QList<TextEffectEntry> entries;
    QString message;      // to show the user ("没有找到选中的文字特效文件！") or empty
    QStringList problems; // effect folders left out silently, one message each
};

// Why a text-effect listing runs: preparing a window skips effects without parameter file silently; a
// category chosen by the user stops at the first one and says so.
enum class ListingOccasion { WindowPreparation, CategoryChange };

struct TextCategoryChoice {
    int index = 0;        // the selector entry in effect (0 when a separator was chosen)
    QStringList messages; // to show, in order
    TextEffectListing listing;
};

class EffectLibrary {
public:
    explicit EffectLibrary(DataPaths paths);

    // --- picture effects, numbered N = 1, 2, … without gaps
    QString pictureEffectFolder(int number) const;
    QString pictureEffectParameterFile(int number) const;
    // Every effect up to the first missing folder. An entry carries its folder number, so a folder
    // without parameter file (reported in `problems`) shifts no later effect.
    PictureEffectListing listPictureEffects() const;
    // The parameters of effect N; nullopt when its parameter file does not exist.
    std::optional<EffectParameters> pictureEffect(int number) const;

    // --- text effects, in categories C = 1, 2, … of effects E = 1, 2, …
    int textCategoryCount() const;
    QString textEffectFolder(int category, int effect) const;
    QString textEffectParameterFile(int category, int effect) const;
    // The effects of a category selector entry (0 = all categories).
    TextEffectListing listTextEffects(int categoryIndex, ListingOccasion occasion) const;
    // A category chosen in either selector: a separator is refused and falls back to all categories.
    TextCategoryChoice chooseTextCategory(int index) const;
    // Throws Error("没有找到选中的文字特效文件！") when the parameter file is missing.
    EffectParameters textEffect(int category, int effect) const;
    // Mode "n": the file's position as it stands; mode "z": centred by the still's natural size.
    // Throws Error naming the file for a non-numeric position or a still that cannot be read.
    StagePosition defaultPosition(int category, int effect, const EffectParameters& parameters) const;

private:
    // False when the listing ended early at a missing parameter file.
    bool listCategory(int category, ListingOccasion occasion, TextEffectListing& listing) const;

    DataPaths paths_;
};

} // namespace lumiset
