#include "tools/templates/Template.h"

#include "core/Error.h"
#include "core/IniFile.h"
#include "core/TemplateCatalogue.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "tools/templates/Drawings.h"
#include "tools/templates/Movie.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace lumiset::templates {

namespace {

const QSize kWholeFrame(0, 0);
const QSize kPortraitSlot(720, 1080);
const QSize kEitherSlot(1920, 1080);

struct PictureSource {
    TemplatePicture picture;
    std::optional<QSize> size;
    QByteArray png;
};

QString typeText(const QString& kind) {
    if (kind == kLandscapeWord)
        return QStringLiteral("横照模板");
    if (kind == kPortraitWord)
        return QStringLiteral("竖照模板");
    if (kind == kEitherWord)
        return QStringLiteral("横竖照模板");
    return QStringLiteral("高级模板");
}

// Sizes must agree with how the preparation writes each picture: a landscape single template always
// gets the whole frame, a portrait one a picture the slot's width by 1080, a template for either
// orientation the whole frame with the photo fitted in, an advanced one exactly the slot size.
QSize slotSize(const QString& kind, const PictureSource& s, Fields& f) {
    const TemplatePicture& p = s.picture;
    if (!p.photo) {
        if (!s.size)
            f.fail("pictures", QStringLiteral("绘制的图片 %1 需要 size").arg(p.name));
        return *s.size;
    }
    if (kind == kLandscapeWord) {
        if (s.size && *s.size != kWholeFrame)
            f.fail("pictures",
                   QStringLiteral("单张横照模板的照片 %1 总是整个画面, size 应省略或为 [0, 0]").arg(p.name));
        return kWholeFrame;
    }
    if (kind == kEitherWord) {
        if (s.size && *s.size != kEitherSlot)
            f.fail("pictures",
                   QStringLiteral("横竖通用模板的照片 %1 总是 1920 x 1080, size 应省略").arg(p.name));
        return kEitherSlot;
    }
    if (kind == kPortraitWord) {
        const QSize size = s.size.value_or(kPortraitSlot);
        if (size.height() != 1080 || size.width() <= 0 || size.width() > 1920)
            f.fail("pictures", QStringLiteral("竖照模板的照片 %1 高度应为 1080, 宽度 1 到 1920").arg(p.name));
        return size;
    }
    if (!s.size || s.size->width() <= 0 || s.size->height() <= 0 || s.size->width() > 1920 ||
        s.size->height() > 1080)
        f.fail("pictures",
               QStringLiteral("高级模板的照片 %1 需要 size [宽, 高] (不超过 1920 x 1080)").arg(p.name));
    return *s.size;
}

Caption readCaption(const QJsonValue& v, int frames, Fields& f, const QString& key, bool random) {
    const QJsonArray a = v.toArray();
    if (a.size() != 2 || !a[0].isDouble() || !a[1].isString())
        f.fail(key, QStringLiteral("字幕位置应写成 [秒, \"标注字母\"]"));
    Caption c{static_cast<int>(std::lround(SecondsToFrames(a[0].toDouble()))), a[1].toString()};
    if (c.frame < 0 || c.frame >= frames)
        f.fail(key, QStringLiteral("字幕位置 %1 秒不在模板时长内").arg(a[0].toDouble()));
    if (c.marks.isEmpty() || (!random && c.marks.size() != 1))
        f.fail(key,
               QStringLiteral("字幕标注 \"%1\" 应是%2")
                   .arg(c.marks, random ? QStringLiteral("一个或几个字母") : QStringLiteral("一个字母")));
    for (const QChar m : c.marks)
        if (!kCaptionMarks.contains(m))
            f.fail(key,
                   QStringLiteral("字幕标注 \"%1\" 只能用字母 %2 (见 MARKS.md)").arg(c.marks, kCaptionMarks));
    return c;
}

} // namespace

