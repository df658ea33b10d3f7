#include "effects/EffectLibrary.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "core/IniFile.h"
#include "core/TextHelpers.h"
#include "effects/TextEffectCategories.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

namespace lumiset {

namespace {

const QString kSection = QStringLiteral("wj_x_g_c_l_0");

QString parameterFileOf(const QString& folder) {
    return folder + u'/' + QFileInfo(folder).fileName() + QStringLiteral(".ini");
}

bool folderExists(const QString& path) {
    return QFileInfo(path).isDir();
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

QString missingParameterFile(const QString& folder) {
    return QStringLiteral("特效文件夹“%1”中没有参数文件, 此特效未列出").arg(QDir::toNativeSeparators(folder));
}

} // namespace

QString EffectFramePath(const QString& effectFolder, int frame, FrameUse use) {
    return effectFolder + (use == FrameUse::Production ? QStringLiteral("/2_") : QStringLiteral("/")) +
           QString::number(frame) + QStringLiteral(".png");
}

int EffectParameters::frames() const {
    const QString what =
        QStringLiteral("特效参数文件“%1”的帧数 wj_x_g_c_l_sum").arg(QDir::toNativeSeparators(file));
    const qint64 n = ParseNumber(frameCount, what);
    if (n < 1 || n > std::numeric_limits<int>::max())
        throw Error(QStringLiteral("“%1”不是有效的帧数 (%2)").arg(frameCount, what));
    return static_cast<int>(n);
}

EffectParameters ReadEffectParameters(const QString& file) {
    const IniFile ini = IniFile::load(file);
    const auto value = [&](const char* key) { return ini.value(kSection, QLatin1String(key)); };
    return {file,
            value("wj_x_g_c_l_0"),
            value("wj_x_g_c_l_sum"),
            value("wj_x_g_c_l_1"),
            value("wj_x_g_c_l_wz"),
            value("wj_x_g_c_l_wz1"),
            value("wj_x_g_c_l_wz2"),
            value("wxcs03")};
}

EffectLibrary::EffectLibrary(DataPaths paths) : paths_(std::move(paths)) {}

QString EffectLibrary::pictureEffectFolder(int number) const {
    return paths_.pictureEffectFolder(number);
}

QString EffectLibrary::pictureEffectParameterFile(int number) const {
    return parameterFileOf(pictureEffectFolder(number));
}

PictureEffectListing EffectLibrary::listPictureEffects() const {
    PictureEffectListing listing;
    for (int n = 1; folderExists(pictureEffectFolder(n)); ++n) {
        const QString file = pictureEffectParameterFile(n);
        if (fileExists(file))
            listing.entries.append({n, ReadEffectParameters(file).name});
        else
            listing.problems.append(missingParameterFile(pictureEffectFolder(n)));
    }
    return listing;
}

std::optional<EffectParameters> EffectLibrary::pictureEffect(int number) const {
    const QString file = pictureEffectParameterFile(number);
    if (number < 1 || !fileExists(file))
        return std::nullopt;
    return ReadEffectParameters(file);
}

int EffectLibrary::textCategoryCount() const {
    int count = 0;
    while (folderExists(paths_.textEffectCategory(count + 1)))
        ++count;
    return count;
}

QString EffectLibrary::textEffectFolder(int category, int effect) const {
    return paths_.textEffectFolder(category, effect);
}

QString EffectLibrary::textEffectParameterFile(int category, int effect) const {
    return parameterFileOf(textEffectFolder(category, effect));
}

bool EffectLibrary::listCategory(int category, ListingOccasion occasion, TextEffectListing& listing) const {
    for (int e = 1; folderExists(textEffectFolder(category, e)); ++e) {
        const QString file = textEffectParameterFile(category, e);
        if (fileExists(file)) {
            listing.entries.append({ReadEffectParameters(file).name, category, e});
            continue;
        }
        if (occasion == ListingOccasion::CategoryChange) {
            listing.message = kTextEffectMissing;
            return false;
        }
        listing.problems.append(missingParameterFile(textEffectFolder(category, e)));
    }
    return true;
}

TextEffectListing EffectLibrary::listTextEffects(int categoryIndex, ListingOccasion occasion) const {
    TextEffectListing listing;
    const int chosen = CategoryOfEntry(categoryIndex);
    if (chosen > 0) {
        listCategory(chosen, occasion, listing);
        return listing;
    }
    const int count = textCategoryCount();
    if (count == 0 && occasion == ListingOccasion::CategoryChange)
        listing.message = kTextEffectMissing;
    for (int c = 1; c <= count; ++c)
        if (!listCategory(c, occasion, listing))
            break;
    return listing;
}

TextCategoryChoice EffectLibrary::chooseTextCategory(int index) const {
    TextCategoryChoice choice;
    choice.index = index;
    if (IsCategorySeparator(index)) {
        choice.messages.append(kNoCategoryChosen);
        choice.index = kAllCategoriesIndex;
    }
    choice.listing = listTextEffects(choice.index, ListingOccasion::CategoryChange);
    if (!choice.listing.message.isEmpty())
        choice.messages.append(choice.listing.message);
    return choice;
}

EffectParameters EffectLibrary::textEffect(int category, int effect) const {
    const QString file = textEffectParameterFile(category, effect);
    if (category < 1 || effect < 1 || !fileExists(file))
        throw Error(kTextEffectMissing);
    return ReadEffectParameters(file);
}

StagePosition EffectLibrary::defaultPosition(int category, int effect,
                                             const EffectParameters& parameters) const {
    const QString file = QDir::toNativeSeparators(parameters.file);
    if (parameters.positionMode == QLatin1String("n")) {
        ParseNumber(parameters.fixedX, QStringLiteral("特效参数文件“%1”的位置 wj_x_g_c_l_wz1").arg(file));
        ParseNumber(parameters.fixedY, QStringLiteral("特效参数文件“%1”的位置 wj_x_g_c_l_wz2").arg(file));
        return {parameters.fixedX, parameters.fixedY};
    }
    if (parameters.positionMode != QLatin1String("z"))
        return {};
    const qint64 stillFrame =
        ParseNumber(parameters.stillFrame, QStringLiteral("特效参数文件“%1”的静态帧 wj_x_g_c_l_1").arg(file));
    const QString still =
        EffectFramePath(textEffectFolder(category, effect), static_cast<int>(stillFrame), FrameUse::Preview);
    QSize size;
    try {
        size = ReadImageSize(still);
    } catch (const Error& e) {
        throw Error(QStringLiteral("文字特效“%1”的静态帧图片无法读取: %2").arg(parameters.name, e.message()));
    }
    return {QString::number(kStageWidth / 2 - size.width() / 2),
            QString::number(kStageHeight / 2 - size.height() / 2)};
}

} // namespace lumiset
