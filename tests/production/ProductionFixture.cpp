#include "tests/production/ProductionFixture.h"

#include "core/Package.h"
#include "core/Words.h"
#include "tests/support/JpegFixtures.h"

#include <QColor>
#include <QImage>

namespace lumiset::test {

void ProductionWorld::addTemplate(const QString& name, int frames, const QString& pictures,
                                  const QString& widths, const QString& heights, const QByteArray& movie) {
    TemplateSpec design;
    design.name = name;
    design.frames = QString::number(frames);
    design.pictures = pictures;
    design.widths = widths;
    design.heights = heights;
    design.movie = movie;
    QString orientations = QStringLiteral("|");
    for (int i = 0; i < pictures.count(u'|') - 1; ++i)
        orientations += QStringLiteral("heng|");
    design.orientations = orientations;
    WriteTemplate(tree, QStringLiteral("t%1").arg(++count_, 3, 10, QLatin1Char('0')), design);
    catalogue_.reset();
}

const TemplateCatalogue& ProductionWorld::catalogue() {
    if (!catalogue_)
        catalogue_ = std::make_unique<TemplateCatalogue>(TemplateCatalogue::build(paths()));
    return *catalogue_;
}

int ProductionWorld::useTemplate(Album& album, int number, const QString& category, bool finished) {
    QStringList row(UsedTemplateCol::Count);
    row[UsedTemplateCol::TemplateNumber] = QString::number(number);
    row[UsedTemplateCol::Name] = QStringLiteral("模板%1").arg(number);
    row[UsedTemplateCol::Category] = category;
    row[UsedTemplateCol::Matching] = finished ? Words::Complete : Words::Incomplete;
    const int used = album.usedTemplates.appendRow(row);
    QStringList background(BackgroundCol::Count);
    background[BackgroundCol::Number] = QString::number(used + 1);
    background[BackgroundCol::Transparency] = QStringLiteral("0");
    album.backgrounds.appendRow(background);
    return used;
}

void ProductionWorld::addSlot(Album& album, int usedRow, const QString& picture, const QString& photo,
                              QRect rect, QSize slotSize) {
    QStringList row(SlotCol::Count);
    row[SlotCol::UsedRow] = QString::number(usedRow);
    row[SlotCol::Picture] = picture;
    row[SlotCol::PhotoPath] = photo;
    row[SlotCol::Width] = QString::number(slotSize.width());
    row[SlotCol::Height] = QString::number(slotSize.height());
    for (auto [left, top, width, height] :
         {std::tuple{SlotCol::CropLeft, SlotCol::CropTop, SlotCol::CropWidth, SlotCol::CropHeight},
          std::tuple{SlotCol::ModerateLeft, SlotCol::ModerateTop, SlotCol::ModerateWidth,
                     SlotCol::ModerateHeight}}) {
        row[left] = QString::number(rect.left());
        row[top] = QString::number(rect.top());
        row[width] = QString::number(rect.width());
        row[height] = QString::number(rect.height());
    }
    album.templateSlots.appendRow(row);
}

QByteArray HandOverMovie(int frames) {
    const QString layer = QStringLiteral(
        R"({"ddd":0,"ty":2,"ind":%1,"nm":"%2","refId":"%2","sr":1,"ip":0,"op":%3,"st":0,"bm":0,)"
        R"("ks":{"a":{"a":0,"k":[0,0]},"p":{"a":0,"k":[0,0]},"s":{"a":0,"k":[100,100]},"r":{"a":0,"k":0},)"
        R"("o":{"a":0,"k":100}}})");
    const QString movie =
        QStringLiteral(R"({"v":"5.7.0","fr":25,"ip":0,"op":%1,"w":1920,"h":1080,"assets":[)"
                       R"({"id":"handover","w":1920,"h":1080,"u":"../../pic/","p":"picture_0.jpg","e":0},)"
                       R"({"id":"photo","w":1920,"h":1080,"u":"","p":"zp_1.jpg","e":0}],"layers":[%2,%3]})")
            .arg(frames)
            .arg(layer.arg(1).arg(QStringLiteral("handover")).arg(1),
                 layer.arg(2).arg(QStringLiteral("photo")).arg(frames));
    return movie.toUtf8();
}

void ProductionWorld::addRedAndBlueTemplates(Album& album, int firstFrames, int secondFrames) {
    addTemplate(QStringLiteral("红"), firstFrames, "|zp_1|", "|0|", "|0|", HandOverMovie(firstFrames));
    addTemplate(QStringLiteral("蓝"), secondFrames, "|zp_1|", "|0|", "|0|", HandOverMovie(secondFrames));
    tree.write(QStringLiteral("korvel/wj_0_or_3_3/wj_0_or_3_3_d.rar"),
               EncodePackage(R"({"v":"5.7.0","fr":25,"ip":0,"op":150,"w":1920,"h":1080,"layers":[]})", 16));
    for (auto [number, colour] : {std::pair{0, QColor(Qt::red)}, {1, QColor(Qt::blue)}}) {
        const int used = useTemplate(album, number, Words::LandscapeCategory);
        QImage photo(64, 36, QImage::Format_RGB32);
        photo.fill(colour);
        addSlot(album, used, "zp_1", tree.write(QStringLiteral("p%1.jpg").arg(number), EncodeJpeg(photo)),
                {0, 0, 1920, 1080});
    }
}

ProductionPlan PlanOf(const QList<int>& templateFrames, const QList<qint64>& songFrames, SyncMode sync) {
    ProductionPlan plan;
    plan.sync = sync;
    for (int i = 0; i < templateFrames.size(); ++i) {
        plan.templates.append({i, i, templateFrames[i], QString()});
        plan.passFrames += templateFrames[i];
    }
    plan.totalFrames = plan.passFrames + kClosingFrames;
    qint64 music = 0;
    for (int i = 0; i < songFrames.size(); ++i) {
        plan.songs.append({i, QStringLiteral("song%1.mp3").arg(i), songFrames[i]});
        music += songFrames[i];
    }
    if (sync == SyncMode::Music)
        plan.totalFrames = std::max(plan.totalFrames, music);
    return plan;
}

} // namespace lumiset::test