CategoryDefaults LoadCategory(const QString& path) {
    Fields f = Fields::load(path);
    CategoryDefaults c;
    c.name = f.text("name");
    c.page = f.value("page").toObject();
    c.handover = f.value("handover").toObject();
    f.finish();
    return c;
}

Template LoadTemplate(const QString& path, const CategoryDefaults& category) {
    static const QRegularExpression pictureName(QStringLiteral("^[A-Za-z0-9_]+$"));
    Fields f = Fields::load(path);
    Template t;
    t.name = f.text("name");
    if (t.name.isEmpty() || t.name.contains(u'~') || t.name.contains(u'|') || t.name.contains(u'='))
        f.fail("name", QStringLiteral("模板名称不能为空, 也不能含有 ~ | ="));
    t.category = category.name;
    t.motion = f.text("motion");
    const double seconds = f.number("seconds");
    if (seconds < 5.0 || seconds > 12.0)
        f.fail("seconds", QStringLiteral("模板时长应在 5 到 12 秒之间"));
    t.frames = static_cast<int>(std::lround(SecondsToFrames(seconds)));

    std::vector<PictureSource> sources;
    for (Fields& p : f.objects("pictures")) {
        PictureSource s;
        s.picture.name = p.text("name");
        if (!pictureName.match(s.picture.name).hasMatch())
            p.fail("name", QStringLiteral("图片名只能用英文字母、数字和 _"));
        s.picture.photo = IsPhotoPlaceholder(s.picture.name);
        s.picture.fits = p.text("fits");
        if (s.picture.fits != kLandscapeWord && s.picture.fits != kPortraitWord &&
            s.picture.fits != kEitherWord)
            p.fail("fits", QStringLiteral("应是 heng, shu 或 shuheng"));
        if (p.has("size")) {
            const QSizeF size = p.size("size");
            s.size = QSize(qRound(size.width()), qRound(size.height()));
        }
        if (p.has("draw")) {
            if (s.picture.photo)
                p.fail("name", QStringLiteral("%1: 绘制的图片名不能恰好含一个 _ (那是照片位置的名字)")
                                   .arg(s.picture.name));
            if (!s.size)
                p.fail("size", QStringLiteral("绘制的图片需要 size"));
            Fields draw = p.object("draw");
            s.png = EncodePng(DrawPicture(draw, *s.size));
        } else if (!s.picture.photo) {
            p.fail("name",
                   QStringLiteral("%1: 照片位置的名字应恰好含一个 _; 其它图片需要 draw").arg(s.picture.name));
        }
        p.finish();
        for (const PictureSource& other : sources)
            if (other.picture.name == s.picture.name)
                p.fail("name", QStringLiteral("图片名 %1 重复").arg(s.picture.name));
        sources.push_back(s);
    }
    if (sources.empty() || !sources.front().picture.photo)
        f.fail("pictures", QStringLiteral("第一张图片应是照片位置 (准备模板时后面的图片取前一张的来源)"));

    QStringList orientations;
    for (const PictureSource& s : sources)
        orientations.append(s.picture.fits);
    t.kind = ClassifySlots(orientations);
    if (t.kind.isEmpty())
        f.fail("pictures", QStringLiteral("照片方向 %1 不属于任何模板类别, 模板永远不会被使用")
                               .arg(JoinBarList(orientations)));
    if (t.kind == Words::AdvancedClass && orientations.contains(kEitherWord))
        f.fail("pictures", QStringLiteral("高级模板不能有 shuheng 位置 (匹配时不会给它照片)"));

    MovieBuilder movie(t.name, t.frames);
    for (PictureSource& s : sources) {
        s.picture.slot = slotSize(t.kind, s, f);
        const QSizeF canvas = s.picture.slot.width() == 0 ? QSizeF(1920, 1080) : QSizeF(s.picture.slot);
        if (s.picture.photo) {
            movie.addPicture(
                {s.picture.name, canvas, s.picture.name + QStringLiteral(".jpg"), QString(), {}});
        } else {
            movie.addPicture({s.picture.name, canvas, QString(), QString(), s.png});
        }
        t.pictures.push_back(s.picture);
    }

    QStringList names;
    for (const TemplatePicture& p : t.pictures)
        names.append(p.name);
    const SlotCounts counts = CountPhotoSlots(orientations, names, false);
    t.landscape = counts.landscape;
    t.portrait = counts.portrait;

    const QString categoryFile = QFileInfo(path).dir().filePath(QStringLiteral("category.json"));
    if (f.has("page"))
        movie.addPage(f.object("page"));
    else
        movie.addPage(Fields(category.page, categoryFile + QStringLiteral(": page")));
    for (Fields& layer : f.objects("layers"))
        movie.addLayer(layer);
    if (f.has("handover"))
        movie.addHandover(f.object("handover"));
    else
        movie.addHandover(Fields(category.handover, categoryFile + QStringLiteral(": handover")));

    if (!movie.shownPictures().contains(kBackgroundPicture))
        f.fail("page", QStringLiteral("模板应在 page.background 显示背景图片"));
    for (const TemplatePicture& p : t.pictures)
        if (!movie.shownPictures().contains(p.name))
            f.fail("layers", QStringLiteral("图片 %1 没有图层显示").arg(p.name));

    const QJsonArray captions = f.has("captions") ? f.array("captions") : QJsonArray();
    for (const QJsonValue& c : captions)
        t.captions.push_back(readCaption(c, t.frames, f, "captions", false));
    if (f.has("randomCaption")) {
        if (t.captions.empty())
            f.fail("randomCaption", QStringLiteral("随机字幕需要先有固定字幕"));
        t.randomCaption = readCaption(f.value("randomCaption"), t.frames, f, "randomCaption", true);
    }
    f.finish();
    t.movie = movie.document();
    return t;
}

