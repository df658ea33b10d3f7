#include "core/TemplateCatalogue.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "core/TextHelpers.h"
#include "core/Words.h"

#include <QDir>

namespace lumiset {

namespace {

const QString kNameSection = QStringLiteral("l_x_k_r_v_t_w_j_s_y");

} // namespace

QString ClassifySlots(const QStringList& tokens) {
    if (tokens.isEmpty())
        return {};
    if (tokens.size() == 1 &&
        (tokens[0] == kLandscapeWord || tokens[0] == kPortraitWord || tokens[0] == kEitherWord))
        return tokens[0];
    const auto h = tokens.count(kLandscapeWord);
    const auto s = tokens.count(kPortraitWord);
    if ((h >= 1 && s >= 1) || h > 1 || s > 1)
        return Words::AdvancedClass;
    return {};
}

bool IsPhotoPlaceholder(const QString& pictureName) {
    return pictureName.count(u'_') == 1;
}

SlotCounts CountPhotoSlots(const QStringList& orientations, const QStringList& pictureNames,
                           bool inPortraitList) {
    SlotCounts counts;
    for (int i = 0; i < pictureNames.size(); ++i) {
        if (!IsPhotoPlaceholder(pictureNames[i]) || i >= orientations.size())
            continue;
        const QString& o = orientations[i];
        if (o == kLandscapeWord || (o == kEitherWord && !inPortraitList))
            ++counts.landscape;
        else if (o == kPortraitWord || (o == kEitherWord && inPortraitList))
            ++counts.portrait;
    }
    return counts;
}

TemplateCatalogue::TemplateCatalogue()
    : catalogue_(QStringLiteral("ListView_mobancanshu"), CatalogueCol::Count),
      landscape_(QStringLiteral("ListView_hengzhaopian"), ClassListCol::Count),
      portrait_(QStringLiteral("ListView_shuzhaopian"), ClassListCol::Count),
      advanced_(QStringLiteral("ListView_gaojimoban"), ClassListCol::Count),
      templateList_(QStringLiteral("ListView_moban"), TemplateListCol::Count) {}

TemplateCatalogue TemplateCatalogue::build(const DataPaths& paths, const Progress& progress) {
    TemplateCatalogue catalogue;
    catalogue.scan(paths);
    catalogue.load(progress);
    catalogue.classify();
    catalogue.count();
    catalogue.publish();
    return catalogue;
}

void TemplateCatalogue::scan(const DataPaths& paths) {
    parameterPackages_ = ScanPackages(paths.templateParameterTree());
    animationPackages_ = ScanPackages(paths.templateAnimationTree());
    if (parameterPackages_.isEmpty() || animationPackages_.isEmpty())
        throw Error(QStringLiteral("没有找到模板文件, 软件无法运行! 请检查数据文件夹: %1")
                        .arg(QDir::toNativeSeparators(paths.dataFolder())));
    // Templates pair by position; a missing animation would only fail later, when the template plays.
    if (parameterPackages_.size() != animationPackages_.size())
        throw Error(
            QStringLiteral("模板参数文件 (%1 个) 与模板动画文件 (%2 个) 数量不一致, 请检查数据文件夹: %3")
                .arg(parameterPackages_.size())
                .arg(animationPackages_.size())
                .arg(QDir::toNativeSeparators(paths.dataFolder())));
}

namespace {

// A template's length must be a whole number of frames the album can play: a negative or absurd count
// would show as a nonsense clock and break every time sum of the album.
void checkFrameCount(const QString& text, const QString& package, const QString& name) {
    if (!WholeNumberIn(text, 1, kMaxTemplateFrames))
        throw Error(QStringLiteral("模板参数文件 %1 中模板“%2”的总帧数 mbdx “%3”无效 (应为 1 到 %4 的整数)")
                        .arg(QDir::toNativeSeparators(package), name, text)
                        .arg(kMaxTemplateFrames));
}

} // namespace

void TemplateCatalogue::load(const Progress& progress) {
    catalogue_.clear();
    QStringList badMarkers;
    const int total = static_cast<int>(parameterPackages_.size());
    for (int k = 0; k < total; ++k) {
        if (progress)
            progress(k + 1, total);
        const QString& package = parameterPackages_[k];
        const QByteArray payload = DecodePackageToMemory(package, PackageLayers::TemplateParameters);
        // A package without payload is a template without parameters: no row, the position still counts.
        if (payload.isEmpty())
            continue;
        const IniFile ini = IniFile::fromBytes(payload);
        if (ini.value(kNameSection, kNameSection) != kTemplateMarker)
            badMarkers.append(QDir::toNativeSeparators(package));
        const auto one = [&](const char* key) { return ini.value(QStringLiteral("1"), QLatin1String(key)); };
        checkFrameCount(one("mbdx"), package,
                        ini.value(kNameSection, QStringLiteral("l_x_k_r_v_t_w_j_s_y_m_c")));
        catalogue_.appendRow({one("mblx"), one("mbfl"), one("xpsl"), one("xpkd"), one("xpgd"), one("szhz"),
                              one("xpjpgmc"), animationPackages_.value(k), QString(), QString::number(k),
                              one("mbdx"), ini.value(kNameSection, QStringLiteral("l_x_k_r_v_t_w_j_s_y_m_c")),
                              ini.value(QStringLiteral("0"), QStringLiteral("sl")), one("wxcs01"),
                              one("wxcs02"), one("wxcs03"), one("wxcs04")});
    }
    if (!badMarkers.isEmpty())
        throw Error(
            QStringLiteral("模板参数文件不是本软件的文件, 软件无法运行!\n%1").arg(badMarkers.join(u'\n')));
}

void TemplateCatalogue::classify() {
    landscape_.clear();
    portrait_.clear();
    advanced_.clear();
    for (int r = 0; r < catalogue_.rowCount(); ++r) {
        const QString cls = ClassifySlots(SplitBarList(catalogue_.cell(r, CatalogueCol::Orientations)));
        catalogue_.setCell(r, CatalogueCol::Class, cls);
        const QStringList& c = catalogue_.row(r);
        const QStringList listRow{c[CatalogueCol::Type],         c[CatalogueCol::Category],
                                  c[CatalogueCol::PhotoCount],   c[CatalogueCol::Widths],
                                  c[CatalogueCol::Heights],      c[CatalogueCol::Orientations],
                                  c[CatalogueCol::PictureNames], c[CatalogueCol::AnimationPath],
                                  c[CatalogueCol::Class],        c[CatalogueCol::Number],
                                  QStringLiteral("0"),           QStringLiteral("0"),
                                  c[CatalogueCol::FrameCount],   c[CatalogueCol::Name]};
        if (cls == kLandscapeWord || cls == kEitherWord)
            landscape_.appendRow(listRow);
        if (cls == kPortraitWord || cls == kEitherWord)
            portrait_.appendRow(listRow);
        if (cls == Words::AdvancedClass)
            advanced_.appendRow(listRow);
    }
}

void TemplateCatalogue::count() {
    for (Table* list : {&landscape_, &portrait_, &advanced_}) {
        const bool inPortraitList = list == &portrait_;
        for (int r = 0; r < list->rowCount(); ++r) {
            const QStringList orientations = SplitBarList(list->cell(r, ClassListCol::Orientations));
            if (orientations.isEmpty())
                continue;
            const SlotCounts counts = CountPhotoSlots(
                orientations, SplitBarList(list->cell(r, ClassListCol::PictureNames)), inPortraitList);
            list->setCell(r, ClassListCol::LandscapeCount, QString::number(counts.landscape));
            list->setCell(r, ClassListCol::PortraitCount, QString::number(counts.portrait));
        }
    }
}

void TemplateCatalogue::publish() {
    Table published(templateList_.name(), TemplateListCol::Count);
    const struct {
        const Table& list;
        const QString& kind;
        const QString& category;
    } groups[] = {{advanced_, Words::AdvancedKind, Words::AdvancedCategory},
                  {landscape_, Words::SingleKind, Words::LandscapeCategory},
                  {portrait_, Words::SingleKind, Words::PortraitCategory}};
    for (const auto& group : groups) {
        for (const QStringList& row : group.list.rows()) {
            const qint64 frames =
                ParseNumber(row[ClassListCol::FrameCount],
                            QStringLiteral("模板“%1”的总帧数 mbdx").arg(row[ClassListCol::Name]));
            published.appendRow({row[ClassListCol::Number], row[ClassListCol::Name], group.kind,
                                 row[ClassListCol::LandscapeCount], row[ClassListCol::PortraitCount],
                                 FramesToClock(frames), group.category});
        }
    }
    // Only a complete list replaces the old one.
    templateList_ = std::move(published);
}

std::optional<int> TemplateCatalogue::rowOfTemplate(int templateNumber) const {
    // Column 9 equals the row index unless a package had no payload; try the fast path first.
    if (templateNumber >= 0 && templateNumber < catalogue_.rowCount() &&
        catalogue_.cell(templateNumber, CatalogueCol::Number) == QString::number(templateNumber))
        return templateNumber;
    const QString wanted = QString::number(templateNumber);
    for (int r = 0; r < catalogue_.rowCount(); ++r)
        if (catalogue_.cell(r, CatalogueCol::Number) == wanted)
            return r;
    return std::nullopt;
}

} // namespace lumiset
