#include "production/TemplatePictures.h"

#include "core/Error.h"
#include "core/Package.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "effects/AlbumTimeline.h"
#include "photos/ThumbnailLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>

namespace lumiset {

namespace {

constexpr int kCanvasWidth = 1920;
constexpr int kCanvasHeight = 1080;

int CellNumber(const Album& album, int slotRow, SlotCol::Column column) {
    return static_cast<int>(
        WholeNumberIn(album.templateSlots.cell(slotRow, column), -100000, 100000).value_or(0));
}

QList<int> SlotsOf(const Album& album, int usedRow) {
    QList<int> slotRows;
    const QString row = QString::number(usedRow);
    for (int r = 0; r < album.templateSlots.rowCount(); ++r)
        if (album.templateSlots.cell(r, SlotCol::UsedRow) == row)
            slotRows.append(r);
    return slotRows;
}

QImage WhitePicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The photo rendered into `area` of a white panel, or a white panel and a warning when it cannot be shown.
QImage RenderPhoto(const QString& path, QSize panel, const QRect& area, QStringList& warnings) {
    if (path.isEmpty())
        return WhitePicture(panel);
    ThumbnailStatus status;
    QImage picture = ThumbnailLoader().renderPanel(path, panel, area, &status);
    if (!status.pictureShown) {
        warnings.append(
            status.message.isEmpty()
                ? QStringLiteral("照片文件“%1”无法显示，以白色画面代替。").arg(QDir::toNativeSeparators(path))
                : status.message);
        return WhitePicture(panel);
    }
    if (!status.message.isEmpty())
        warnings.append(status.message);
    return picture;
}

QRect Scaled(const QRect& r, double sx, double sy) {
    return QRect(QPoint(qRound(r.left() * sx), qRound(r.top() * sy)),
                 QSize(std::max(1, qRound(r.width() * sx)), std::max(1, qRound(r.height() * sy))));
}

QImage MakeBackground(const Album& album, const DataPaths& paths, int usedRow, QSize target,
                      QStringList& warnings) {
    if (usedRow >= album.backgrounds.rowCount() ||
        album.backgrounds.cell(usedRow, BackgroundCol::PictureName).isEmpty()) {
        QImage black(target, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }
    const QString path = album.backgrounds.cell(usedRow, BackgroundCol::Path);
    // The default background's work copy goes at every start; its package is always there.
    if (QFileInfo(path) == QFileInfo(paths.defaultBackgroundPicture()) && !QFileInfo::exists(path)) {
        try {
            DecodePackage(paths.defaultBackgroundPackage(), PackageLayers::DefaultBackground, path);
        } catch (const Error& error) {
            warnings.append(error.message());
        }
    }
    const QSize picture(
        static_cast<int>(WholeNumberIn(album.backgrounds.cell(usedRow, BackgroundCol::Width), 1, 1000000)
                             .value_or(target.width())),
        static_cast<int>(WholeNumberIn(album.backgrounds.cell(usedRow, BackgroundCol::Height), 1, 1000000)
                             .value_or(target.height())));
    return RenderPhoto(path, target, BackgroundArea(picture, target), warnings);
}

} // namespace

QRect BackgroundArea(QSize picture, QSize target) {
    const qint64 w = std::max(1, picture.width());
    const qint64 h = std::max(1, picture.height());
    qint64 height = target.height();
    qint64 width = w * target.height() / h;
    if (width < target.width()) {
        width = target.width();
        height = h * target.width() / w;
    }
    return QRect(static_cast<int>(target.width() / 2 - width / 2), 0, static_cast<int>(width),
                 static_cast<int>(height));
}

SlotPanel SlotPanelOf(const Album& album, int slotRow, const QString& category) {
    if (category == Words::PortraitCategory) {
        const QRect moderate(CellNumber(album, slotRow, SlotCol::ModerateLeft),
                             CellNumber(album, slotRow, SlotCol::ModerateTop),
                             CellNumber(album, slotRow, SlotCol::ModerateWidth),
                             CellNumber(album, slotRow, SlotCol::ModerateHeight));
        return {QSize(std::max(1, moderate.width() + 2 * moderate.left()), kCanvasHeight), moderate};
    }
    const QRect full(
        CellNumber(album, slotRow, SlotCol::CropLeft), CellNumber(album, slotRow, SlotCol::CropTop),
        CellNumber(album, slotRow, SlotCol::CropWidth), CellNumber(album, slotRow, SlotCol::CropHeight));
    if (category == Words::AdvancedCategory) {
        QSize slot(CellNumber(album, slotRow, SlotCol::Width), CellNumber(album, slotRow, SlotCol::Height));
        if (slot.width() <= 0 || slot.height() <= 0) // "0" is the whole frame
            slot = {kCanvasWidth, kCanvasHeight};
        return {slot, full};
    }
    return {QSize(kCanvasWidth, kCanvasHeight), full};
}

QList<PicturePlan> PlanPictures(const Album& album, const TemplateCatalogue& catalogue, int usedRow,
                                QSize target) {
    const int catalogueRow = CatalogueRowOfUsedTemplate(album, catalogue, usedRow);
    const QStringList& row = catalogue.catalogue().row(catalogueRow);
    const QStringList names = SplitBarList(row[CatalogueCol::PictureNames]);
    const QStringList widths = SplitBarList(row[CatalogueCol::Widths]);
    const QStringList heights = SplitBarList(row[CatalogueCol::Heights]);
    const QString category = album.usedTemplates.cell(usedRow, UsedTemplateCol::Category);
    const QList<int> slotRows = SlotsOf(album, usedRow);

    QList<PicturePlan> plans;
    int source = -1;
    for (int k = 0; k < names.size(); ++k) {
        for (int slot : slotRows) {
            const QString slotName = album.templateSlots.cell(slot, SlotCol::Picture);
            if (!slotName.isEmpty() && names[k].contains(slotName))
                source = slot;
        }
        PicturePlan plan;
        plan.name = names[k];
        plan.sourceSlot = source;
        if (category == Words::PortraitCategory) {
            // As high as the frame, as wide as the last slot's panel in proportion.
            const int canvasWidth = slotRows.isEmpty()
                                        ? kCanvasHeight
                                        : SlotPanelOf(album, slotRows.last(), category).panel.width();
            const int height = kCanvasHeight * target.height() / kCanvasHeight;
            plan.size = {std::max(1, canvasWidth * height / kCanvasHeight), std::max(1, height)};
        } else {
            QSize canvas(kCanvasWidth, kCanvasHeight);
            if (category == Words::AdvancedCategory) {
                const int w = widths.value(k).toInt();
                const int h = heights.value(k).toInt();
                if (w > 0 && h > 0)
                    canvas = {w, h};
            }
            plan.size = {std::max(1, target.width() * canvas.width() / kCanvasWidth),
                         std::max(1, target.height() * canvas.height() / kCanvasHeight)};
        }
        plans.append(plan);
    }
    return plans;
}

TemplatePictures PrepareTemplatePictures(const Album& album, const TemplateCatalogue& catalogue,
                                         const DataPaths& paths, int usedRow, QSize target) {
    TemplatePictures prepared;
    const int catalogueRow = CatalogueRowOfUsedTemplate(album, catalogue, usedRow);
    prepared.movieName = catalogue.catalogue().cell(catalogueRow, CatalogueCol::AnimationPath);
    prepared.movie = DecodePackageToMemory(prepared.movieName, PackageLayers::TemplateAnimation);

    prepared.background = MakeBackground(album, paths, usedRow, target, prepared.warnings);
    prepared.pictures.insert(kBackgroundPictureName, prepared.background);

    // Each slot's panel is rendered once, straight at the scale of the pictures cut from it, so a photo
    // is decoded once per slot and never scaled twice.
    const QString category = album.usedTemplates.cell(usedRow, UsedTemplateCol::Category);
    QHash<int, QImage> panels;
    for (const PicturePlan& plan : PlanPictures(album, catalogue, usedRow, target)) {
        QImage picture;
        if (plan.sourceSlot < 0) {
            picture = WhitePicture(plan.size);
        } else {
            QImage& panel = panels[plan.sourceSlot];
            const SlotPanel slot = SlotPanelOf(album, plan.sourceSlot, category);
            const double sx = double(plan.size.width()) / slot.panel.width();
            const double sy = double(plan.size.height()) / slot.panel.height();
            if (panel.isNull() || panel.size() != plan.size)
                panel = RenderPhoto(album.templateSlots.cell(plan.sourceSlot, SlotCol::PhotoPath), plan.size,
                                    Scaled(slot.photo, sx, sy), prepared.warnings);
            picture = panel;
        }
        prepared.pictures.insert(plan.name + QStringLiteral(".jpg"), std::move(picture));
    }
    prepared.warnings.removeDuplicates();
    return prepared;
}

} // namespace lumiset