QByteArray ParameterFile(const Template& t) {
    QStringList widths, heights, names;
    int photos = 0;
    QStringList orientations;
    for (const TemplatePicture& p : t.pictures) {
        widths.append(QString::number(p.slot.width()));
        heights.append(QString::number(p.slot.height()));
        orientations.append(p.fits);
        names.append(p.name);
        photos += p.photo ? 1 : 0;
    }
    QStringList positions, mandatory, random;
    for (const Caption& c : t.captions) {
        positions.append(QString::number(c.frame));
        mandatory.append(c.marks);
    }
    if (t.randomCaption) {
        positions.append(QString::number(t.randomCaption->frame));
        for (const QChar m : t.randomCaption->marks)
            random.append(QString(m));
    }
    auto list = [](const QStringList& items) { return items.isEmpty() ? QString() : JoinBarList(items); };
    const QStringList lines = {
        QStringLiteral("[1]"),
        QStringLiteral("mblx=") + typeText(t.kind),
        QStringLiteral("mbfl=") + t.category,
        QStringLiteral("xpsl=") + QString::number(photos),
        QStringLiteral("xpkd=") + JoinBarList(widths),
        QStringLiteral("xpgd=") + JoinBarList(heights),
        QStringLiteral("szhz=") + JoinBarList(orientations),
        QStringLiteral("xpjpgmc=") + JoinBarList(names),
        QStringLiteral("mbdx=") + QString::number(t.frames),
        QStringLiteral("wxcs01=") + list(positions),
        QStringLiteral("wxcs02=") + list(mandatory),
        QStringLiteral("wxcs03="),
        QStringLiteral("wxcs04=") + list(random),
        QStringLiteral("[0]"),
        QStringLiteral("sl=") + QString::number(t.pictures.size()),
        QStringLiteral("[l_x_k_r_v_t_w_j_s_y]"),
        QStringLiteral("l_x_k_r_v_t_w_j_s_y_m_c=") + t.name,
        QStringLiteral("l_x_k_r_v_t_w_j_s_y=") + kGenuineMarker,
    };
    return EncodeGbk(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace lumiset::templates
