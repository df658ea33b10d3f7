#include "core/TableSchema.h"

#include "core/Columns.h"

namespace lumiset {

namespace {

ColumnSchema column(const char* heading, ColumnKind kind) {
    ColumnSchema c;
    c.heading = QString::fromUtf8(heading);
    c.kind = kind;
    return c;
}
ColumnSchema text(const char* heading) {
    return column(heading, ColumnKind::Text);
}
ColumnSchema ordinal(const char* heading) {
    return column(heading, ColumnKind::Ordinal);
}
ColumnSchema templateNumber(const char* heading) {
    return column(heading, ColumnKind::TemplateNumber);
}
TableSchema table(TableId id, const char* name, QList<ColumnSchema> columns,
                  std::optional<TableId> rowsFollow = std::nullopt, bool derived = false) {
    return {id, QString::fromLatin1(name), std::move(columns), rowsFollow, derived};
}
ColumnSchema reference(const char* heading, TableId target, bool emptyAllowed, OnTargetRemoved onRemoved) {
    return {QString::fromUtf8(heading), ColumnKind::RowReference, target, emptyAllowed, onRemoved};
}

QList<ColumnSchema> texts(std::initializer_list<const char*> headings) {
    QList<ColumnSchema> out;
    for (const char* h : headings)
        out.append(text(h));
    return out;
}

QList<ColumnSchema> photoColumns(const char* statusHeading) {
    QList<ColumnSchema> c{ordinal("序号")};
    c += texts({"照片", "格式", "宽度", "高度", "位置", statusHeading});
    return c;
}

QList<TableSchema> makeSchemas() {
    using enum TableId;
    QList<TableSchema> s;
    s.append(table(Photos, "ListView_daoru_zhaopian", photoColumns("套版")));
    const QList<ColumnSchema> pending = texts({"序号", "照片", "格式", "宽度", "高度", "位置", "完成"});
    s.append(table(PendingLandscape, "ListView_heng_zhao", pending, std::nullopt, true));
    s.append(table(PendingPortrait, "ListView_shu_zhao", pending, std::nullopt, true));

    QList<ColumnSchema> used{templateNumber("序号")};
    used += texts({"模板", "类型", "横照片", "竖照片", "时长", "分类", "照片匹配"});
    used.append(ordinal("编号"));
    s.append(table(UsedTemplates, "ListView_moban_shiyong", used));

    QList<ColumnSchema> slotColumns{templateNumber("序号")};
    slotColumns += texts({"模板名称", "模板类型", "横照片", "竖照片", "模板时长", "模板分类"});
    slotColumns.append(reference("行号", UsedTemplates, false, OnTargetRemoved::RemoveRow));
    slotColumns += texts({"横照或竖照", "picture", "对应控件", "匹配状态"});
    slotColumns.append(reference("照片位置行号", Photos, true, OnTargetRemoved::ClearCell));
    slotColumns +=
        texts({"照片位置", "mobanchicun_width", "mobanchicun_height", "jiancai_left_x", "jiancai_top_y",
               "jiancai_width", "jiancai_height", "剪裁标记", "shizhong_jiancai_left_x",
               "shizhong_jiancai_top_x", "shizhong_jiancai_width", "shizhong_jiancai_height",
               "jiancha_zhaopian_shiyong_shuliang_biaoshi", "文字特效是否自动添加_标注"});
    s.append(table(TemplateSlots, "ListView_moban_shiyong_canshu", slotColumns));

    QList<ColumnSchema> landscape = texts({"序号", "照片名称", "类型", "宽度", "高度", "位置"});
    landscape.append(reference("序号", Photos, false, OnTargetRemoved::RemoveRow));
    s.append(table(LandscapePhotos, "ListView_qubu_hengzhao", landscape, std::nullopt, true));

    QList<ColumnSchema> backgrounds{ordinal("编号")};
    backgrounds +=
        texts({"名称", "类型", "分类", "图片名称", "图片类型", "宽度", "高度", "图片位置", "透明度"});
    s.append(table(Backgrounds, "ListView_moban_beijing", backgrounds, UsedTemplates));

    QList<ColumnSchema> music{ordinal("序号")};
    music += texts({"音乐名称", "格式", "音乐时长", "位置"});
    s.append(table(Music, "ListView_daoru_yinyue", music));

    QList<ColumnSchema> lyrics{ordinal("序号")};
    lyrics += texts({"歌词名称", "类型", "位置"});
    s.append(table(Lyrics, "ListView_daoru_LRC", lyrics));

    QList<ColumnSchema> lyricSettings{ordinal("序号")};
    lyricSettings +=
        texts({"歌词内容", "类型", "位置", "默认_or_自定义", "默认显示_Top位置", "自定义_Left", "自定义_Top",
               "字体", "字形", "大小", "自定义_居中", "===", "颜色", "颜色数字", "简体繁体"});
    s.append(table(LyricSettings, "ListView_geci_shezhi_canshu", lyricSettings, Lyrics));

    s.append(table(PictureEffects, "TForm32.ListView_Image",
                   texts({"帧数", "开始时间", "结束时间", "启动", "图片装饰特效", "顺序号", "添加方式",
                          "是否创建控件"})));

    QList<ColumnSchema> textEffects = texts({"帧数", "开始时间", "结束时间", "启动", "文字特效", "顺序号",
                                             "X_位置", "Y_位置", "分类号", "模板标注", "标注字母"});
    // Effects placed by hand name no template; automatic ones go with their template.
    textEffects.append(reference("行号", UsedTemplates, true, OnTargetRemoved::RemoveRow));
    textEffects += texts({"帧位置", "添加方式", "是否创建控件"});
    s.append(table(TextEffects, "TForm33.ListView_Image", textEffects));
    return s;
}

// The column constants and the descriptions must agree; a mismatch is a programming error caught at once.
void checkAgainstConstants(const QList<TableSchema>& schemas) {
    const int counts[] = {PhotoCol::Count,         PhotoCol::Count,         PhotoCol::Count,
                          UsedTemplateCol::Count,  SlotCol::Count,          LandscapePhotoCol::Count,
                          BackgroundCol::Count,    MusicCol::Count,         LyricCol::Count,
                          LyricSettingsCol::Count, PictureEffectCol::Count, TextEffectCol::Count};
    for (int i = 0; i < kAlbumTableCount; ++i)
        if (schemas[i].columns.size() != counts[i] || static_cast<int>(schemas[i].id) != i)
            qFatal("table description of %s disagrees with its column constants",
                   qPrintable(schemas[i].name));
}

} // namespace

const QList<TableSchema>& AlbumTableSchemas() {
    static const QList<TableSchema> schemas = [] {
        QList<TableSchema> s = makeSchemas();
        checkAgainstConstants(s);
        return s;
    }();
    return schemas;
}

const TableSchema& SchemaOf(TableId id) {
    return AlbumTableSchemas()[static_cast<int>(id)];
}

std::optional<TableId> TableNamed(const QString& name) {
    for (const TableSchema& s : AlbumTableSchemas())
        if (s.name == name)
            return s.id;
    return std::nullopt;
}

} // namespace lumiset
