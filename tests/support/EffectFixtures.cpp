#include "tests/support/EffectFixtures.h"

#include "core/Columns.h"
#include "core/IniFile.h"
#include "core/TextHelpers.h"
#include "core/Words.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <stdexcept>

namespace lumiset::test {

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write fixture " + path.toStdString());
}

void writeEffect(const QString& folder, const EffectSpec& design) {
    QDir().mkpath(folder);
    for (int k = 1; k <= design.framesDrawn; ++k) {
        QImage frame(design.frameSize, QImage::Format_ARGB32);
        frame.fill(QColor::fromHsv((k * 40) % 360, 200, 230));
        for (const QString& name : {QString::number(k), QStringLiteral("2_%1").arg(k)})
            if (!frame.save(folder + u'/' + name + QStringLiteral(".png")))
                throw std::runtime_error("cannot write a frame in " + folder.toStdString());
    }
    if (!design.parameterFile)
        return;
    const QString text =
        QStringLiteral("[wj_x_g_c_l_0]\r\nwj_x_g_c_l_0=%1\r\nwj_x_g_c_l_sum=%2\r\nwj_x_g_c_l_1=%3\r\n"
                       "wj_x_g_c_l_wz=%4\r\nwj_x_g_c_l_wz1=%5\r\nwj_x_g_c_l_wz2=%6\r\nwxcs03=%7\r\n")
            .arg(design.name, design.frames, design.stillFrame, design.positionMode, design.x, design.y,
                 design.marks);
    writeFile(folder + u'/' + QFileInfo(folder).fileName() + QStringLiteral(".ini"), EncodeGbk(text));
}

} // namespace

DataPaths PathsOf(const TempTree& tree) {
    return DataPaths(tree.path(), tree.path());
}

void WritePictureEffect(const TempTree& tree, int number, const EffectSpec& design) {
    writeEffect(PathsOf(tree).pictureEffectFolder(number), design);
}

void WriteTextEffect(const TempTree& tree, int category, int effect, const EffectSpec& design) {
    writeEffect(PathsOf(tree).textEffectFolder(category, effect), design);
}

void WriteTextCategory(const TempTree& tree, int category) {
    QDir().mkpath(PathsOf(tree).textEffectCategory(category));
}

int AlbumBuilder::addPhoto(const QString& name, int width, int height) {
    const QString path = QStringLiteral("/photos/") + name + QStringLiteral(".jpg");
    const int row =
        album_.photos.appendRow({QString::number(album_.photos.rowCount() + 1), name, QStringLiteral(".jpg"),
                                 QString::number(width), QString::number(height), path, QString()});
    if (IsLandscape(width, height))
        album_.landscapePhotos.appendRow({QString::number(row + 1), name, QStringLiteral(".jpg"),
                                          QString::number(width), QString::number(height), path,
                                          QString::number(row)});
    return row;
}

int AlbumBuilder::addTemplate(int catalogueRow, const QList<int>& photoRows) {
    const QStringList& c = catalogue_.catalogue().row(catalogueRow);
    const bool complete = !photoRows.contains(-1);
    const QString frames = FramesToClock(c[CatalogueCol::FrameCount].toLongLong());
    const QString number = QString::number(album_.usedTemplates.rowCount() + 1);
    const int used = album_.usedTemplates.appendRow({c[CatalogueCol::Number], c[CatalogueCol::Name],
                                                     Words::SingleKind, QString::number(photoRows.size()),
                                                     QStringLiteral("0"), frames, Words::LandscapeCategory,
                                                     complete ? Words::Complete : Words::Incomplete, number});
    const QStringList pictures = SplitBarList(c[CatalogueCol::PictureNames]);
    for (int k = 0; k < photoRows.size(); ++k) {
        const int photo = photoRows[k];
        QStringList slot = album_.usedTemplates.row(used).mid(0, 7);
        slot << QString::number(used) << Words::LandscapeSlot << pictures.value(k) << QString::number(k);
        if (photo >= 0) {
            slot << Words::SlotFilled << QString::number(photo) << album_.photos.cell(photo, PhotoCol::Path)
                 << "0"
                 << "0"
                 << "0"
                 << "0"
                 << "400"
                 << "300" << Words::FullScreenCrop << "0"
                 << "0"
                 << "400"
                 << "300"
                 << "";
            album_.photos.setCell(photo, PhotoCol::Status, Words::Placed);
        } else {
            slot << ""
                 << ""
                 << ""
                 << "0"
                 << "0"
                 << ""
                 << ""
                 << ""
                 << ""
                 << ""
                 << ""
                 << ""
                 << ""
                 << ""
                 << "";
        }
        slot << "";
        album_.templateSlots.appendRow(slot);
    }
    album_.backgrounds.appendRow({number, c[CatalogueCol::Name], Words::SingleKind, Words::LandscapeCategory,
                                  "", "", "", "", "", "0"});
    return used;
}

} // namespace lumiset::test
