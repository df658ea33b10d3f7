#include "photos/TemplatePreview.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/Package.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "photos/PhotoFile.h"
#include "photos/ThumbnailLoader.h"
#include "player/AnimationPlayer.h"

#include <QFile>
#include <QPainter>

namespace lumiset {

namespace {

constexpr int kCanvasWidth = 1920;
constexpr int kCanvasHeight = 1080;
const QColor kPlaceholderColour(0, 128, 128);
// The names the template movies give their background and hand-over pictures.
const QString kBackgroundPicture = QStringLiteral("wj_y_l_b_j.jpg");
const QString kHandOverPicture = QStringLiteral("../../pic/picture_0.jpg");

QSize scaledToTarget(QSize canvas, QSize target) {
    return {std::max(1, canvas.width() * target.width() / kCanvasWidth),
            std::max(1, canvas.height() * target.height() / kCanvasHeight)};
}

QSize slotCanvas(const QString& width, const QString& height) {
    const int w = width.toInt();
    const int h = height.toInt();
    if (w <= 0 || h <= 0) // a width of 0 means the whole frame
        return {kCanvasWidth, kCanvasHeight};
    return {w, h};
}

} // namespace

QImage PlaceholderPicture(QSize canvas, QSize target) {
    QImage image(scaledToTarget(canvas, target), QImage::Format_RGB32);
    image.fill(kPlaceholderColour);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, 21 * target.width() / 800));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("picture"));
    return image;
}

QImage CoverPicture(const QString& photoPath, QSize size, QString* warning) {
    // The one photo path of the program: header for the size, then the thumbnail loader's scaled decode.
    const QSize photo = ReadPhotoInfo(photoPath).displayedSize();
    const QSize covering = photo.scaled(size, Qt::KeepAspectRatioByExpanding);
    const QRect area(QPoint((size.width() - covering.width()) / 2, (size.height() - covering.height()) / 2),
                     covering);
    ThumbnailStatus status;
    QImage picture = ThumbnailLoader().renderPanel(photoPath, size, area, &status);
    if (!status.pictureShown)
        throw Error(status.message);
    if (warning)
        *warning = status.message;
    return picture;
}

TemplatePreview TemplatePreview::prepare(const DataPaths& paths, const TemplateCatalogue& catalogue,
                                         int catalogueRow, const QStringList& photos, QSize target) {
    const QStringList& row = catalogue.catalogue().row(catalogueRow);
    TemplatePreview preview;
    preview.name = row[CatalogueCol::AnimationPath];
    preview.movie = DecodePackageToMemory(preview.name, PackageLayers::TemplateAnimation);

    const QStringList names = SplitBarList(row[CatalogueCol::PictureNames]);
    const QStringList widths = SplitBarList(row[CatalogueCol::Widths]);
    const QStringList heights = SplitBarList(row[CatalogueCol::Heights]);
    const QString cls = row[CatalogueCol::Class];
    int nextPhoto = 0;
    for (int k = 0; k < names.size(); ++k) {
        const QSize slot = slotCanvas(widths.value(k), heights.value(k));
        const bool isPhotoSlot = IsPhotoPlaceholder(names[k]);
        QImage picture;
        if (isPhotoSlot && nextPhoto < photos.size()) {
            QString warning;
            picture = CoverPicture(photos[nextPhoto++], scaledToTarget(slot, target), &warning);
            if (!warning.isEmpty())
                preview.warnings.append(warning);
        } else {
            // Single templates show their placeholder at the size the photo would take on screen.
            QSize canvas = slot;
            if (cls == kLandscapeWord || cls == kEitherWord)
                canvas = {kCanvasWidth, kCanvasHeight};
            else if (cls == kPortraitWord)
                canvas = {kCanvasHeight, kCanvasWidth};
            picture = PlaceholderPicture(canvas, target);
        }
        preview.pictures.insert(names[k] + QStringLiteral(".jpg"), std::move(picture));
    }

    // A catalogue preview has a black background; with photos, the default background of an album.
    QImage background(target, QImage::Format_RGB32);
    background.fill(Qt::black);
    if (!photos.isEmpty() && QFile::exists(paths.defaultBackgroundPackage())) {
        const QByteArray jpeg =
            DecodePackageToMemory(paths.defaultBackgroundPackage(), PackageLayers::DefaultBackground);
        const QImage decoded = QImage::fromData(jpeg, "JPG");
        if (!decoded.isNull())
            background = decoded.scaled(target, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                             .copy(QRect(QPoint(0, 0), target));
    }
    preview.pictures.insert(kBackgroundPicture, std::move(background));

    QImage handOver(81, 57, QImage::Format_RGB32);
    handOver.fill(Qt::black);
    preview.pictures.insert(kHandOverPicture, std::move(handOver));
    return preview;
}

void TemplatePreview::loadInto(AnimationPlayer& player) const {
    player.setMovieData(movie, pictures, {}, name);
}

} // namespace lumiset
