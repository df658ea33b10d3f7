// lumiset preview-effects: contact sheets of the picture-effect and text-effect libraries, drawn from
// their preview frames, so anyone can see the shipped effects without the windows.
#include "app/CommandOptions.h"
#include "app/Commands.h"
#include "app/TextOutput.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "effects/EffectFrames.h"
#include "effects/EffectLibrary.h"
#include "effects/TextEffectCategories.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>

namespace lumiset::app {

namespace {

constexpr int kLabelWidth = 150;
const QColor kSheetColour(32, 32, 32);

void paintStage(QPainter& painter, const QRect& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, QColor(60, 70, 95));
    gradient.setColorAt(1, QColor(25, 25, 35));
    painter.fillRect(area, gradient);
}

void label(QPainter& painter, const QRect& area, const QString& text) {
    painter.setPen(Qt::white);
    painter.drawText(area.adjusted(8, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text);
}

QImage pictureEffectSheet(const EffectLibrary& library) {
    const PictureEffectListing listing = library.listPictureEffects();
    const QSize cell(320, 180);
    const int columns = 4;
    QImage sheet(kLabelWidth + cell.width() * columns,
                 std::max(1, int(listing.entries.size())) * cell.height(), QImage::Format_RGB32);
    sheet.fill(kSheetColour);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < listing.entries.size(); ++row) {
        const PictureEffectEntry& entry = listing.entries[row];
        const QString folder = library.pictureEffectFolder(entry.number);
        const int frames = ReadEffectParameters(library.pictureEffectParameterFile(entry.number)).frames();
        label(painter, QRect(0, row * cell.height(), kLabelWidth, cell.height()),
              QStringLiteral("%1  %2\n%3 帧").arg(entry.number).arg(entry.name).arg(frames));
        for (int c = 0; c < columns; ++c) {
            const QRect area(kLabelWidth + c * cell.width(), row * cell.height(), cell.width() - 2,
                             cell.height() - 2);
            paintStage(painter, area);
            const int frame = 1 + (frames - 1) * (c + 1) / (columns + 1);
            const EffectFrame picture = LoadEffectFrame(EffectFramePath(folder, frame, FrameUse::Preview));
            // The frame covers the stage; a cropped one covers its part of it.
            const QTransform toCell =
                QTransform::fromTranslate(area.left(), area.top())
                    .scale(area.width() / double(kStageWidth), area.height() / double(kStageHeight));
            painter.drawImage(toCell.mapRect(QRectF(picture.offset, picture.image.size())), picture.image);
        }
    }
    return sheet;
}

QImage textEffectSheet(const EffectLibrary& library) {
    const QSize cell(250, 100);
    const int columns = 6;
    const int categories = library.textCategoryCount();
    QImage sheet(kLabelWidth + cell.width() * columns, std::max(1, categories) * cell.height(),
                 QImage::Format_RGB32);
    sheet.fill(kSheetColour);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int c = 1; c <= categories; ++c) {
        const int y = (c - 1) * cell.height();
        label(painter, QRect(0, y, kLabelWidth, cell.height()), TextEffectCategoryEntries().value(2 * c));
        for (int e = 1; e <= columns && QDir(library.textEffectFolder(c, e)).exists(); ++e) {
            const EffectParameters parameters = library.textEffect(c, e);
            const QRect area(kLabelWidth + (e - 1) * cell.width(), y, cell.width() - 2, cell.height() - 2);
            paintStage(painter, area);
            const QImage still =
                LoadEffectFrame(EffectFramePath(library.textEffectFolder(c, e), parameters.stillFrame.toInt(),
                                                FrameUse::Preview))
                    .image;
            const QImage fitted =
                still.scaled(area.size() - QSize(8, 22), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            painter.drawImage(area.left() + (area.width() - fitted.width()) / 2, area.top() + 2, fitted);
            painter.setPen(QColor(200, 200, 200));
            painter.drawText(area.adjusted(4, 0, -4, -2), Qt::AlignBottom | Qt::AlignHCenter,
                             QStringLiteral("%1  [%2]").arg(parameters.name, parameters.marks));
        }
    }
    return sheet;
}

void save(const QImage& image, const QString& path) {
    SaveImageFile(path, image, "PNG");
    printLine(path);
}

} // namespace

int runPreviewEffectsCommand(const QStringList& args) {
    const CommandOptions options(args, {"out"});
    const QString out = options.required("out");
    if (!QDir().mkpath(out))
        throw Error(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(out)));
    const EffectLibrary library(DataPaths::forRunningProgram());
    save(pictureEffectSheet(library), out + QStringLiteral("/picture-effects.png"));
    save(textEffectSheet(library), out + QStringLiteral("/text-effects.png"));
    return 0;
}

} // namespace lumiset::app
