#include "photos/BackgroundEdits.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/Package.h"
#include "core/TextHelpers.h"

#include <QDir>

namespace lumiset {

namespace {

void setPicture(Album& album, int row, const PhotoRow& picture) {
    Table& backgrounds = album.backgrounds;
    backgrounds.setCell(row, BackgroundCol::PictureName, picture.name);
    backgrounds.setCell(row, BackgroundCol::PictureExtension, picture.extension);
    backgrounds.setCell(row, BackgroundCol::Width, QString::number(picture.width));
    backgrounds.setCell(row, BackgroundCol::Height, QString::number(picture.height));
    backgrounds.setCell(row, BackgroundCol::Path, picture.path);
}

void writeTransparency(Album& album, int row, bool allRows, const QString& value) {
    for (int r = 0; r < album.backgrounds.rowCount(); ++r)
        if (allRows || r == row)
            album.backgrounds.setCell(r, BackgroundCol::Transparency, value);
}

} // namespace

void CheckBackgroundSelection(const Album& album, int row) {
    if (album.backgrounds.isEmpty())
        throw Error(BackgroundText::NoRows);
    if (row < 0 || row >= album.backgrounds.rowCount())
        throw Error(BackgroundText::NoSelection);
}

const QStringList& BackgroundRowToShow(const Album& album, int row) {
    if (row < 0 || row >= album.backgrounds.rowCount())
        throw Error(BackgroundText::NoSelection);
    if (album.backgrounds.cell(row, BackgroundCol::Path).isEmpty())
        throw Error(BackgroundText::NoPicture);
    return album.backgrounds.row(row);
}

QString ApplyDefaultBackground(Album& album, const DataPaths& paths) {
    QList<int> empty;
    for (int r = 0; r < album.backgrounds.rowCount(); ++r)
        if (album.backgrounds.cell(r, BackgroundCol::Path).isEmpty())
            empty.append(r);
    if (empty.isEmpty())
        return {};
    PhotoRow picture;
    try {
        DecodePackage(paths.defaultBackgroundPackage(), PackageLayers::DefaultBackground,
                      paths.defaultBackgroundPicture());
        try {
            picture = ReadPhotoRow(paths.defaultBackgroundPicture());
        } catch (const Error&) {
            // The user knows the package, not the work copy unpacked from it.
            throw Error(QStringLiteral("默认背景图片包 %1 中的图片已损坏")
                            .arg(QDir::toNativeSeparators(paths.defaultBackgroundPackage())));
        }
    } catch (const Error& e) {
        return QStringLiteral("没有可用的默认背景图片，%1 个模板没有背景图片：%2")
            .arg(empty.size())
            .arg(e.message());
    }
    for (int r : empty)
        setPicture(album, r, picture);
    return {};
}

void ReplaceBackgroundPicture(Album& album, int row, const QString& file, const PhotoReader& read) {
    CheckBackgroundSelection(album, row);
    const PhotoRow picture = read(file);
    if (!IsLandscape(picture.width, picture.height))
        throw Error(BackgroundText::NotLandscape);
    setPicture(album, row, picture);
}

QString SaveBackgroundTransparency(Album& album, int row, int transparency, bool allRows) {
    CheckBackgroundSelection(album, row);
    if (transparency < 0 || transparency > 100)
        throw Error(QStringLiteral("背景图片的透明度 %1 无效，应在 0 到 100 之间").arg(transparency));
    writeTransparency(album, row, allRows, QString::number(transparency));
    return BackgroundText::Saved;
}

QString ResetBackgroundTransparency(Album& album, int row, bool allRows) {
    CheckBackgroundSelection(album, row);
    writeTransparency(album, row, allRows, QStringLiteral("0"));
    return BackgroundText::DefaultsRestored;
}

} // namespace lumiset
