#include "tools/templates/DataFolder.h"

#include "core/DataPaths.h"
#include "core/Error.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "core/TextHelpers.h"
#include "tools/templates/Drawings.h"
#include "tools/templates/JsonWriter.h"
#include "tools/templates/Movie.h"

#include <QCollator>
#include <QDir>
#include <cmath>

namespace lumiset::templates {

namespace {

// Folders and files sorted as the program scans them: by name, ignoring case.
QStringList sortedEntries(const QString& dir, QDir::Filters filters, const QStringList& patterns = {}) {
    QStringList names = QDir(dir).entryList(patterns, filters | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

QByteArray compact(const QJsonObject& movie) {
    return WriteMovieJson(movie);
}

QString slotsText(const Template& t) {
    QStringList parts;
    if (t.kind == kEitherWord)
        parts.append(QStringLiteral("1 横或竖"));
    else {
        if (t.landscape > 0)
            parts.append(QStringLiteral("%1 横").arg(t.landscape));
        if (t.portrait > 0)
            parts.append(QStringLiteral("%1 竖").arg(t.portrait));
    }
    QString text = parts.join(QStringLiteral(" + "));
    QStringList fixed;
    for (const TemplatePicture& p : t.pictures)
        if (!p.photo)
            fixed.append(p.name);
    if (!fixed.isEmpty())
        text += QStringLiteral(" (自带图片 %1)").arg(fixed.join(QStringLiteral(", ")));
    return text;
}

// "A 1.8s, B/D 5.0s": each caption's mark (or the marks one is drawn from) and its time.
QString captionsText(const Template& t) {
    QStringList parts;
    auto add = [&](const Caption& c, const QString& marks) {
        parts.append(QStringLiteral("%1 %2s").arg(marks).arg(double(c.frame) / kFps, 0, 'f', 1));
    };
    for (const Caption& c : t.captions)
        add(c, c.marks);
    if (t.randomCaption)
        add(*t.randomCaption,
            QStringList(t.randomCaption->marks.split(QString(), Qt::SkipEmptyParts)).join(u'/'));
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QStringLiteral(", "));
}

} // namespace

DataFolderWriter::DataFolderWriter(QString sources, QString programDir)
    : sources_(std::move(sources)), programDir_(std::move(programDir)) {}

void DataFolderWriter::loadTemplates() {
    templates_.clear();
    QSet<QString> names;
    for (const QString& folder : sortedEntries(sources_, QDir::Dirs)) {
        const QString dir = sources_ + u'/' + folder;
        if (!QFileInfo::exists(dir + QStringLiteral("/category.json")))
            continue; // special movies, combinations
        const CategoryDefaults category = LoadCategory(dir + QStringLiteral("/category.json"));
        for (const QString& file : sortedEntries(dir, QDir::Files, {QStringLiteral("*.json")})) {
            if (file == u"category.json")
                continue;
            Template t = LoadTemplate(dir + u'/' + file, category);
            if (names.contains(t.name))
                throw Error(QStringLiteral("%1/%2: 模板名称 %3 已被别的模板使用").arg(dir, file, t.name));
            names.insert(t.name);
            templates_.push_back({folder, QFileInfo(file).completeBaseName(), std::move(t)});
        }
    }
    if (templates_.empty())
        throw Error(QStringLiteral("%1 中没有模板设计").arg(sources_));
}

void DataFolderWriter::build() {
    loadTemplates();
    std::vector<Output> outputs = templatePackages();
    for (std::vector<Output> more : {specialPackages(), combinationPackages()})
        outputs.insert(outputs.end(), more.begin(), more.end());
    // Everything is made before anything is replaced, so a design mistake leaves the last good folder.
    const DataPaths paths(programDir_, programDir_);
    for (const QString& owned :
         {paths.templateParameterTree(), paths.templateAnimationTree(), paths.combinationFolder()})
        DeleteTree(owned);
    for (const Output& o : outputs)
        WriteWholeFile(o.path, o.bytes);
}

std::vector<DataFolderWriter::Output> DataFolderWriter::templatePackages() const {
    const DataPaths paths(programDir_, programDir_);
    std::vector<Output> out;
    // Both trees hold the same relative names, so they enumerate in the same order.
    for (const Entry& e : templates_) {
        const QString relative = e.folder + u'/' + e.stem + QStringLiteral(".rar");
        out.push_back({paths.templateParameterTree() + u'/' + relative,
                       EncodePackage(ParameterFile(e.design), PackageLayers::TemplateParameters)});
        out.push_back({paths.templateAnimationTree() + u'/' + relative,
                       EncodePackage(compact(e.design.movie), PackageLayers::TemplateAnimation)});
    }
    return out;
}

QByteArray DataFolderWriter::specialMovie(const QString& file, int layersExpected,
                                          std::optional<int> frames) const {
    const QString path = sources_ + QStringLiteral("/special/") + file;
    Fields f = Fields::load(path);
    const QString name = f.text("name");
    const int count = static_cast<int>(std::lround(SecondsToFrames(f.number("seconds"))));
    if (frames && count != *frames)
        f.fail("seconds",
               QStringLiteral("这部影片应正好 %1 帧 (%2 秒)").arg(*frames).arg(*frames / double(kFps)));
    MovieBuilder movie(name, count);
    for (Fields& p : f.objects("pictures")) {
        const QString id = p.text("name");
        const QSizeF size = p.size("size");
        Fields draw = p.object("draw");
        movie.addPicture({id, size, QString(), QString(),
                          EncodePng(DrawPicture(draw, QSize(qRound(size.width()), qRound(size.height()))))});
        p.finish();
    }
    movie.addDesign(f);
    f.finish();
    return EncodePackage(compact(movie.document()), layersExpected);
}

std::vector<DataFolderWriter::Output> DataFolderWriter::specialPackages() const {
    const DataPaths paths(programDir_, programDir_);
    const QImage background = DrawDefaultBackground(QSize(kCanvasWidth, kCanvasHeight));
    return {
        {paths.startupPackage(),
         specialMovie(QStringLiteral("startup.json"), PackageLayers::Startup.layers, {})},
        {paths.endingPackage(),
         specialMovie(QStringLiteral("ending.json"), PackageLayers::Ending.layers, 150)},
        {paths.backgroundPreviewPackage(), specialMovie(QStringLiteral("background_preview.json"),
                                                        PackageLayers::BackgroundPreview.layers, {})},
        {paths.defaultBackgroundPackage(),
         EncodePackage(EncodeJpeg(background, 92), PackageLayers::DefaultBackground)},
    };
}

std::vector<DataFolderWriter::Output> DataFolderWriter::combinationPackages() const {
    const DataPaths paths(programDir_, programDir_);
    std::vector<Output> out;
    const QString dir = sources_ + QStringLiteral("/combinations");
    const QStringList files = sortedEntries(dir, QDir::Files, {QStringLiteral("*.json")});
    if (files.isEmpty())
        throw Error(QStringLiteral("%1 中没有组合模板").arg(dir));
    int number = 0;
    for (const QString& file : files) {
        Fields f = Fields::load(dir + u'/' + file);
        f.text("name"); // for readers of the source only; the program numbers combinations
        QStringList lines = {QStringLiteral("[zuhemoban_canshu]")};
        const std::vector<Fields> entries = f.objects("entries");
        if (entries.empty())
            f.fail("entries", QStringLiteral("组合至少需要一个模板"));
        lines.append(QStringLiteral("shuliang=%1").arg(entries.size()));
        int k = 0;
        for (Fields e : entries) {
            const QString name = e.text("template");
            const auto it = std::find_if(templates_.begin(), templates_.end(),
                                         [&](const Entry& t) { return t.design.name == name; });
            if (it == templates_.end())
                e.fail("template", QStringLiteral("没有名为 %1 的模板").arg(name));
            int landscape = it->design.landscape;
            int portrait = it->design.portrait;
            if (it->design.kind == kEitherWord) {
                const QString as = e.text("as");
                if (as != kLandscapeWord && as != kPortraitWord)
                    e.fail("as", QStringLiteral("横竖通用模板要写明作为 heng 还是 shu 使用"));
                landscape = as == kLandscapeWord ? 1 : 0;
                portrait = 1 - landscape;
            }
            e.finish();
            lines.append(
                QStringLiteral("canshu_%1=%2~%3~%4~").arg(++k).arg(name).arg(landscape).arg(portrait));
        }
        f.finish();
        out.push_back({paths.combinationPackage(++number),
                       EncodePackage(EncodeGbk(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")),
                                     PackageLayers::Combination)});
    }
    return out;
}

QString DataFolderWriter::describe() const {
    QStringList rows = {QStringLiteral("| 序号 | 名称 | 分类 | 照片 | 时长 | 字幕 | 动作 |"),
                        QStringLiteral("|---|---|---|---|---|---|---|")};
    int number = 0;
    for (const Entry& e : templates_) {
        const Template& t = e.design;
        rows.append(
            QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |")
                .arg(number++)
                .arg(t.name, t.category, slotsText(t), FramesToClock(t.frames), captionsText(t), t.motion));
    }
    return rows.join(u'\n') + u'\n';
}

} // namespace lumiset::templates
