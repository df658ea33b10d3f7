#include "tests/photos_matching/MatchingFixture.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "photos/PhotoFile.h"

#include <QBuffer>
#include <QImage>

namespace lumiset::test {

TemplateSpec MakeTemplate(const QString& name, const QList<SlotSpec>& slotSpecs) {
    TemplateSpec design;
    design.name = name;
    QStringList orientations, pictures, widths, heights;
    for (const SlotSpec& slot : slotSpecs) {
        orientations << slot.orientation;
        pictures << slot.picture;
        widths << QString::number(slot.width);
        heights << QString::number(slot.height);
    }
    const auto bars = [](const QStringList& items) { return u'|' + items.join(u'|') + u'|'; };
    design.orientations = bars(orientations);
    design.pictures = bars(pictures);
    design.widths = bars(widths);
    design.heights = bars(heights);
    return design;
}

TemplateSpec LandscapeTemplate(const QString& name, int width, int height) {
    return MakeTemplate(name, {{"heng", "zp_1", width, height}});
}

TemplateSpec PortraitTemplate(const QString& name, int width, int height) {
    return MakeTemplate(name, {{"shu", "zp_1", width, height}});
}

void TemplateWorld::add(const TemplateSpec& design) {
    WriteTemplate(tree, QStringLiteral("t%1").arg(++count_, 3, 10, QLatin1Char('0')), design);
    catalogue_.reset();
}

const TemplateCatalogue& TemplateWorld::catalogue() {
    if (!catalogue_)
        catalogue_ = std::make_unique<TemplateCatalogue>(TemplateCatalogue::build(paths()));
    return *catalogue_;
}

int TemplateWorld::templateListRow(const QString& name) {
    const Table& list = catalogue().templateList();
    for (int r = 0; r < list.rowCount(); ++r)
        if (list.cell(r, TemplateListCol::Name) == name)
            return r;
    return -1;
}

QString FakePhotos::add(const QString& name, int width, int height) {
    const QString path = QStringLiteral("/photos/%1.jpg").arg(name);
    sizes_.insert(path, QSize(width, height));
    return path;
}

QStringList FakePhotos::addMany(const QString& prefix, int count, int width, int height) {
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << add(prefix + QString::number(i), width, height);
    return paths;
}

PhotoReader FakePhotos::reader() const {
    return [sizes = sizes_](const QString& path) {
        if (!sizes.contains(path))
            throw PhotoError(path, QStringLiteral("不是 JPEG 图片。"));
        const QString file = path.section(u'/', -1);
        return PhotoRow{file.section(u'.', 0, -2), u'.' + file.section(u'.', -1), sizes[path].width(),
                        sizes[path].height(), path};
    };
}

QByteArray JpegBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

QStringList Problems(const Album& album, const TemplateCatalogue& catalogue) {
    return AlbumProblems(album, catalogue.catalogue().rowCount());
}

QStringList UsedTemplateNames(const Album& album) {
    QStringList names;
    for (const QStringList& row : album.usedTemplates.rows())
        names << row[UsedTemplateCol::Name];
    return names;
}

QStringList SlotPhotos(const Album& album, int usedRow) {
    QStringList photos;
    for (const QStringList& slot : album.templateSlots.rows())
        if (slot[SlotCol::UsedRow] == QString::number(usedRow))
            photos << slot[SlotCol::PhotoRow];
    return photos;
}

} // namespace lumiset::test
