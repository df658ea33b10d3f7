#include "photos/UsedTemplates.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/SystemSettings.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "photos/CropRectangles.h"

#include <array>
#include <utility>

namespace lumiset {

namespace {

struct PlaceholderPass {
    QString orientation;
    const QString* slotKind;
};

// Which placeholder pictures fill which slots, by template category. The slot counts of the catalogue
// count a "shuheng" picture as landscape except in the portrait list, so its picture goes where it was
// counted; otherwise an advanced template would keep a counted slot without a picture.
QList<PlaceholderPass> passesFor(const QString& category) {
    QList<PlaceholderPass> passes{{kLandscapeWord, &Words::LandscapeSlot},
                                  {kPortraitWord, &Words::PortraitSlot}};
    if (category == Words::PortraitCategory)
        passes.append({kEitherWord, &Words::PortraitSlot});
    else if (category == Words::LandscapeCategory || category == Words::AdvancedCategory)
        passes.append({kEitherWord, &Words::LandscapeSlot});
    return passes;
}

int catalogueRow(const TemplateCatalogue& catalogue, const QString& templateNumber, const QString& name) {
    bool ok = false;
    const int number = templateNumber.toInt(&ok);
    const std::optional<int> row = ok ? catalogue.rowOfTemplate(number) : std::nullopt;
    if (!row)
        throw Error(QStringLiteral("模板库中没有编号为“%1”的模板“%2”").arg(templateNumber, name));
    return *row;
}

QString slotName(const QStringList& slot) {
    return QStringLiteral("模板“%1”的第 %2 个照片框")
        .arg(slot[SlotCol::TemplateName])
        .arg(slot[SlotCol::SlotIndex].toInt() + 1);
}

int slotSide(const QStringList& slot, int column) {
    const QString& text = slot[column];
    if (text.isEmpty())
        throw Error(QStringLiteral("%1没有尺寸参数，无法放入照片").arg(slotName(slot)));
    return int(ParseNumber(text, slotName(slot)));
}

// The background row of a used template: its number, the template's name, kind and category, a random
// landscape photo of the album (none when there is none) and transparency "0".
void appendBackgroundRow(Album& album, int usedRow, RandomSource& random) {
    constexpr int kPictureCells = BackgroundCol::Path - BackgroundCol::PictureName + 1;
    const QStringList& used = album.usedTemplates.row(usedRow);
    QStringList row{QString::number(album.usedTemplates.rowCount()), used[UsedTemplateCol::Name],
                    used[UsedTemplateCol::Kind], used[UsedTemplateCol::Category]};
    const Table& landscape = album.landscapePhotos;
    if (landscape.isEmpty())
        row << QStringList(kPictureCells, QString());
    else
        row << landscape.row(random.uniform(0, landscape.rowCount() - 1))
                   .mid(LandscapePhotoCol::Name, kPictureCells);
    row << QStringLiteral("0");
    album.backgrounds.appendRow(row);
}

CropSwitches cropSwitches(const Album& album) {
    return {IsSettingChecked(album.settings, SettingControl::PortraitCropModerate),
            IsSettingChecked(album.settings, SettingControl::LandscapeCropModerate)};
}

} // namespace

AppendedTemplate AppendUsedTemplate(Album& album, const TemplateCatalogue& catalogue, int templateListRow,
                                    const QString& matchingState, RandomSource& random) {
    const QStringList& t = catalogue.templateList().row(templateListRow);
    const QString what = QStringLiteral("模板“%1”的照片数量").arg(t[TemplateListCol::Name]);
    const qint64 landscape = ParseNumber(t[TemplateListCol::LandscapeCount], what);
    const qint64 portrait = ParseNumber(t[TemplateListCol::PortraitCount], what);
    catalogueRow(catalogue, t[TemplateListCol::Number], t[TemplateListCol::Name]);

    AppendedTemplate added;
    QStringList used = t.mid(0, TemplateListCol::Count);
    used << matchingState << QString::number(album.usedTemplates.rowCount() + 1);
    added.usedRow = album.usedTemplates.appendRow(used);
    appendBackgroundRow(album, added.usedRow, random);

    const QStringList copied = t.mid(TemplateListCol::Name, TemplateListCol::Category);
    for (qint64 k = 0; k < landscape + portrait; ++k) {
        QStringList slot{t[TemplateListCol::Number]};
        slot << copied << QString::number(added.usedRow)
             << (k < landscape ? Words::LandscapeSlot : Words::PortraitSlot) << QString()
             << QString::number(k);
        added.slotRows.append(album.templateSlots.appendRow(slot));
    }
    FillPlaceholders(album, catalogue, added.usedRow, added.slotRows);
    return added;
}

void FillPlaceholders(Album& album, const TemplateCatalogue& catalogue, int usedRow) {
    FillPlaceholders(album, catalogue, usedRow, SlotRowsOf(album, usedRow));
}

void FillPlaceholders(Album& album, const TemplateCatalogue& catalogue, int usedRow,
                      const QList<int>& slotRows) {
    const QStringList& used = album.usedTemplates.row(usedRow);
    const QStringList& c = catalogue.catalogue().row(
        catalogueRow(catalogue, used[UsedTemplateCol::TemplateNumber], used[UsedTemplateCol::Name]));
    const QStringList widths = SplitBarList(c[CatalogueCol::Widths]);
    const QStringList heights = SplitBarList(c[CatalogueCol::Heights]);
    const QStringList orientations = SplitBarList(c[CatalogueCol::Orientations]);
    const QStringList names = SplitBarList(c[CatalogueCol::PictureNames]);
    Table& table = album.templateSlots;
    for (const PlaceholderPass& pass : passesFor(used[UsedTemplateCol::Category])) {
        for (int i = 0; i < names.size(); ++i) {
            if (!IsPhotoPlaceholder(names[i]) || orientations.value(i) != pass.orientation)
                continue;
            for (int s : slotRows) {
                if (table.cell(s, SlotCol::SlotKind) == *pass.slotKind &&
                    table.cell(s, SlotCol::Picture).isEmpty()) {
                    table.setCell(s, SlotCol::Picture, names[i]);
                    table.setCell(s, SlotCol::Width, widths.value(i));
                    table.setCell(s, SlotCol::Height, heights.value(i));
                    break;
                }
            }
        }
    }
}

QList<int> SlotRowsOf(const Album& album, int usedRow) {
    const QString wanted = QString::number(usedRow);
    QList<int> rows;
    for (int s = 0; s < album.templateSlots.rowCount(); ++s)
        if (album.templateSlots.cell(s, SlotCol::UsedRow) == wanted)
            rows.append(s);
    return rows;
}

void PutPhotoIntoSlot(Album& album, int slotRow, int photoRow) {
    const QStringList& slot = album.templateSlots.row(slotRow);
    const QStringList& photo = album.photos.row(photoRow);
    const int slotWidth = slotSide(slot, SlotCol::Width);
    const int slotHeight = slotWidth == 0 ? kWholeFrameHeight : slotSide(slot, SlotCol::Height);
    if (slotWidth < 0 || slotHeight <= 0)
        throw Error(
            QStringLiteral("%1的尺寸 %2 × %3 无效").arg(slotName(slot)).arg(slotWidth).arg(slotHeight));
    const QString what = QStringLiteral("照片“%1”的尺寸").arg(photo[PhotoCol::Path]);
    const QSize photoSize(int(ParseNumber(photo[PhotoCol::Width], what)),
                          int(ParseNumber(photo[PhotoCol::Height], what)));
    if (photoSize.width() <= 0 || photoSize.height() <= 0)
        throw Error(QStringLiteral("%1无效").arg(what));

    const bool portraitSlot = slot[SlotCol::SlotKind] == Words::PortraitSlot;
    const SlotCrop crop =
        ComputeSlotCrop(portraitSlot, slotWidth, slotHeight, photoSize, cropSwitches(album));
    const QString path = photo[PhotoCol::Path];
    const std::array<std::pair<SlotCol::Column, QString>, 12> cells{{
        {SlotCol::MatchState, Words::SlotFilled},
        {SlotCol::PhotoRow, QString::number(photoRow)},
        {SlotCol::PhotoPath, path},
        {SlotCol::CropLeft, QString::number(crop.fullScreen.x())},
        {SlotCol::CropTop, QString::number(crop.fullScreen.y())},
        {SlotCol::CropWidth, QString::number(crop.fullScreen.width())},
        {SlotCol::CropHeight, QString::number(crop.fullScreen.height())},
        {SlotCol::CropMode, crop.mode},
        {SlotCol::ModerateLeft, QString::number(crop.moderate.x())},
        {SlotCol::ModerateTop, QString::number(crop.moderate.y())},
        {SlotCol::ModerateWidth, QString::number(crop.moderate.width())},
        {SlotCol::ModerateHeight, QString::number(crop.moderate.height())},
    }};
    for (const auto& [column, value] : cells)
        album.templateSlots.setCell(slotRow, column, value);
    album.photos.setCell(photoRow, PhotoCol::Status, Words::Placed);
}

void UpdateMatchingState(Album& album, int usedRow) {
    UpdateMatchingState(album, usedRow, SlotRowsOf(album, usedRow));
}

void UpdateMatchingState(Album& album, int usedRow, const QList<int>& slotRows) {
    bool complete = true;
    for (int s : slotRows)
        complete = complete && !album.templateSlots.cell(s, SlotCol::MatchState).isEmpty();
    album.usedTemplates.setCell(usedRow, UsedTemplateCol::Matching,
                                complete ? Words::Complete : Words::Incomplete);
}

bool PhotoSitsInSlot(const Album& album, int photoRow) {
    const QString wanted = QString::number(photoRow);
    for (const QStringList& slot : album.templateSlots.rows())
        if (slot[SlotCol::PhotoRow] == wanted)
            return true;
    return false;
}

} // namespace lumiset
