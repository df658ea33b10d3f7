// The album being made: every table and the facts an album file keeps. Tables keep their original names
// and column numbers (core/Columns.h, core/TableSchema.h). What only the running program needs (selection,
// window mode, playback and production flags) is the session (core/Session.h), not the album.
//
// An album is a value: copies are cheap (implicit sharing) and independent. The album document
// (core/AlbumDocument.h) owns the program's album; operations and jobs work on copies.
#pragma once

#include "core/Columns.h"
#include "core/Table.h"
#include "core/TableSchema.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace lumiset {

// How the album was built, by the original field names and with their words; the album file keeps them
// among the settings.
struct AlbumFacts {
    QString Edit_mobanfashi;        // "shiyong_suijimoban" / "shiyong_zuhemoban"
    QString Edit_zuhemoban_xuanhao; // chosen combination template, 0-based
    // Completion words of the automatic effect runs ("zidongtianjia_wenzitexiao_wangcheng", …).
    QString Edit_zidongtianjia_wenzitexiao_wancheng;
    QString Edit_zidongtianjia_huamiantexiao_wancheng;

    bool operator==(const AlbumFacts&) const = default;
};

class Album {
public:
    Album();

    TableOf<PhotoCol::Column> photos;                   // ListView_daoru_zhaopian
    TableOf<PhotoCol::Column> pendingLandscape;         // ListView_heng_zhao (derived)
    TableOf<PhotoCol::Column> pendingPortrait;          // ListView_shu_zhao (derived)
    TableOf<UsedTemplateCol::Column> usedTemplates;     // ListView_moban_shiyong
    TableOf<SlotCol::Column> templateSlots;             // ListView_moban_shiyong_canshu
    TableOf<LandscapePhotoCol::Column> landscapePhotos; // ListView_qubu_hengzhao (derived)
    TableOf<BackgroundCol::Column> backgrounds;         // ListView_moban_beijing
    TableOf<MusicCol::Column> music;                    // ListView_daoru_yinyue
    TableOf<LyricCol::Column> lyrics;                   // ListView_daoru_LRC
    TableOf<LyricSettingsCol::Column> lyricSettings;    // ListView_geci_shezhi_canshu
    TableOf<PictureEffectCol::Column> pictureEffects;   // ListView_Image of TForm32
    TableOf<TextEffectCol::Column> textEffects;         // ListView_Image of TForm33

    // ListBox_yijing_wancheng_shiyongmoban_hanghao: used-template rows ready to play (derived).
    QStringList finishedTemplates;

    AlbumFacts facts;
    // Choices of the settings, quality and synchronisation windows by control name.
    QMap<QString, QString> settings;

    Table& table(TableId id);
    const Table& table(TableId id) const;
    // The tables in album-file order (the order of TableId).
    QList<Table*> tables();
    QList<const Table*> tables() const;

    // Empties every table; settings and facts stay.
    void clearTables();
    // "清空数据": every table empty and the facts of earlier runs forgotten; only the settings stay.
    void clearData();

    // Recomputes every derived table and list from the tables they follow from.
    void refreshDerived() {
        rebuildPhotoLists();
        rebuildFinishedTemplates();
    }
    // The lists that follow from the photo table: the pending lists (photos without a slot, landscape and
    // square ones apart from portrait ones) and the landscape photo list, each in photo order.
    void rebuildPendingLists();
    void rebuildLandscapePhotoList();
    void rebuildPhotoLists() {
        rebuildPendingLists();
        rebuildLandscapePhotoList();
    }
    // Rebuilds ListBox_yijing_wancheng_shiyongmoban_hanghao from the used-template table.
    void rebuildFinishedTemplates();

    bool operator==(const Album& other) const = default;
};

} // namespace lumiset
